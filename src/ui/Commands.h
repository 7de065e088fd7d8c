#pragma once

namespace rur::ui {

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

}  // namespace rur::ui
