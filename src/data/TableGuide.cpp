// The descriptions behind rur-cli tables, rur-cli fields and docs/tables.md. Types, lengths and
// what is calculated come from the table descriptions themselves; labels from the fields'
// labels the data module gives them (the taxpayer window, the return windows, the rates, the
// print centre) and, for the list windows whose labels live with the window, from the table
// below; the rest is written here.
#include "data/TableGuide.h"

#include "data/DataM1.h"
#include "data/Schemas.h"
#include "engine/Table.h"

#include <QHash>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace rur::data {

namespace {

struct TableText {
    const char16_t *name;
    const char16_t *holds;
    bool filledByProcedure = false;  // every stored field is written by a procedure, none typed
};

constexpr char16_t kRetired[] = u"Tabulka starého tiskopisu: program ji nese a otevírá, nic ji nečte ani nepíše.";

constexpr TableText kTables[] = {
    {u"Dcis", u"Sazby daně: snížená a základní (jeden řádek)."},
    {u"Dtab1", kRetired},
    {u"Dtab2", kRetired},
    {u"Dtab3", kRetired},
    {u"Prp", u"Údaje o poplatníkovi a období přiznání: identifikace, adresa, finanční úřad, podepisující a kontaktní "
             u"osoba, roční koeficient (jeden řádek)."},
    {u"Dmt", u"Nastavení tisku přiznání: okraje, počet kopií, které strany tisknout (jeden řádek)."},
    {u"Dtab1s", kRetired},
    {u"Dtab2s", kRetired},
    {u"Dtabs", u"Roční součty pro vypořádání koeficientu; píše je jen uložení posledního RUR (jeden řádek).", true},
    {u"Dtabss", kRetired},
    {u"Mban", u"Příkazy do banky pro soubor ABO (řádek na příkaz), okno Elektronický přenos příkazů - ABO."},
    {u"Mban1", u"Skupiny příkazů posledního souboru ABO; píše je zápis souboru.", true},
    {u"Mbzp", u"Účty plátce pro platby (řádek na banku), okno Údaje pro platby z účtu."},
    {u"Mtt", u"Příkaz k úhradě daně, odesílatel, okraje dopisů a obálek a zvolený dokument (jeden řádek)."},
    {u"Maz", u"Adresář pro dopisy a obálky (řádek na adresu)."},
    {u"Mdp", u"Dokumenty - dopisy a přílohy (řádek na dokument, klíčem je název)."},
    {u"Dzal1", u"Co bylo na RUR zaplaceno: datum a částka za 12 období (jeden řádek), okno Na RUR zaplaceno."},
    {u"Dtabn1", u"Rozpracované přiznání, část 1: daň na výstupu a další údaje (ř. 1 až 34, 50, 51, 61; jeden řádek)."},
    {u"Dtabn2", u"Rozpracované přiznání, část 2: odpočty daně (ř. 40 až 47 a 52; jeden řádek)."},
    {u"Dtabn3", u"Rozpracované přiznání, část 3: vypořádání a výpočet daně (ř. 53, 60 a 62 až 66; jeden řádek)."},
    {u"Dtabn1s", u"Hotová přiznání, část 1: řádek na uložené období (klíč Cislo); mění je jen uložení RUR.", true},
    {u"Dtabn2s", u"Hotová přiznání, část 2: řádek na uložené období (klíč Cislo); mění je jen uložení RUR.", true},
    {u"Dpsn1", u"Seznam pořizovatelů zboží starší verze: program jej nese, žádné okno ani výstup jej nepoužívá."},
    {u"Dpsn2", u"Adresář pořizovatelů starší verze: program jej nese, žádné okno ani výstup jej nepoužívá."},
    {u"Prppz", u"Textová příloha přiznání (jeden řádek; text je v poli Poz)."},
    {u"Dkh", u"Rejstřík dokladů kontrolního hlášení za období (řádek na doklad a oddíl A1 až B3), okno Kontrolní "
             u"hlášení; z něj se píše soubor DPHKH1 a přenášejí součty do přiznání. Vymaže jej vymazání období a roku."},
};

constexpr TableText kCatalogueTables[] = {
    {u"Data", u"Seznam RUR v datovém adresáři: číslo, pořadí, název a adresář (řádek na RUR)."},
    {u"Uziv", u"Hesla RUR (řádek na RUR s heslem) v datovém adresáři."},
};

// What the table descriptions can't say: the labels of the list windows and notes on the
// fields that are easily taken for one another.
struct FieldText {
    const char16_t *table;
    const char16_t *field;
    const char16_t *label;  // nullptr: the field's own label (or none)
    const char16_t *note;
    bool filledByProcedure = false;
};

constexpr FieldText kFields[] = {
    // Taxpayer: the company name, the e-mail, the person type and the copies kept for older data.
    {u"Prp", u"Oj1a", nullptr,
     u"1. řádek názvu právnické osoby: tiskne se na straně 1; je-li Ojp3 prázdné, bere jej název souborů, titulek "
     u"okna a odesílatel. Do souboru pro elektronické podání nejde."},
    {u"Prp", u"Oj1b", nullptr, u"2. řádek názvu právnické osoby: jen strana 1."},
    {u"Prp", u"Ojp3", nullptr,
     u"Název právnické osoby na jednom řádku: jde do souboru pro elektronické podání (zkrobchjm); je-li vyplněn, má "
     u"přednost před Oj1a v názvu souborů, titulku okna a u odesílatele."},
    {u"Prp", u"Oj1", nullptr, u"Kopie prvních 23 znaků Oj1a, uložená při zavření okna Údaje o poplatníkovi; žádný výstup ji nečte.",
     true},
    {u"Prp", u"Emlx", nullptr, u"E-mail: tiskne se na straně 1 a jde do souboru pro elektronické podání (email)."},
    {u"Prp", u"Eml", nullptr, u"Kopie prvních 20 znaků Emlx, uložená při zavření okna Údaje o poplatníkovi; žádný výstup ji nečte.",
     true},
    {u"Prp", u"Tds", nullptr,
     u"Typ daňového subjektu: ano = fyzická osoba, ne = právnická osoba; do souboru jako typ_ds (F/P). Fyzická osoba "
     u"potřebuje Pra a Jmb, právnická Ojp3."},
    {u"Prp", u"Tzs", nullptr,
     u"Typ podepisující osoby: ano = fyzická, ne = právnická; do souboru jako zast_typ, jen je-li vyplněn Kzs."},
    {u"Prp", u"Pra", nullptr, u"Příjmení fyzické osoby: strana 1 a soubor (prijmeni)."},
    {u"Prp", u"Jmb", nullptr, u"Jméno fyzické osoby: strana 1 a soubor (jmeno)."},
    {u"Prp", u"Pr", nullptr, u"Kopie Pra, uložená při zavření okna Údaje o poplatníkovi; žádný výstup ji nečte.", true},
    {u"Prp", u"Jma", nullptr, u"Kopie Jmb, uložená při zavření okna Údaje o poplatníkovi.", true},
    {u"Prp", u"Jm", nullptr, u"Kopie Jma, uložená při zavření okna Údaje o poplatníkovi.", true},
    {u"Prp", u"Mi", nullptr, u"Kopie Mia, uložená při zavření okna Údaje o poplatníkovi.", true},
    {u"Prp", u"Sta2", nullptr, u"Stát: strana 1 a soubor (stat, velkými písmeny)."},
    {u"Prp", u"Sta", nullptr, u"Kopie Sta2, uložená při zavření okna Údaje o poplatníkovi.", true},
    {u"Prp", u"St", nullptr, u"Kopie Sta, uložená při zavření okna Údaje o poplatníkovi.", true},
    {u"Prp", u"Dic", nullptr, u"DIČ i s kódem země (CZ25596641): strana 1."},
    {u"Prp", u"Dick", nullptr, u"DIČ bez kódu země: jde do souboru pro elektronické podání (dic)."},
    {u"Prp", u"Tel", nullptr,
     u"Telefon poplatníka: strana 1 (12 políček) a soubor (c_telef, který by vzal až 14 znaků)."},
    {u"Prp", u"Tes", nullptr, u"Telefon kontaktní osoby: strana 3 okna, soubor (sest_telef, prvních 14 znaků)."},
    {u"Prp", u"Cpo", nullptr, u"Číslo domu starší verze; strana 1 a soubor berou Cpocp a Cpoco."},
    {u"Prp", u"Cpocp", nullptr, u"Číslo popisné: soubor (c_pop), strana 1 spolu s Cpoco."},
    {u"Prp", u"Cpoco", nullptr, u"Číslo orientační: soubor (c_orient)."},
    {u"Prp", u"Zjm", nullptr, u"Podepisující osoba, jak se tiskne na straně 1; soubor bere Zjmjm, Zjmpr a Zjmpo."},
    {u"Prp", u"Zde", nullptr, u"Údaj podepisující osoby, jak se tiskne na straně 1; soubor bere Zdedn, Zdece a Zdeic."},
    {u"Prp", u"Zjv", nullptr,
     u"Osoba oprávněná k podpisu za právnickou osobu, jak se tiskne na straně 1; soubor bere Zjvjm, Zjvpr a Zjvpo."},
    {u"Prp", u"Hp1", nullptr, u"Hlavní ekonomická činnost slovy: strana 1."},
    {u"Prp", u"Hp1c", nullptr, u"Kód CZ-NACE: soubor (c_okec)."},
    {u"Prp", u"Fuc", nullptr, u"Číslo finančního úřadu: soubor (c_ufo)."},
    {u"Prp", u"Fusp", nullptr, u"Název finančního úřadu: strana 1."},
    {u"Prp", u"Fuz", nullptr, u"Číslo územního pracoviště: soubor (c_pracufo)."},
    {u"Prp", u"Fu", nullptr, u"Název územního pracoviště: strana 1."},
    {u"Prp", u"Cislo", nullptr, u"Číslo období: měsíc 1 až 12, nebo čtvrtletí 1 až 4; soubor (mesic nebo ctvrt)."},
    {u"Prp", u"M", nullptr, u"Měsíc slovy (leden až prosinec), u čtvrtletního plátce prázdný."},
    {u"Prp", u"Q", nullptr, u"Čtvrtletí (I. až IV.), u měsíčního plátce prázdné."},
    {u"Prp", u"K1", nullptr,
     u"Roční koeficient jako podíl (0,85); uložení posledního RUR jej přepíše vypořádacím. Řádek 52 bere Dtabn2.C550."},
    {u"Prp", u"K1p", nullptr, u"Koeficienty se tisknou a do souboru zapisují v procentech (85), ne jako podíl."},
    {u"Prp", u"Poznod", nullptr, u"Druh textové přílohy: O obecná, D důvody dodatečného přiznání; soubor (kod_sekce)."},
    {u"Prppz", u"Poz", u"Text přílohy", u"Řádky textové přílohy: soubor (VetaR, nejvýše 999 řádků po 72 znacích)."},
    // The return: typed lines and their overrides.
    {u"Dtabn2", u"C550", nullptr, u"Koeficient ř. 52 jako podíl; tisk a soubor jej berou v procentech, je-li Prp.K1p."},
    {u"Dtabn3", u"C560", nullptr, u"Vypořádací koeficient ř. 53 jako podíl; uložení posledního RUR jej vyplní."},
    {u"Dtabn3", u"C753", nullptr,
     u"Vlastní daň ř. 64: tiskne se, jde do souboru (dano_da) a tisková centrála ji vloží do příkazu k úhradě "
     u"(Mtt.Cad1)."},
    {u"Dtabn3", u"C730", nullptr, u"Daň na výstupu celkem, ř. 62 (nebo S730): soubor (dan_zocelk)."},
    {u"Dtabn3", u"C750", nullptr, u"Odpočet daně celkem, ř. 63 (nebo S750): soubor (odp_zocelk)."},
    {u"Dtabn3", u"C754", nullptr, u"Nadměrný odpočet ř. 65 (nebo S754): soubor (dano_no)."},
    {u"Dtabn3", u"C780", nullptr, u"Rozdíl proti poslední známé dani ř. 66, jen v dodatečném přiznání: soubor (dano)."},
    {u"Dtabn3", u"C560k", nullptr,
     u"Vypořádací koeficient, jak se tiskne (v procentech, je-li Prp.K1p): soubor (koef_p20_vypor)."},
    {u"Dtabn2", u"C550k", nullptr, u"Koeficient ř. 52, jak se tiskne (v procentech, je-li Prp.K1p): soubor (koef_p20_nov)."},
    {u"Dtabn2", u"C550a", nullptr, u"Odpočet ř. 52 v krácené výši (nebo S550a): soubor (odp_uprav_kf)."},
    {u"Dtabn3", u"S753", nullptr, u"Pomocná kolonka: není-li prázdná, nahradí vypočtený ř. 64 (C753)."},
    {u"Dtabn3", u"S754", nullptr, u"Pomocná kolonka: není-li prázdná, nahradí vypočtený ř. 65 (C754)."},
    {u"Dtabn3", u"S730", nullptr, u"Pomocná kolonka: není-li prázdná, nahradí vypočtený ř. 62 (C730)."},
    {u"Dtabn3", u"S750", nullptr, u"Pomocná kolonka: není-li prázdná, nahradí vypočtený ř. 63 (C750)."},
    {u"Dtabn2", u"S550a", nullptr, u"Pomocná kolonka: není-li prázdná, nahradí vypočtený odpočet ř. 52 (C550a)."},
    {u"Dtabn1", u"S210", nullptr, u"Částka k rozpočítání na základ a daň ř. 1 (s daní, nebo jen daň, podle Prp.Dan)."},
    {u"Dtabn1", u"S215", nullptr, u"Částka k rozpočítání na základ a daň ř. 2 (s daní, nebo jen daň, podle Prp.Dan)."},
    // Payment order and sender.
    {u"Mtt", u"Cad1", nullptr, u"Daň v příkazu k úhradě; tisková centrála sem při každém otevření vloží Dtabn3.C753.",
     true},
    {u"Mtt", u"Fa", u"firma", u"Odesílatel na obálkách (okno Odesílatel)."},
    {u"Mtt", u"Ul", u"ulice", u"Odesílatel na obálkách."},
    {u"Mtt", u"Psc", u"PSČ", u"Odesílatel na obálkách."},
    {u"Mtt", u"Mi", u"místo", u"Odesílatel na obálkách."},
    // Accounts for payments.
    {u"Mbzp", u"Pc", u"Číslo banky", u"Klíč: číslo pro rychlý výběr."},
    {u"Mbzp", u"Bai", u"Banka", u"Název banky; tiskne se na příkazech k úhradě."},
    {u"Mbzp", u"Cui", u"Číslo účtu", nullptr},
    {u"Mbzp", u"Kbi", u"Číslo účtu / kód banky", u"Kód banky."},
    {u"Mbzp", u"Vi", u"Vystaveno v", u"Místo vystavení; tiskne se na příkazech k úhradě."},
    // Bank orders.
    {u"Mban", u"Cu1", u"Vaše číslo účtu", nullptr},
    {u"Mban", u"Kodi", u"Kód", u"Kód Vaší banky."},
    {u"Mban", u"Cu2", u"Číslo protiúčtu", u"Číslo účtu příjemce."},
    {u"Mban", u"Kod", u"Kód", u"Kód banky příjemce."},
    {u"Mban", u"Vs", u"VS", u"Variabilní symbol."},
    {u"Mban", u"Ks", u"KS", u"Konstantní symbol."},
    {u"Mban", u"Ss", u"SS", u"Specifický symbol."},
    {u"Mban", u"Ca", u"Částka", u"Částka v Kč."},
    {u"Mban", u"Ds", u"Datum", u"Datum splatnosti."},
    {u"Mban", u"Tp", u"Typ", u"Typ příkazu: 1 platba."},
    {u"Mban", u"Upp", u"Údaje pro potřebu příkazce", nullptr},
    {u"Mban", u"Rd", u"Řd.", u"Řádek příkazu v posledním souboru ABO; píše jej zápis souboru.", true},
    {u"Mban", u"M1", nullptr, u"Skupina příkazu v posledním souboru ABO; píše ji zápis souboru.", true},
    // Address book.
    {u"Maz", u"Ico", u"IČO", nullptr},
    {u"Maz", u"Dic", u"DIČ", nullptr},
    {u"Maz", u"Fa", u"firma", u"Název firmy nebo úřadu; podle něj se adresy řadí a obálky tisknou."},
    {u"Maz", u"Jm", u"jméno", nullptr},
    {u"Maz", u"Ul", u"ulice", nullptr},
    {u"Maz", u"Psc", u"PSČ", u"Bez mezery; při tisku se za třetí číslicí vloží mezera (Psc1)."},
    {u"Maz", u"Mi", u"místo", nullptr},
    {u"Maz", u"Tel", u"telefon", nullptr},
    {u"Maz", u"Fax", u"fax", nullptr},
    {u"Maz", u"O", u"Tisk ?", u"Ano: adresa se vytiskne na obálky."},
    {u"Maz", u"P", u"další údaje", nullptr},
    // Documents.
    {u"Mdp", u"Nazev", u"Název dokumentu", u"Klíč; Mtt.Nazev vybírá dokument pro tisk."},
    {u"Mdp", u"Rd1", u"Dopis - záhlaví", nullptr},
    {u"Mdp", u"Rd2", u"Dopis / Příloha - další údaje", u"U dopisu věc, u přílohy číslo přílohy."},
    {u"Mdp", u"Typ", u"Typ dokumentu", u"Ano: dopis, ne: příloha."},
    {u"Mdp", u"Text", u"Text dokumentu", nullptr},
    // Catalogue.
    {u"Data", u"Nazev", u"Název RUR", nullptr},
    {u"Data", u"Adresar", nullptr, u"Adresář RUR v datovém adresáři (D a číslo)."},
    {u"Uziv", u"Heslo", nullptr, u"Heslo RUR téhož čísla (Cislo)."},
};

QString typeText(const engine::FieldDef &f)
{
    switch (f.type) {
    case engine::FieldType::Float: return u"číslo"_s;
    case engine::FieldType::Char: return u"text"_s;
    case engine::FieldType::Boolean: return u"ano/ne"_s;
    case engine::FieldType::Date: return u"datum"_s;
    case engine::FieldType::Smallint:
    case engine::FieldType::Integer: return u"celé číslo"_s;
    case engine::FieldType::AutoInc: return u"pořadové číslo"_s;
    case engine::FieldType::Memo: return u"dlouhý text"_s;
    }
    return {};
}

// The ledger's slots are labelled by their period.
QString ledgerLabel(const QString &field)
{
    static const QRegularExpression slot(u"^(D|Za)([0-9]+)s$"_s);
    const QRegularExpressionMatch m = slot.match(field);
    if (!m.hasMatch())
        return {};
    return (m.captured(1) == u"D"_s ? u"Datum %1. období"_s : u"Částka %1. období"_s).arg(m.captured(2));
}

const TableText *tableText(const QString &name)
{
    for (const TableText &t : kTables)
        if (name.compare(QString::fromUtf16(t.name), Qt::CaseInsensitive) == 0)
            return &t;
    for (const TableText &t : kCatalogueTables)
        if (name.compare(QString::fromUtf16(t.name), Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

// The description of a table as the data module holds it (with the labels it gives fields).
engine::TableDef describedTable(const QString &name)
{
    if (name.compare(u"Data"_s, Qt::CaseInsensitive) == 0)
        return catalogueDef();
    if (name.compare(u"Uziv"_s, Qt::CaseInsensitive) == 0)
        return passwordsDef();
    const TDM1 dm;
    const engine::Table *t = dm.table(name);
    return t ? t->def() : engine::TableDef();
}

QString markdownCell(QString text)
{
    return text.replace(u'|', u"\\|"_s).replace(u'\n', u' ');
}

}  // namespace

void labelListFields(TDM1 &dm)
{
    const auto label = [](engine::Table *t, const QString &field, const QString &text) {
        const engine::FieldDef *f = t ? t->def().field(field) : nullptr;
        if (f && f->label.isEmpty() && !text.isEmpty())
            t->setFieldLabel(field, text);
    };
    for (const FieldText &f : kFields)
        if (f.label)
            label(dm.table(QString::fromUtf16(f.table)), QString::fromUtf16(f.field), QString::fromUtf16(f.label));
    for (const engine::FieldDef &f : dm.Dzal1->def().fields)
        label(dm.Dzal1.get(), f.name, ledgerLabel(f.name));
}

QList<TableEntry> tableEntries()
{
    QList<TableEntry> out;
    for (const TableText &t : kTables)
        out.append({QString::fromUtf16(t.name), QString::fromUtf16(t.holds), false});
    for (const TableText &t : kCatalogueTables)
        out.append({QString::fromUtf16(t.name), QString::fromUtf16(t.holds), true});
    return out;
}

QList<FieldEntry> fieldEntries(const QString &table)
{
    const TableText *text = tableText(table);
    if (!text)
        return {};
    const engine::TableDef def = describedTable(QString::fromUtf16(text->name));
    QHash<QString, const FieldText *> notes;
    for (const FieldText &f : kFields)
        if (def.name == QString::fromUtf16(f.table))
            notes.insert(QString::fromUtf16(f.field), &f);
    QList<FieldEntry> out;
    for (const engine::FieldDef &f : def.fields) {
        FieldEntry e{f.name, typeText(f), f.type == engine::FieldType::Char ? f.size : 0, f.label, {}, {}};
        const FieldText *note = notes.value(f.name);
        if (e.label.isEmpty() && note && note->label)
            e.label = QString::fromUtf16(note->label);  // the catalogue's, which no data module labels
        if (note && note->note)
            e.note = QString::fromUtf16(note->note);
        if (f.calculated)
            e.computed = u"počítá se"_s;
        else if (text->filledByProcedure || (note && note->filledByProcedure))
            e.computed = u"plní postup"_s;
        out.append(e);
    }
    return out;
}

QString tablesReferencePage()
{
    QString page = u"# Tabulky a pole\n\n"
                   u"Stránku píše program ze svých popisů tabulek (`rur-cli tables --markdown`); tytéž popisy vypisují "
                   u"`rur-cli tables` a `rur-cli fields TABULKA`. Test ověřuje, že v ní žádná tabulka ani pole nechybí.\n\n"
                   u"Sloupce: pole, typ, délka textu, popisek v okně, zda pole počítá program (*počítá se*: nikdy se "
                   u"neukládá; *plní postup*: ukládá je postup programu, ne psaní) a k čemu pole slouží tam, kde se "
                   u"podobá jinému. Tabulky RUR se čtou a píší příkazy `show`, `set` a `append`; Data a Uziv leží v "
                   u"datovém adresáři.\n"_s;
    for (const TableEntry &t : tableEntries()) {
        page += u"\n## "_s + t.name + u"\n\n"_s + t.holds + u"\n\n"_s;
        page += u"| Pole | Typ | Délka | Popisek v okně | Počítá | Poznámka |\n|---|---|---|---|---|---|\n"_s;
        for (const FieldEntry &f : fieldEntries(t.name))
            page += u"| `"_s + f.name + u"` | "_s + f.type + u" | "_s + (f.length > 0 ? QString::number(f.length) : QString())
                    + u" | "_s + markdownCell(f.label) + u" | "_s + f.computed + u" | "_s + markdownCell(f.note) + u" |\n"_s;
    }
    return page;
}

}  // namespace rur::data
