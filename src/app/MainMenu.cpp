#include "app/MainMenu.h"

using namespace Qt::StringLiterals;

namespace rur::app {

namespace {

QString plain(const QString &caption)
{
    QString s = caption;
    return s.remove(u'&');
}

}  // namespace

const QList<MenuItemDef> &mainMenuItems()
{
    static const QList<MenuItemDef> items = [] {
        QList<MenuItemDef> list;
        const auto add = [&list](const QString &menu, const QString &caption, Command command, bool needsDataSet,
                                 const QString &hint = {}, const QKeySequence &shortcut = {}) {
            list.append({menu, caption, shortcut, hint.isEmpty() ? plain(caption) : hint, command, needsDataSet});
        };
        const QString soubor = u"&Soubor"_s, spolecne = u"Sp&olečné údaje"_s, priznani = u"Přiznání k &RUR"_s,
                      hotova = u"&Hotová přiznání k RUR"_s, komfort = u"&Komfort"_s, dalsi = u"Další &možnosti"_s,
                      napoveda = u"Nápo&věda"_s;
        add(soubor, u"&Výběr RUR"_s, Command::VyberRur, false, {}, QKeySequence(Qt::CTRL | Qt::Key_A));
        add(soubor, u"&Tisk"_s, Command::Tisk, true, u"Zobrazí dialog pro výběr tisků"_s, QKeySequence(Qt::Key_F6));
        add(soubor, u"&Nastavení tisku ..."_s, Command::NastaveniTisku, true, u"Zobrazí dialog pro nastavení tiskárny"_s);
        add(soubor, u"&Konec"_s, Command::Konec, false, u"Ukončí aplikaci"_s);
        add(spolecne, u"Údaje o &poplatníkovi"_s, Command::UdajeOPoplatnikovi, true);
        add(spolecne, u"Sazby &RUR"_s, Command::SazbyRur, true);
        add(priznani, u"1. &Zdanitelná plnění"_s, Command::Priznani1, true, u"1. Zdanitelná plnění (F1)"_s);
        add(priznani, u"2. Z&danitelná plnění, Doplňující údaje"_s, Command::Priznani2, true,
            u"2. Zdanitelná plnění, Doplňující údaje (F1)"_s);
        add(priznani, u"3. &Nárok na odpočet daně"_s, Command::Priznani3, true, u"3. Nárok na odpočet daně (F1)"_s);
        add(priznani, u"4. Výpoč&et daně, Vypořádání"_s, Command::Priznani4, true, u"4. Výpočet daně, Vypořádání (F1)"_s);
        add(priznani, u"&Kontrolní hlášení"_s, Command::KontrolniHlaseni, true,
            u"Kontrolní hlášení - rejstřík dokladů (F1)"_s);
        add(priznani, u"&Tisk RUR"_s, Command::TiskRur, true, u"Tisk přiznání k RUR"_s);
        add(priznani, u"Ul&ožení RUR"_s, Command::UlozeniRur, true);
        add(priznani, u"&Vymazání období"_s, Command::VymazaniObdobi, true);
        add(priznani, u"Uložení &posledního RUR a vypořádání"_s, Command::UlozeniPoslednihoRur, true);
        add(hotova, u"1. &Zdanitelná plnění"_s, Command::Hotova1, true);
        add(hotova, u"2. Z&danitelná plnění, Doplňující údaje"_s, Command::Hotova2, true);
        add(hotova, u"3. &Nárok na odpočet daně"_s, Command::Hotova3, true);
        add(hotova, u"&Vymazání celého roku"_s, Command::VymazaniRoku, true);
        add(komfort, u"&Adresář"_s, Command::Adresar, true, u"Adresář (F1)"_s);
        add(komfort, u"&Odesílatel"_s, Command::Odesilatel, true, u"Odesílatel (F1)"_s);
        add(komfort, u"&Dokumenty - dopisy"_s, Command::Dokumenty, true, u"Dokumenty - dopisy (F1)"_s);
        add(komfort, u"&Tisk"_s, Command::TiskKomfort, true, u"Tisk (F1)"_s);
        add(dalsi, u"&Zálohování dat"_s, Command::Zalohovani, true, u"Zazálohuje data (F1)"_s);
        add(dalsi, u"&Obnovení dat"_s, Command::Obnoveni, true, u"Obnoví data (F1)"_s);
        add(dalsi, u"Přenos údajů z Daňového přiznání &SZ"_s, Command::PrenosSz, true,
            u"Přenos údajů z Daňového přiznání pro fyzické osoby"_s);
        add(dalsi, u"Přenos údajů z Daňového přiznání &PO"_s, Command::PrenosPo, true,
            u"Přenos údajů z Daňového přiznání pro právnické osoby"_s);
        add(dalsi, u"Přenos údajů z Peněžního &deníku"_s, Command::PrenosDenik, true,
            u"Přenos údajů z našeho programu Rizavuv uvaro, stiskněte a vyberte firmu, pak zvolte Přenést"_s);
        add(dalsi, u"&Nový rok"_s, Command::NovyRok, true);
        add(napoveda, u"&Návod k programu"_s, Command::Navod, false);
        return list;
    }();
    return items;
}

const QList<MenuItemDef> &commandsOutsideMenu()
{
    static const QList<MenuItemDef> items{
        {QString(), u"Nové RUR"_s, {}, u"Vytvoření nového RUR"_s, Command::NoveRur, false},
        {QString(), u"Kontrola přiznání"_s, {}, u"Zkontroluje přiznání a jeho soubor pro elektronické podání"_s,
         Command::Kontrola, true},
    };
    return items;
}

int hintPanelWidth(int statusBarWidth)
{
    return statusBarWidth <= 450 ? 324 : statusBarWidth - 126;
}

}  // namespace rur::app
