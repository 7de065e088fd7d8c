// The lines of the four return windows as the official form words them.
#include "vat/ReturnLines.h"

using namespace Qt::StringLiterals;

namespace rur::vat {

namespace {

using K = CellKind;

// A line with its rate, base, tax and control value in columns first.. first + 3.
QList<CellDef> taxed(const QString &rate, const QString &base, int first = 0)
{
    return {{rate, first, K::Rate},
            {base, first + 1, K::Amount},
            {base + u'a', first + 2, K::Amount},
            {u'K' + base.mid(1), first + 3, K::Control}};
}

QList<CellDef> single(const QString &field, CellKind kind = K::Amount)
{
    return {{field, 0, kind}};
}

QList<SectionDef> window1()
{
    return {
        {u"I. Zdanitelná plnění"_s,
         {QString(), u"Sazba"_s, u"Základ daně"_s, u"Daň na výstupu"_s, u"Kontrolní výpočet"_s},
         {{QString(), u"Dodání zboží nebo poskytnutí služby s místem plnění v tuzemsku (např. § 13, § 14, § 8)"_s, {}},
          {u"1"_s, u"se základní sazbou daně"_s, QList<CellDef>{{u"S210"_s, 0, K::Split}} + taxed(u"Hd"_s, u"C210"_s, 1)},
          {u"2"_s, u"se sníženou sazbou daně"_s, QList<CellDef>{{u"S215"_s, 0, K::Split}} + taxed(u"Dd"_s, u"C215"_s, 1)}}},
        {u"II. Ostatní plnění a plnění s místem plnění mimo tuzemsko s nárokem na odpočet daně"_s,
         {u"Hodnota"_s},
         {{u"20"_s, u"Dodání zboží do jiného členského státu (§ 64)"_s, single(u"C410"_s)},
          {u"21"_s, u"Poskytnutí vybraných služeb s místem plnění v jiném členském státě (§ 102 odst. 1 písm. d) a odst. 2)"_s,
           single(u"C21"_s)},
          {u"22"_s, u"Vývoz zboží (§ 66)"_s, single(u"C430"_s)},
          {u"23"_s, u"Dodání nového dopravního prostředku osobě neregistrované k dani v jiném členském státě (§ 19 odst. 4)"_s,
           single(u"C425"_s)},
          {u"24"_s, u"Zasílání zboží do jiného členského státu (§ 8)"_s, single(u"C24"_s)},
          {u"25"_s, u"Režim přenesení daňové povinnosti (§ 92a) - dodavatel zboží nebo poskytovatel služeb"_s,
           single(u"C25"_s)},
          {u"26"_s, u"Ostatní uskutečněná plnění s nárokem na odpočet daně"_s, single(u"C440"_s)}}},
        {u"V. Krácení nároku na odpočet daně"_s,
         {u"Částka za plnění"_s},
         {{u"50"_s, u"Osvobozená plnění a plnění s místem plnění mimo tuzemsko bez nároku na odpočet daně"_s,
           single(u"C530"_s)},
          {u"51"_s, u"Hodnota plnění nezapočítávaných do výpočtu koeficientu (§ 76 odst. 4)"_s, {}},
          {QString(), u"s nárokem na odpočet"_s, single(u"C520"_s)},
          {QString(), u"bez nároku na odpočet"_s, single(u"C540"_s)}}},
    };
}

QList<SectionDef> window2()
{
    return {
        {u"I. Zdanitelná plnění"_s,
         {u"Sazba"_s, u"Základ daně"_s, u"Daň na výstupu"_s, u"Kontrolní výpočet"_s},
         {{u"3"_s, u"Pořízení zboží z jiného členského státu"_s, taxed(u"Hd"_s, u"C220"_s)},
          {u"4"_s, QString(), taxed(u"Dd"_s, u"C225"_s)},
          {u"5"_s, u"Přijetí služby s místem plnění podle § 9 odst. 1 od osoby registrované k dani v jiném členském státě"_s,
           taxed(u"Hd"_s, u"C230"_s)},
          {u"6"_s, QString(), taxed(u"Dd"_s, u"C235"_s)},
          {u"7"_s, u"Dovoz zboží (§ 23)"_s, taxed(u"Hd"_s, u"C260"_s)},
          {u"8"_s, QString(), taxed(u"Dd"_s, u"C265"_s)},
          {u"9"_s, u"Pořízení nového dopravního prostředku (§ 19 odst. 4)"_s,
           {{u"C255"_s, 1, K::Amount}, {u"C255a"_s, 2, K::Amount}}},
          {u"10"_s, u"Režim přenesení daňové povinnosti (§ 92a) - odběratel zboží nebo příjemce služeb"_s,
           taxed(u"Hd"_s, u"C110"_s)},
          {u"11"_s, QString(), taxed(u"Dd"_s, u"C111"_s)},
          {u"12"_s, u"Ostatní zdanitelná plnění, u kterých je povinnost přiznat daň při jejich přijetí (§ 108)"_s,
           taxed(u"Hd"_s, u"C270"_s)},
          {u"13"_s, QString(), taxed(u"Dd"_s, u"C275"_s)}}},
        {u"III. Doplňující údaje"_s,
         {u"Hodnota"_s},
         {{QString(), u"Zjednodušený postup při dodání zboží formou třístranného obchodu (§ 17) prostřední osobou"_s, {}},
          {u"30"_s, u"pořízení zboží"_s, single(u"C810"_s)},
          {u"31"_s, u"dodání zboží"_s, single(u"C815"_s)},
          {u"32"_s, u"Dovoz zboží osvobozený podle § 71g"_s, single(u"C32"_s)},
          {QString(), u"Oprava výše daně u pohledávek za dlužníky v insolvenčním řízení (§ 44)"_s, {}},
          {u"33"_s, u"věřitel"_s, single(u"C33"_s)},
          {u"34"_s, u"dlužník"_s, single(u"C34"_s)}}},
        {u"VI. Výpočet daně"_s, {u"Daň"_s}, {{u"61"_s, u"Vrácení daně (§ 84)"_s, single(u"C600"_s)}}},
    };
}

QList<SectionDef> window3()
{
    const auto deduction = [](const QString &rate, const QString &base) {
        return QList<CellDef>{{rate, 0, K::Rate},
                              {base, 1, K::Amount},
                              {base + u'a', 2, K::Amount},
                              {base + u'b', 3, K::Amount},
                              {u'K' + base.mid(1), 4, K::Control}};
    };
    return {
        {u"IV. Nárok na odpočet daně"_s,
         {u"Sazba"_s, u"Zákl. daně"_s, u"V plné výši"_s, u"Krácený odpočet"_s, u"Kontrolní výpočet"_s},
         {{u"40"_s, u"Z přijatých zdanitelných plnění od plátců"_s, deduction(u"Hd"_s, u"C310"_s)},
          {u"41"_s, QString(), deduction(u"Dd"_s, u"C315"_s)},
          {u"42"_s, u"Při dovozu zboží, kdy je správcem daně celní úřad"_s,
           {{u"C340"_s, 1, K::Amount}, {u"C340a"_s, 2, K::Amount}, {u"C340b"_s, 3, K::Amount}}},
          {u"43"_s, u"Z plnění uvedených na řádcích 3 až 13"_s, deduction(u"Hd"_s, u"C320"_s)},
          {u"44"_s, QString(), deduction(u"Dd"_s, u"C325"_s)},
          {u"45"_s, u"Korekce odpočtů daně (§ 75 odst. 4, § 77, § 79 až § 79c)"_s,
           {{u"C370a"_s, 2, K::Amount}, {u"C370b"_s, 3, K::Amount}}},
          {u"46"_s, u"Odpočet daně celkem (40 + 41 + 42 + 43 + 44 + 45)"_s,
           {{u"C390"_s, 2, K::Computed}, {u"C380"_s, 3, K::Computed}}},
          {u"47"_s, u"Hodnota pořízeného majetku vymezeného v § 4 odst. 4 písm. d) a e)"_s,
           {{u"C48"_s, 1, K::Amount}, {u"C48a"_s, 2, K::Amount}, {u"C48b"_s, 3, K::Amount}}}}},
        {u"V. Krácení nároku na odpočet daně"_s,
         {u"Koeficient"_s, u"Odpočet"_s, u"Pomocná kolonka"_s},
         {{u"52"_s, u"Odpočet v krácené výši (§ 76)"_s,
           {{u"C550"_s, 0, K::Coefficient}, {u"C550a"_s, 1, K::Computed}, {u"S550a"_s, 2, K::Override}}}}},
    };
}

QList<SectionDef> window4()
{
    const auto total = [](const QString &computed, const QString &override) {
        return QList<CellDef>{{computed, 0, K::Computed}, {override, 1, K::Override}};
    };
    return {
        {u"V. Krácení nároku na odpočet daně"_s,
         {u"Vypořádací koeficient"_s, u"Změna odpočtu"_s},
         {{u"53"_s, u"Vypořádání odpočtu (§ 76 odst. 7 až 10)"_s,
           {{u"C560"_s, 0, K::Coefficient}, {u"C560a"_s, 1, K::Amount}}}}},
        {u"VI. Výpočet daně"_s,
         {u"Částka"_s, u"Pomocná kolonka"_s},
         {{u"60"_s, u"Úprava odpočtu daně (§ 78 až § 78d)"_s, single(u"C570"_s)},
          {u"62"_s, u"CELKOVÝ SOUČET - Daň na výstupu"_s, total(u"C730"_s, u"S730"_s)},
          {u"63"_s, u"CELKOVÝ SOUČET - Odpočet daně"_s, total(u"C750"_s, u"S750"_s)},
          {u"64"_s, u"VLASTNÍ DAŇ  (62 - 63)"_s, total(u"C753"_s, u"S753"_s)},
          {u"65"_s, u"NADMĚRNÝ ODPOČET (63 - 62)"_s, total(u"C754"_s, u"S754"_s)},
          {QString(), u"DODATEČNÉ DAŇOVÉ PŘIZNÁNÍ"_s, {}},
          {u"66"_s, u"Rozdíl oproti poslední známé dani  (62 - 63)"_s, single(u"C780"_s, K::Computed)}}},
    };
}

}  // namespace

const QList<SectionDef> &returnSections(int n)
{
    static const QList<SectionDef> windows[] = {window1(), window2(), window3(), window4()};
    static const QList<SectionDef> none;
    return n >= 1 && n <= 4 ? windows[n - 1] : none;
}

bool isTyped(CellKind kind)
{
    switch (kind) {
    case CellKind::Amount:
    case CellKind::Split:
    case CellKind::Coefficient:
    case CellKind::Override:
        return true;
    default:
        return false;
    }
}

QStringList typedFields(int n)
{
    QStringList out;
    for (const SectionDef &section : returnSections(n))
        for (const LineDef &line : section.lines)
            for (const CellDef &cell : line.cells)
                if (isTyped(cell.kind))
                    out.append(cell.field);
    return out;
}

}  // namespace rur::vat
