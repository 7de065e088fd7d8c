#include "vat/TaxpayerLayout.h"

using namespace Qt::StringLiterals;

namespace rur::vat {

const QList<TaxpayerPage> &taxpayerPages()
{
    static const QList<TaxpayerPage> pages{
        {u"Stránka 1"_s,
         {{u"Přiznání za zdaňovací období"_s, 0},
          {u"Typ"_s, 0},
          {u"Finanční úřad"_s, 0},
          {u"Daňový subjekt"_s, 1},
          {u"Název právnické osoby:"_s, 1},
          {u"Fyzická osoba:"_s, 1}},
         {{u"M"_s, u"měsíc"_s, TaxpayerInput::Month, 0, 0, 0},
          {u"Cislo"_s, u"Číslo období:"_s, TaxpayerInput::Number, 0, 0, 1},
          {u"Q"_s, u"čtvrtletí"_s, TaxpayerInput::Quarter, 0, 1, 0},
          {u"R"_s, u"Rok:"_s, TaxpayerInput::Text, 0, 1, 1},
          {u"Od1"_s, u"za obd. od"_s, TaxpayerInput::Date, 0, 2, 0},
          {u"Do1"_s, u"do"_s, TaxpayerInput::Date, 0, 2, 1},
          {u"P6"_s, u"Kód zdaň. období násled. roku"_s, TaxpayerInput::Text, 0, 3, 0},
          {u"Ddp"_s, u"Datum"_s, TaxpayerInput::Date, 0, 3, 1},
          {u"Dpdr1"_s, u"řádné"_s, TaxpayerInput::Flag, 1, 0, 0},
          {u"Dpdo1"_s, u"opravné"_s, TaxpayerInput::Flag, 1, 0, kBeside},
          {u"Dpdd1"_s, u"dodatečné"_s, TaxpayerInput::Flag, 1, 0, kBeside},
          {u"D"_s, u"důvody pro podání dodat. přiznání\nzjištěny dne:"_s, TaxpayerInput::Date, 1, 1, 0},
          {u"Fuc"_s, u"Číslo FÚ"_s, TaxpayerInput::Number, 2, 0, 0, u"El. podání - číslo finančního úřadu"_s},
          {u"Fusp"_s, u"Fin. úřadu pro / Specializ. FÚ"_s, TaxpayerInput::Text, 2, 1, 0},
          {u"Fuz"_s, u"Číslo ÚzP"_s, TaxpayerInput::Number, 2, 2, 0, u"El. podání - číslo územního pracoviště FÚ"_s},
          {u"Fu"_s, u"Územní pracoviště v, ve, pro"_s, TaxpayerInput::Text, 2, 3, 0},
          {u"Dic"_s, u"DIČ"_s, TaxpayerInput::Text, 3, 0, 0},
          {u"Rco"_s, u"RČ"_s, TaxpayerInput::Text, 3, 1, 0},
          {u"P1"_s, u"Plátce daně § 6 až § 6f"_s, TaxpayerInput::YesNo, 3, 2, 0},
          {u"P2"_s, u"Identifikovaná osoba § 6g až § 6l"_s, TaxpayerInput::YesNo, 3, 3, 0},
          {u"P3s"_s, u"Skupina § 5a"_s, TaxpayerInput::YesNo, 3, 4, 0},
          {u"P3"_s, u"Neplátce daně § 19 nebo § 108"_s, TaxpayerInput::YesNo, 3, 5, 0},
          {u"K1"_s, u"Koeficient"_s, TaxpayerInput::Number, 3, 6, 0},
          {u"K1p"_s, u"procentní vyjádření"_s, TaxpayerInput::Flag, 3, 6, 1},
          {u"X"_s, u"Neexistují údaje pro stranu 2"_s, TaxpayerInput::YesNo, 3, 7, 0},
          {u"Oj1a"_s, QString(), TaxpayerInput::Text, 4, 0, 0},
          {u"Oj1b"_s, QString(), TaxpayerInput::Text, 4, 1, 0},
          {u"Oj2"_s, u"Dodatek"_s, TaxpayerInput::Text, 4, 2, 0, u"Dodatek (právnická osoba)"_s},
          {u"Ojp3"_s, u"El. podání"_s, TaxpayerInput::Text, 4, 3, 0, u"El. podání - název právnické osoby - 1 řádek"_s},
          {u"Pra"_s, u"Příjmení"_s, TaxpayerInput::Text, 5, 0, 0},
          {u"Jmb"_s, u"Jméno"_s, TaxpayerInput::Text, 5, 1, 0},
          {u"Tia"_s, u"Titul"_s, TaxpayerInput::Text, 5, 2, 0}}},
        {u"Stránka 2"_s,
         {{u"Daňový subjekt"_s, 0},
          {u"Sídlo / bydliště"_s, 0},
          {u"Hlavní ekonomická činnost"_s, 0},
          {u"Podepisující osoba"_s, 1}},
         {{u"Tds"_s, u"Typ daň. subjektu:"_s, TaxpayerInput::Person, 0, 0, 0},
          {u"Ob"_s, u"a) obec"_s, TaxpayerInput::Text, 1, 0, 0},
          {u"Psc"_s, u"b) PSČ"_s, TaxpayerInput::Text, 1, 1, 0},
          {u"Tel"_s, u"c) telefon"_s, TaxpayerInput::Text, 1, 2, 0},
          {u"Ul"_s, u"d) ulice"_s, TaxpayerInput::Text, 1, 3, 0},
          {u"Cpocp"_s, u"e) číslo popisné / orientační"_s, TaxpayerInput::Text, 1, 4, 0},
          {u"Cpoco"_s, u"/"_s, TaxpayerInput::Text, 1, 4, kBeside},
          {u"Emlx"_s, u"f) e-mail"_s, TaxpayerInput::Text, 1, 5, 0},
          {u"Sta2"_s, u"g) stát"_s, TaxpayerInput::Text, 1, 6, 0},
          {u"Hp1c"_s, u"Kód CZ-NACE"_s, TaxpayerInput::Number, 2, 0, 0,
           u"El. podání - kód hlavní ekonomické činnosti podle CZ-NACE, např. 62.01 se zapíše jako 620100"_s},
          {u"Hp1"_s, u"Hlavní ekonomická činnost"_s, TaxpayerInput::Text, 2, 1, 0},
          {u"Kzs"_s, u"Kód podepisující osoby:"_s, TaxpayerInput::Text, 3, 0, 0},
          {u"Tzs"_s, u"Typ:"_s, TaxpayerInput::Person, 3, 1, 0},
          {u"Zjm"_s, u"Jméno(-a) a příjmení /\nNázev právnické osoby"_s, TaxpayerInput::Text, 3, 2, 0},
          {u"Zjmjm"_s, u"jméno"_s, TaxpayerInput::Text, 3, 3, 0, u"El. podání - jméno"_s},
          {u"Zjmpr"_s, u"příjmení"_s, TaxpayerInput::Text, 3, 4, 0, u"El. podání - příjmení"_s},
          {u"Zjmpo"_s, u"název právnické osoby"_s, TaxpayerInput::Text, 3, 5, 0, u"El. podání - název právnické osoby"_s},
          {u"Zde"_s, u"Datum nar. / Ev. č. osvědčení / IČ"_s, TaxpayerInput::Text, 3, 6, 0,
           u"Datum narození / Evidenční číslo osvědčení daň. poradce / IČ právnické osoby"_s},
          {u"Zdedn"_s, u"Datum narození"_s, TaxpayerInput::Date, 3, 7, 0, u"El. podání - datum narození"_s},
          {u"Zdece"_s, u"ev. č. osvědčení"_s, TaxpayerInput::Text, 3, 8, 0,
           u"El. podání - evidenční číslo osvědčení daňového poradce"_s},
          {u"Zdeic"_s, u"IČ"_s, TaxpayerInput::Text, 3, 9, 0, u"El. podání - IČ právnické osoby"_s},
          {u"Zjv"_s, u"Jméno(-a) a příjmení /\nVztah k právnické osobě"_s, TaxpayerInput::Text, 3, 10, 0},
          {u"Zjvjm"_s, u"jméno"_s, TaxpayerInput::Text, 3, 11, 0, u"El. podání - jméno"_s},
          {u"Zjvpr"_s, u"příjmení"_s, TaxpayerInput::Text, 3, 12, 0, u"El. podání - příjmení"_s},
          {u"Zjvpo"_s, u"vztah k právnické osobě"_s, TaxpayerInput::Text, 3, 13, 0, u"El. podání - vztah k právnické osobě"_s}}},
        {u"Stránka 3"_s,
         {{u"Kontaktní osoba:"_s, 0}, {u"Přílohy"_s, 1}},
         {{u"Sesjm"_s, u"Jméno"_s, TaxpayerInput::Text, 0, 0, 0},
          {u"Sespr"_s, u"Příjmení"_s, TaxpayerInput::Text, 0, 1, 0},
          {u"Tes"_s, u"Telefon"_s, TaxpayerInput::Text, 0, 2, 0},
          {u"Pcp"_s, u"Počet příloh / listů"_s, TaxpayerInput::Number, 1, 0, 0},
          {u"Pcl"_s, u"/"_s, TaxpayerInput::Number, 1, 0, kBeside},
          {u"Poznod"_s, u"Textová příloha:"_s, TaxpayerInput::Kind, 1, 1, 0,
           u"O - obecná textová příloha, D - důvody pro podání dodatečného přiznání"_s}}},
    };
    return pages;
}


QString taxpayerFieldLabel(const TaxpayerItem &item)
{
    QString label = item.label.simplified();
    if (label.isEmpty() || label == u"/"_s) {
        label = item.hint;
        label.remove(u"El. podání - "_s);
    }
    while (label.endsWith(u':'))
        label.chop(1);
    return label.trimmed();
}

}  // namespace rur::vat
