#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

namespace rur::app {

// Commands of the main window's menu.
enum class Command {
    VyberRur, Tisk, NastaveniTisku, Konec,
    UdajeOPoplatnikovi, SazbyRur,
    Priznani1, Priznani2, Priznani3, Priznani4, KontrolniHlaseni, TiskRur, UlozeniRur, VymazaniObdobi,
    UlozeniPoslednihoRur,
    Hotova1, Hotova2, Hotova3, VymazaniRoku,
    Adresar, Odesilatel, Dokumenty, TiskKomfort,
    Zalohovani, Obnoveni, PrenosSz, PrenosPo, PrenosDenik, NovyRok,
    Navod,
    // Reached from the working area of the main window, not from the menu.
    NoveRur, Kontrola,
};

// One item of the menu tree: its menu, caption, shortcut and hint.
struct MenuItemDef {
    QString menu;
    QString caption;
    QKeySequence shortcut;
    QString hint;
    Command command;
    bool needsDataSet;  // enabled only while a data set is open
};

// The whole menu tree in its order. Hints equal the caption without "&" unless the program
// gives its own; items with a help topic end their hint in " (F1)".
const QList<MenuItemDef> &mainMenuItems();
// Commands the main window offers outside its menu (an empty menu name): "Nové RUR" and the
// check of the return, in the working area.
const QList<MenuItemDef> &commandsOutsideMenu();

// Width of the first status panel: 324 pixels on a status bar at most 450 wide, else the
// bar's width less 126.
int hintPanelWidth(int statusBarWidth);

}  // namespace rur::app
