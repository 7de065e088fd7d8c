// Which field of the taxpayer data or of the return each attribute of the filing file comes
// from, with the place the user fixes it: the window label of a taxpayer field, the form line
// of an amount. Computed lines point at their "Pomocná kolonka", the coefficients at the
// typed coefficient.
#include "check/FilingFields.h"

#include <QHash>

using namespace Qt::StringLiterals;

namespace rur::check {

namespace {

struct Row {
    const char *element;
    const char *attribute;
    const char16_t *table;
    const char16_t *field;
    const char16_t *where;  // nullptr for an amount: "ř. " and the line
    int line = 0;
};

// Taxpayer data.
constexpr Row kTaxpayer[] = {
    {"VetaD", "c_okec", u"Prp", u"Hp1c", u"Kód CZ-NACE"},
    {"VetaD", "ctvrt", u"Prp", u"Cislo", u"Číslo období"},
    {"VetaD", "d_poddp", u"Prp", u"Ddp", u"Datum"},
    {"VetaD", "d_zjist", u"Prp", u"D", u"důvody pro podání dodat. přiznání zjištěny dne"},
    {"VetaD", "dapdph_forma", u"Prp", u"Dpdr1", u"Typ"},
    {"VetaD", "kod_zo", u"Prp", u"P6", u"Kód zdaň. období násled. roku"},
    {"VetaD", "mesic", u"Prp", u"Cislo", u"Číslo období"},
    {"VetaD", "rok", u"Prp", u"R", u"Rok"},
    {"VetaD", "trans", u"Prp", u"X", u"Neexistují údaje pro stranu 2"},
    {"VetaD", "typ_platce", u"Prp", u"P1", u"Plátce daně § 6 až § 6f"},
    {"VetaD", "zdobd_do", u"Prp", u"Do1", u"za obd. do"},
    {"VetaD", "zdobd_od", u"Prp", u"Od1", u"za obd. od"},
    {"VetaP", "c_orient", u"Prp", u"Cpoco", u"e) číslo popisné / orientační"},
    {"VetaP", "c_pop", u"Prp", u"Cpocp", u"e) číslo popisné / orientační"},
    {"VetaP", "c_pracufo", u"Prp", u"Fuz", u"Číslo ÚzP"},
    {"VetaP", "c_telef", u"Prp", u"Tel", u"c) telefon"},
    {"VetaP", "c_ufo", u"Prp", u"Fuc", u"Číslo FÚ"},
    {"VetaP", "dic", u"Prp", u"Dic", u"DIČ"},
    {"VetaP", "email", u"Prp", u"Emlx", u"f) e-mail"},
    {"VetaP", "jmeno", u"Prp", u"Jmb", u"Fyzická osoba: Jméno"},
    {"VetaP", "naz_obce", u"Prp", u"Ob", u"a) obec"},
    {"VetaP", "opr_jmeno", u"Prp", u"Zjvjm", u"Vztah k právnické osobě: jméno"},
    {"VetaP", "opr_postaveni", u"Prp", u"Zjvpo", u"vztah k právnické osobě"},
    {"VetaP", "opr_prijmeni", u"Prp", u"Zjvpr", u"Vztah k právnické osobě: příjmení"},
    {"VetaP", "prijmeni", u"Prp", u"Pra", u"Fyzická osoba: Příjmení"},
    {"VetaP", "psc", u"Prp", u"Psc", u"b) PSČ"},
    {"VetaP", "sest_jmeno", u"Prp", u"Sesjm", u"Kontaktní osoba: Jméno"},
    {"VetaP", "sest_prijmeni", u"Prp", u"Sespr", u"Kontaktní osoba: Příjmení"},
    {"VetaP", "sest_telef", u"Prp", u"Tes", u"Kontaktní osoba: Telefon"},
    {"VetaP", "stat", u"Prp", u"Sta2", u"g) stát"},
    {"VetaP", "titul", u"Prp", u"Tia", u"Fyzická osoba: Titul"},
    {"VetaP", "typ_ds", u"Prp", u"Tds", u"Typ daň. subjektu"},
    {"VetaP", "ulice", u"Prp", u"Ul", u"d) ulice"},
    {"VetaP", "zast_dat_nar", u"Prp", u"Zdedn", u"Datum narození"},
    {"VetaP", "zast_ev_cislo", u"Prp", u"Zdece", u"ev. č. osvědčení"},
    {"VetaP", "zast_ic", u"Prp", u"Zdeic", u"IČ"},
    {"VetaP", "zast_jmeno", u"Prp", u"Zjmjm", u"Podepisující osoba: jméno"},
    {"VetaP", "zast_kod", u"Prp", u"Kzs", u"Kód podepisující osoby"},
    {"VetaP", "zast_nazev", u"Prp", u"Zjmpo", u"název právnické osoby"},
    {"VetaP", "zast_prijmeni", u"Prp", u"Zjmpr", u"Podepisující osoba: příjmení"},
    {"VetaP", "zast_typ", u"Prp", u"Tzs", u"Podepisující osoba: Typ"},
    {"VetaP", "zkrobchjm", u"Prp", u"Ojp3", u"El. podání (název právnické osoby)"},
    {"VetaR", "t_prilohy", u"Prppz", u"Poz", u"Text přílohy"},
    {"VetaR", "kod_sekce", u"Prp", u"Poznod", u"Textová příloha"},
};

// Amounts, by the line of the form.
constexpr Row kAmounts[] = {
    {"Veta1", "dan23", u"Dtabn1", u"C210a", nullptr, 1},       {"Veta1", "dan5", u"Dtabn1", u"C215a", nullptr, 2},
    {"Veta1", "dan_dzb23", u"Dtabn1", u"C260a", nullptr, 7},   {"Veta1", "dan_dzb5", u"Dtabn1", u"C265a", nullptr, 8},
    {"Veta1", "dan_pdop_nrg", u"Dtabn1", u"C255a", nullptr, 9},
    {"Veta1", "dan_psl23_e", u"Dtabn1", u"C230a", nullptr, 5}, {"Veta1", "dan_psl23_z", u"Dtabn1", u"C270a", nullptr, 12},
    {"Veta1", "dan_psl5_e", u"Dtabn1", u"C235a", nullptr, 6},  {"Veta1", "dan_psl5_z", u"Dtabn1", u"C275a", nullptr, 13},
    {"Veta1", "dan_pzb23", u"Dtabn1", u"C220a", nullptr, 3},   {"Veta1", "dan_pzb5", u"Dtabn1", u"C225a", nullptr, 4},
    {"Veta1", "dan_rpren23", u"Dtabn1", u"C110a", nullptr, 10}, {"Veta1", "dan_rpren5", u"Dtabn1", u"C111a", nullptr, 11},
    {"Veta1", "dov_zb23", u"Dtabn1", u"C260", nullptr, 7},     {"Veta1", "dov_zb5", u"Dtabn1", u"C265", nullptr, 8},
    {"Veta1", "obrat23", u"Dtabn1", u"C210", nullptr, 1},      {"Veta1", "obrat5", u"Dtabn1", u"C215", nullptr, 2},
    {"Veta1", "p_dop_nrg", u"Dtabn1", u"C255", nullptr, 9},    {"Veta1", "p_sl23_e", u"Dtabn1", u"C230", nullptr, 5},
    {"Veta1", "p_sl23_z", u"Dtabn1", u"C270", nullptr, 12},    {"Veta1", "p_sl5_e", u"Dtabn1", u"C235", nullptr, 6},
    {"Veta1", "p_sl5_z", u"Dtabn1", u"C275", nullptr, 13},     {"Veta1", "p_zb23", u"Dtabn1", u"C220", nullptr, 3},
    {"Veta1", "p_zb5", u"Dtabn1", u"C225", nullptr, 4},        {"Veta1", "rez_pren23", u"Dtabn1", u"C110", nullptr, 10},
    {"Veta1", "rez_pren5", u"Dtabn1", u"C111", nullptr, 11},
    {"Veta2", "dod_dop_nrg", u"Dtabn1", u"C425", nullptr, 23}, {"Veta2", "dod_zb", u"Dtabn1", u"C410", nullptr, 20},
    {"Veta2", "pln_ost", u"Dtabn1", u"C440", nullptr, 26},     {"Veta2", "pln_rez_pren", u"Dtabn1", u"C25", nullptr, 25},
    {"Veta2", "pln_sluzby", u"Dtabn1", u"C21", nullptr, 21},   {"Veta2", "pln_vyvoz", u"Dtabn1", u"C430", nullptr, 22},
    {"Veta2", "pln_zaslani", u"Dtabn1", u"C24", nullptr, 24},
    {"Veta3", "dov_osv", u"Dtabn1", u"C32", nullptr, 32},      {"Veta3", "opr_dluz", u"Dtabn1", u"C34", nullptr, 34},
    {"Veta3", "opr_verit", u"Dtabn1", u"C33", nullptr, 33},    {"Veta3", "tri_dozb", u"Dtabn1", u"C815", nullptr, 31},
    {"Veta3", "tri_pozb", u"Dtabn1", u"C810", nullptr, 30},
    {"Veta4", "dov_cu", u"Dtabn2", u"C340", nullptr, 42},      {"Veta4", "nar_maj", u"Dtabn2", u"C48", nullptr, 47},
    {"Veta4", "nar_zdp23", u"Dtabn2", u"C320", nullptr, 43},   {"Veta4", "nar_zdp5", u"Dtabn2", u"C325", nullptr, 44},
    {"Veta4", "od_maj", u"Dtabn2", u"C48a", nullptr, 47},      {"Veta4", "od_zdp23", u"Dtabn2", u"C320a", nullptr, 43},
    {"Veta4", "od_zdp5", u"Dtabn2", u"C325a", nullptr, 44},    {"Veta4", "odkr_maj", u"Dtabn2", u"C48b", nullptr, 47},
    {"Veta4", "odkr_zdp23", u"Dtabn2", u"C320b", nullptr, 43}, {"Veta4", "odkr_zdp5", u"Dtabn2", u"C325b", nullptr, 44},
    {"Veta4", "odp_cu", u"Dtabn2", u"C340b", nullptr, 42},     {"Veta4", "odp_cu_nar", u"Dtabn2", u"C340a", nullptr, 42},
    {"Veta4", "odp_rez_nar", u"Dtabn2", u"C370a", nullptr, 45}, {"Veta4", "odp_rezim", u"Dtabn2", u"C370b", nullptr, 45},
    {"Veta4", "odp_sum_kr", u"Dtabn2", u"C310b", nullptr, 46}, {"Veta4", "odp_sum_nar", u"Dtabn2", u"C310a", nullptr, 46},
    {"Veta4", "odp_tuz23", u"Dtabn2", u"C310b", nullptr, 40},  {"Veta4", "odp_tuz23_nar", u"Dtabn2", u"C310a", nullptr, 40},
    {"Veta4", "odp_tuz5", u"Dtabn2", u"C315b", nullptr, 41},   {"Veta4", "odp_tuz5_nar", u"Dtabn2", u"C315a", nullptr, 41},
    {"Veta4", "pln23", u"Dtabn2", u"C310", nullptr, 40},       {"Veta4", "pln5", u"Dtabn2", u"C315", nullptr, 41},
    {"Veta5", "koef_p20_nov", u"Dtabn2", u"C550", nullptr, 52}, {"Veta5", "koef_p20_vypor", u"Dtabn3", u"C560", nullptr, 53},
    {"Veta5", "odp_uprav_kf", u"Dtabn2", u"S550a", nullptr, 52}, {"Veta5", "pln_nkf", u"Dtabn1", u"C520", nullptr, 51},
    {"Veta5", "plnosv_kf", u"Dtabn1", u"C530", nullptr, 50},   {"Veta5", "plnosv_nkf", u"Dtabn1", u"C540", nullptr, 51},
    {"Veta5", "vypor_odp", u"Dtabn3", u"C560a", nullptr, 53},
    {"Veta6", "dan_vrac", u"Dtabn1", u"C600", nullptr, 61},    {"Veta6", "dan_zocelk", u"Dtabn3", u"S730", nullptr, 62},
    {"Veta6", "dano", u"Dtabn3", u"S730", nullptr, 66},        {"Veta6", "dano_da", u"Dtabn3", u"S753", nullptr, 64},
    {"Veta6", "dano_no", u"Dtabn3", u"S754", nullptr, 65},     {"Veta6", "odp_zocelk", u"Dtabn3", u"S750", nullptr, 63},
    {"Veta6", "uprav_odp", u"Dtabn3", u"C570", nullptr, 60},
};

QString key(const QString &element, const QString &attribute)
{
    return element + u'/' + attribute;
}

QHash<QString, FilingSource> buildIndex()
{
    QHash<QString, FilingSource> index;
    for (const Row &r : kTaxpayer)
        index.insert(key(QString::fromLatin1(r.element), QString::fromLatin1(r.attribute)),
                     {QString::fromUtf16(r.table), QString::fromUtf16(r.field), QString::fromUtf16(r.where)});
    for (const Row &r : kAmounts)
        index.insert(key(QString::fromLatin1(r.element), QString::fromLatin1(r.attribute)),
                     {QString::fromUtf16(r.table), QString::fromUtf16(r.field), u"ř. "_s + QString::number(r.line)});
    return index;
}

}  // namespace

FilingSource filingSource(const QString &element, const QString &attribute)
{
    static const QHash<QString, FilingSource> index = buildIndex();
    return index.value(key(element, attribute));
}

}  // namespace rur::check
