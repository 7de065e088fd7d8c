#pragma once

#include "ui/Commands.h"

#include <QKeySequence>
#include <QList>
#include <QString>

namespace rur::app {

using ui::Command;

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
