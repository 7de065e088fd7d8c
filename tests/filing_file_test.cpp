// The filing file DPHDP3: byte-exact files of three returns, the paths it goes to, replacing
// an older file, the published schema, and the xml command of rur-cli.
#include "app/Startup.h"
#include "base/Directories.h"
#include "data/DataM1.h"
#include "data/Schemas.h"
#include "datasets/DataSetAccess.h"
#include "engine/Table.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "print/FilingFile.h"
#include "print/XmlText.h"
#include "support/files.h"
#include "support/rows.h"
#include "support/run_cli.h"
#include "support/test_root.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <initializer_list>

using namespace Qt::StringLiterals;
using namespace rur;
using rur::testing::readFile;
using rur::testing::setRow;
using Message = platform::ScriptedPrompter::Message;

namespace {

// Lines of an expected file with the line layout on, each ended by CR LF.
QByteArray crlf(std::initializer_list<const char *> lines)
{
    QByteArray out;
    for (const char *l : lines)
        out += QByteArray(l) + "\r\n";
    return out;
}

// Prints the first difference of two files, so that a failing case says where it went wrong.
std::string firstDifference(const QByteArray &actual, const QByteArray &expected)
{
    qsizetype i = 0;
    while (i < actual.size() && i < expected.size() && actual[i] == expected[i])
        ++i;
    return "first difference at byte " + std::to_string(i) + "\n  actual:   "
           + actual.mid(qMax<qsizetype>(0, i - 40), 100).toStdString() + "\n  expected: "
           + expected.mid(qMax<qsizetype>(0, i - 40), 100).toStdString();
}

class FilingFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.valid());
        rur::testing::openNewDataSet(root, dirs, dm);
        file = QDir(scratch.path()).filePath(u"out/DPHDP3.xml"_s);
    }

    // Sets fields of the current row through the data module, with its store rules.
    // Stores values as they are, without the store rules (as older data may hold them).
    void setRaw(const engine::TableDef &def, const rur::testing::FieldValues &values)
    {
        engine::Table raw(&dm.Danove, def);
        raw.open();
        setRow(raw, values);
        raw.close();
    }

    QByteArray save(int kodovani, bool radky)
    {
        EXPECT_TRUE(print::DphXml1(dm, file, kodovani, radky, prompter));
        return readFile(file);
    }

    // A company's monthly return for December, every amount stored through the rules.
    void companyDecember()
    {
        setRow(*dm.Prp, {{u"M"_s, u"prosinec"_s}, {u"Q"_s, QVariant()}, {u"Cislo"_s, 12}, {u"R"_s, u"2018"_s},
                      {u"Hp1c"_s, 620200}, {u"Ddp"_s, QDate(2019, 1, 25)}, {u"Dpdr1"_s, true}, {u"P1"_s, true},
                      {u"P2"_s, true}, {u"Cpoco"_s, u"12a"_s}, {u"Cpocp"_s, u"1234"_s}, {u"Fuz"_s, 2001},
                      {u"Tel"_s, u"777123456"_s}, {u"Fuc"_s, 451}, {u"Dic"_s, u"CZ12345678"_s},
                      {u"Emlx"_s, u"info@ab.cz"_s}, {u"Ob"_s, u"Brno"_s}, {u"Zjvjm"_s, u"Jan"_s},
                      {u"Zjvpo"_s, u"jednatel"_s}, {u"Zjvpr"_s, u"Šťastný"_s}, {u"Psc"_s, u"60200"_s},
                      {u"Sesjm"_s, u"Eva"_s}, {u"Sespr"_s, u"Nová"_s}, {u"Tes"_s, u"543210987"_s},
                      {u"Sta2"_s, u"česká republika"_s}, {u"Ul"_s, u"Masarykova"_s},
                      {u"Ojp3"_s, u"A&B <Praha> „Šťastná“ – 5\u00A0€ \"Q\" a^b 'c' 😀"_s}});
        setRow(*dm.Prppz, {{u"Poz"_s, u"Důvod: A&B \"x\" ^ 'y'\r\n\r\nDruhý řádek   \r\n"_s}});
        setRow(*dm.Dtabn1, {{u"C210"_s, 100000}, {u"C210a"_s, 21000}});
        setRow(*dm.Dtabn2, {{u"C310"_s, 50000}, {u"C310a"_s, 10500}, {u"C550"_s, 0}});
        setRow(*dm.Dtabn3, {{u"C560"_s, 0}});
    }

    rur::testing::TestRoot root;
    QTemporaryDir scratch;
    base::Directories dirs;
    data::TDM1 dm;
    platform::ScriptedPrompter prompter;
    QString file;
};

TEST_F(FilingFile, CompanyDecemberInUtf8WithLineLayout)
{
    companyDecember();
    const QByteArray expected = crlf({
        R"(<?xml version="1.0" encoding="UTF-8"?>)",
        R"(<Pisemnost>)",
        "\t" R"(<DPHDP3 verzePis="01.02">)",
        "\t\t" R"(<VetaD dokument="DP3" k_uladis="DPH" c_okec="620200" d_poddp="25.01.2019" d_zjist="")"
        R"( dapdph_forma="B" kod_zo="" mesic="12" rok="2018" trans="A" typ_platce="P" zdobd_do="" zdobd_od=""/>)",
        "\t\t" R"(<VetaP c_orient="12a" c_pop="1234" c_pracufo="2001" c_telef="777123456" c_ufo="451")"
        R"( dic="12345678" email="info@ab.cz" jmeno="" naz_obce="BRNO" opr_jmeno="Jan" opr_postaveni="jednatel")"
        R"( opr_prijmeni=")" "\xC5\xA0" R"(ťastný" prijmeni="" psc="60200" sest_jmeno="Eva" sest_prijmeni="Nová")"
        R"( sest_telef="543210987" stat="ČESKÁ REPUBLIKA" titul="" typ_ds="F" ulice="Masarykova" zast_dat_nar="")"
        R"( zast_ev_cislo="" zast_ic="" zast_jmeno="" zast_kod="" zast_nazev="" zast_prijmeni="")"
        R"( zkrobchjm="A&amp;B &lt;Praha&gt; )" "\xE2\x80\x9E" "\xC5\xA0" R"(ťastná)" "\xE2\x80\x9C"
        " \xE2\x80\x93 5\xC2\xA0\xE2\x82\xAC" R"( &quot;Q&quot; ab 'c' ?"/>)",
        "\t\t" R"(<Veta1 dan23="21000" dan5="0" dan_dzb23="0" dan_dzb5="0" dan_pdop_nrg="0" dan_psl23_e="0")"
        R"( dan_psl23_z="0" dan_psl5_e="0" dan_psl5_z="0" dan_pzb23="0" dan_pzb5="0" dan_rpren23="0")"
        R"( dan_rpren5="0" dov_zb23="0" dov_zb5="0" obrat23="100000" obrat5="0" p_dop_nrg="0" p_sl23_e="0")"
        R"( p_sl23_z="0" p_sl5_e="0" p_sl5_z="0" p_zb23="0" p_zb5="0" rez_pren23="0" rez_pren5="0"/>)",
        "\t\t" R"(<Veta2 dod_dop_nrg="0" dod_zb="0" pln_ost="0" pln_rez_pren="0" pln_sluzby="0" pln_vyvoz="0")"
        R"( pln_zaslani="0"/>)",
        "\t\t" R"(<Veta3 dov_osv="0" opr_dluz="0" opr_verit="0" tri_dozb="0" tri_pozb="0"/>)",
        "\t\t" R"(<Veta4 dov_cu="0" nar_maj="0" nar_zdp23="0" nar_zdp5="0" od_maj="0" od_zdp23="0" od_zdp5="0")"
        R"( odkr_maj="0" odkr_zdp23="0" odkr_zdp5="0" odp_cu="0" odp_cu_nar="0" odp_rez_nar="0" odp_rezim="0")"
        R"( odp_sum_kr="0" odp_sum_nar="10500" odp_tuz23="0" odp_tuz23_nar="10500" odp_tuz5="0")"
        R"( odp_tuz5_nar="0" pln23="50000" pln5="0"/>)",
        "\t\t" R"(<Veta5 koef_p20_nov="0" koef_p20_vypor="0" odp_uprav_kf="0" pln_nkf="0" plnosv_kf="0")"
        R"( plnosv_nkf="0" vypor_odp="0"/>)",
        "\t\t" R"(<Veta6 dan_vrac="0" dan_zocelk="21000" dano="0" dano_da="10500" dano_no="0" odp_zocelk="10500")"
        R"( uprav_odp="0"/>)",
        "\t\t" R"(<VetaR poradi="1" t_prilohy="Důvod: A&amp;B &quot;x&quot;  'y'" kod_sekce="O"/>)",
        "\t\t" R"(<VetaR poradi="2" t_prilohy="" kod_sekce="O"/>)",
        "\t\t" R"(<VetaR poradi="3" t_prilohy="Druhý řádek" kod_sekce="O"/>)",
        "\t" R"(</DPHDP3>)",
        R"(</Pisemnost>)",
    });
    const QByteArray actual = save(print::KodUtf8, true);
    EXPECT_TRUE(actual == expected) << firstDifference(actual, expected);
    EXPECT_EQ(prompter.texts(), QStringList{u"Data byla uložena do XML souboru."_s});

    // The typographic characters are proper UTF-8: a parser reads the file to its end.
    QXmlStreamReader xml(actual);
    while (!xml.atEnd())
        xml.readNext();
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();

    // "UTF-8 (L2)" writes the same bytes.
    EXPECT_TRUE(save(print::KodUtf8L2, true) == expected);
}

TEST_F(FilingFile, CompanyQuarterInWindows1250WithoutLineLayout)
{
    setRow(*dm.Prp, {{u"M"_s, QVariant()}, {u"Q"_s, u"II."_s}, {u"Cislo"_s, 2}, {u"Dpdd1"_s, true}, {u"Dpdo1"_s, true},
                  {u"Dpdr1"_s, false}, {u"P3s"_s, true}, {u"P1"_s, false}, {u"X"_s, true}, {u"K1p"_s, false},
                  {u"Dic"_s, u"CZ87654321"_s}, {u"Ob"_s, u"Šumperk"_s}, {u"Ojp3"_s, u"Šťastná „firma” 😀"_s},
                  {u"Kzs"_s, u"2"_s}, {u"Tzs"_s, false}, {u"Zjmpo"_s, u"Daně s.r.o."_s},
                  {u"Zdeic"_s, u"12345678"_s}, {u"Zdedn"_s, QDate(1970, 2, 1)}});
    // Figures of an older edition, stored unrounded and with empty lines.
    setRaw(data::dtabn1Def(), {{u"C210"_s, 1234.5}, {u"C210a"_s, -2.5}});
    setRaw(data::dtabn3Def(), {{u"C560"_s, -0.4}, {u"C570"_s, 7}});

    const QByteArray expected =
        R"(<?xml version="1.0" encoding="windows-1250"?>)" "\r\n"
        R"(<Pisemnost><DPHDP3 verzePis="01.02">)"
        R"(<VetaD dokument="DP3" k_uladis="DPH" c_okec="" ctvrt="2" d_poddp="" d_zjist="" dapdph_forma="E")"
        R"( kod_zo="" rok="2018" trans="N" typ_platce="S" zdobd_do="" zdobd_od=""/>)"
        R"(<VetaP c_orient="" c_pop="" c_pracufo="" c_telef="" c_ufo="" dic="87654321" email="" jmeno="")"
        R"( naz_obce=")" "\x8A" R"(UMPERK" opr_jmeno="" opr_postaveni="" opr_prijmeni="" prijmeni="" psc="")"
        R"( sest_jmeno="" sest_prijmeni="" sest_telef="" stat="" titul="" typ_ds="F" ulice="")"
        R"( zast_dat_nar="01.02.1970" zast_ev_cislo="" zast_ic="12345678" zast_jmeno="" zast_kod="2")"
        R"( zast_nazev="Dan)" "\xEC" R"( s.r.o." zast_prijmeni="" zast_typ="P")"
        R"( zkrobchjm=")" "\x8A\x9D" "astn\xE1 \x84" "firma\x94" R"( ?"/>)"
        R"(<Veta1 dan23="-3" dan5="" dan_dzb23="" dan_dzb5="" dan_pdop_nrg="" dan_psl23_e="" dan_psl23_z="")"
        R"( dan_psl5_e="" dan_psl5_z="" dan_pzb23="" dan_pzb5="" dan_rpren23="" dan_rpren5="" dov_zb23="")"
        R"( dov_zb5="" obrat23="1235" obrat5="" p_dop_nrg="" p_sl23_e="" p_sl23_z="" p_sl5_e="" p_sl5_z="")"
        R"( p_zb23="" p_zb5="" rez_pren23="" rez_pren5=""/>)"
        R"(<Veta2 dod_dop_nrg="" dod_zb="" pln_ost="" pln_rez_pren="" pln_sluzby="" pln_vyvoz="" pln_zaslani=""/>)"
        R"(<Veta3 dov_osv="" opr_dluz="" opr_verit="" tri_dozb="" tri_pozb=""/>)"
        R"(<Veta4 dov_cu="" nar_maj="" nar_zdp23="" nar_zdp5="" od_maj="" od_zdp23="" od_zdp5="" odkr_maj="")"
        R"( odkr_zdp23="" odkr_zdp5="" odp_cu="" odp_cu_nar="" odp_rez_nar="" odp_rezim="" odp_sum_kr="0")"
        R"( odp_sum_nar="0" odp_tuz23="" odp_tuz23_nar="" odp_tuz5="" odp_tuz5_nar="" pln23="" pln5=""/>)"
        R"(<Veta5 koef_p20_nov="0" koef_p20_vypor="-0.4" odp_uprav_kf="0" pln_nkf="" plnosv_kf="")"
        R"( plnosv_nkf=""/>)"
        R"(<Veta6 dan_vrac="" dan_zocelk="-3" dano="-10" dano_da="0" dano_no="0" odp_zocelk="7" uprav_odp="7"/>)"
        R"(</DPHDP3></Pisemnost>)" "\r\n";
    const QByteArray actual = save(print::KodCp1250, false);
    EXPECT_TRUE(actual == expected) << firstDifference(actual, expected);
    EXPECT_EQ(actual.count("\r\n"), 2);
    EXPECT_TRUE(save(print::KodCp1250L2, false) == expected);
}

TEST_F(FilingFile, PersonLastQuarterInIso88592)
{
    setRow(*dm.Prp, {{u"M"_s, QVariant()}, {u"Q"_s, u"IV."_s}, {u"Cislo"_s, 4}, {u"Ddp"_s, QDate(2019, 1, 20)},
                  {u"Dpdr1"_s, false}, {u"Dpdo1"_s, true}, {u"P6"_s, u"ABCD"_s}, {u"P1"_s, false}, {u"P2"_s, true},
                  {u"Od1"_s, QDate(2018, 10, 1)}, {u"Do1"_s, QDate(2018, 12, 31)}, {u"Cpocp"_s, u"77"_s},
                  {u"Fuc"_s, 451}, {u"Dic"_s, u"CZ8001011234"_s}, {u"Jmb"_s, u"Šimon"_s}, {u"Ob"_s, u"Brno"_s},
                  {u"Pra"_s, u"Řehoř"_s}, {u"Psc"_s, u"60200"_s}, {u"Tes"_s, u"12345678901234567890"_s},
                  {u"Tia"_s, u"Ing."_s}, {u"Tds"_s, false}, {u"Ul"_s, u"Žitná"_s}});
    setRow(*dm.Prppz, {{u"Poz"_s, u"„Příloha” 5 €"_s}});
    setRow(*dm.Dtabn1, {{u"C600"_s, 0}});
    setRow(*dm.Dtabn2, {{u"C550"_s, 0.5}});
    setRow(*dm.Dtabn3, {{u"C560"_s, 0.5}});

    const QByteArray expected = crlf({
        R"(<?xml version="1.0" encoding="iso-8859-2"?>)",
        R"(<Pisemnost>)",
        "\t" R"(<DPHDP3 verzePis="01.02">)",
        "\t\t" R"(<VetaD dokument="DP3" k_uladis="DPH" c_okec="" ctvrt="4" d_poddp="20.01.2019" d_zjist="")"
        R"( dapdph_forma="O" kod_zo="ABC" rok="2018" trans="A" typ_platce="I" zdobd_do="31.12.2018")"
        R"( zdobd_od="01.10.2018"/>)",
        "\t\t" R"(<VetaP c_orient="" c_pop="77" c_pracufo="" c_telef="" c_ufo="451" dic="8001011234" email="")"
        R"( jmeno=")" "\xA9" R"(imon" naz_obce="BRNO" opr_jmeno="" opr_postaveni="" opr_prijmeni="")"
        R"( prijmeni=")" "\xD8" "eho\xF8" R"(" psc="60200" sest_jmeno="" sest_prijmeni="")"
        R"( sest_telef="12345678901234" stat="" titul="Ing." typ_ds="P" ulice=")" "\xAE" "itn\xE1"
        R"(" zast_dat_nar="" zast_ev_cislo="" zast_ic="" zast_jmeno="" zast_kod="" zast_nazev="")"
        R"( zast_prijmeni="" zkrobchjm=""/>)",
        "\t\t" R"(<Veta1 dan23="0" dan5="0" dan_dzb23="0" dan_dzb5="0" dan_pdop_nrg="0" dan_psl23_e="0")"
        R"( dan_psl23_z="0" dan_psl5_e="0" dan_psl5_z="0" dan_pzb23="0" dan_pzb5="0" dan_rpren23="0")"
        R"( dan_rpren5="0" dov_zb23="0" dov_zb5="0" obrat23="0" obrat5="0" p_dop_nrg="0" p_sl23_e="0")"
        R"( p_sl23_z="0" p_sl5_e="0" p_sl5_z="0" p_zb23="0" p_zb5="0" rez_pren23="0" rez_pren5="0"/>)",
        "\t\t" R"(<Veta2 dod_dop_nrg="0" dod_zb="0" pln_ost="0" pln_rez_pren="0" pln_sluzby="0" pln_vyvoz="0")"
        R"( pln_zaslani="0"/>)",
        "\t\t" R"(<Veta3 dov_osv="0" opr_dluz="0" opr_verit="0" tri_dozb="0" tri_pozb="0"/>)",
        "\t\t" R"(<Veta4 dov_cu="0" nar_maj="0" nar_zdp23="0" nar_zdp5="0" od_maj="0" od_zdp23="0" od_zdp5="0")"
        R"( odkr_maj="0" odkr_zdp23="0" odkr_zdp5="0" odp_cu="0" odp_cu_nar="0" odp_rez_nar="0" odp_rezim="0")"
        R"( odp_sum_kr="0" odp_sum_nar="0" odp_tuz23="0" odp_tuz23_nar="0" odp_tuz5="0" odp_tuz5_nar="0")"
        R"( pln23="0" pln5="0"/>)",
        "\t\t" R"(<Veta5 koef_p20_nov="50" koef_p20_vypor="50" odp_uprav_kf="0" pln_nkf="0" plnosv_kf="0")"
        R"( plnosv_nkf="0" vypor_odp="0"/>)",
        "\t\t" R"(<Veta6 dan_vrac="0" dan_zocelk="0" dano="0" dano_da="0" dano_no="0" odp_zocelk="0")"
        R"( uprav_odp="0"/>)",
        "\t\t" R"(<VetaR poradi="1" t_prilohy=")" "?P\xF8\xEDloha? 5 ?" R"(" kod_sekce="O"/>)",
        "\t" R"(</DPHDP3>)",
        R"(</Pisemnost>)",
    });
    const QByteArray actual = save(print::KodIso88592, true);
    EXPECT_TRUE(actual == expected) << firstDifference(actual, expected);
}

TEST_F(FilingFile, PeriodElementsAndLetters)
{
    const auto vetaD = [this] {
        const QByteArray bytes = save(print::KodUtf8, true);
        const qsizetype start = bytes.indexOf("<VetaD");
        return bytes.mid(start, bytes.indexOf("/>", start) - start);
    };
    // Neither month nor quarter: no period number at all.
    setRow(*dm.Prp, {{u"M"_s, QVariant()}, {u"Q"_s, QVariant()}, {u"Cislo"_s, 3}, {u"Dpdd1"_s, true},
                  {u"Dpdr1"_s, false}, {u"X"_s, QVariant()}, {u"P1"_s, false}, {u"P2"_s, false},
                  {u"P3s"_s, QVariant()}});
    QByteArray d = vetaD();
    EXPECT_FALSE(d.contains("ctvrt=")) << d.toStdString();
    EXPECT_FALSE(d.contains("mesic=")) << d.toStdString();
    EXPECT_TRUE(d.contains(R"( dapdph_forma="D" )")) << d.toStdString();
    EXPECT_TRUE(d.contains(R"( trans="A" typ_platce="P" )")) << d.toStdString();
    // Supplementary and corrective with the regular mark still set: corrective only.
    setRow(*dm.Prp, {{u"Dpdo1"_s, true}, {u"Dpdr1"_s, true}});
    EXPECT_TRUE(vetaD().contains(R"( dapdph_forma="O" )"));

    // March: lines 53 and 60 and the settlement coefficient only when they are not 0.
    setRow(*dm.Prp, {{u"M"_s, u"březen"_s}, {u"Cislo"_s, 3}});
    setRow(*dm.Dtabn3, {{u"C560"_s, 0}, {u"C560a"_s, 0}, {u"C570"_s, 0}});
    QByteArray bytes = save(print::KodUtf8, true);
    for (const char *name : {"koef_p20_vypor=", "vypor_odp=", "uprav_odp="})
        EXPECT_FALSE(bytes.contains(name)) << name;
    setRow(*dm.Dtabn3, {{u"C560a"_s, -15}});
    bytes = save(print::KodUtf8, true);
    EXPECT_TRUE(bytes.contains(R"( vypor_odp="-15"/>)"));
    EXPECT_FALSE(bytes.contains("uprav_odp="));
}

TEST_F(FilingFile, AttachmentOf1200LinesGives999Records)
{
    QStringList lines;
    for (int i = 1; i <= 1200; ++i)
        lines.append(u"řádek %1 "_s.arg(i) + QString(80, u'x'));
    setRow(*dm.Prppz, {{u"Poz"_s, lines.join(u"\r\n"_s)}});
    setRow(*dm.Prp, {{u"Poznod"_s, u"D"_s}});
    const QByteArray bytes = save(print::KodUtf8, false);
    EXPECT_EQ(bytes.count("<VetaR "), 999);
    // Each line is cut to 72 characters: "řádek 999 " and 62 of the x.
    const QByteArray last = R"(<VetaR poradi="999" t_prilohy="řádek 999 )" + QByteArray(62, 'x') + R"(" kod_sekce="D"/>)";
    EXPECT_TRUE(bytes.contains(last + "</DPHDP3>"));
    EXPECT_FALSE(bytes.contains("řádek 1000"));
}

TEST_F(FilingFile, SavingAgainReplacesTheFileAndAFailedWriteKeepsTheOldOne)
{
    companyDecember();
    const QByteArray first = save(print::KodUtf8, true);
    ASSERT_FALSE(first.isEmpty());
    EXPECT_TRUE(save(print::KodUtf8, true) == first);
    setRow(*dm.Prp, {{u"Ob"_s, u"Zlín"_s}});
    const QByteArray second = save(print::KodUtf8, true);
    EXPECT_TRUE(second.contains(R"(naz_obce="ZLÍN")"));
    EXPECT_EQ(QDir(QFileInfo(file).absolutePath()).entryList(QDir::Files), QStringList{u"DPHDP3.xml"_s});
    for (const Message &m : std::as_const(prompter.messages))
        EXPECT_EQ(m.kind, Message::Information);

    // Killed before the new file takes the old one's place: the old file is still whole.
    setRow(*dm.Prp, {{u"Ob"_s, u"Brno"_s}});
    ASSERT_TRUE(rur::testing::killedAt("filing:before-commit", [this] {
        print::DphXml1(dm, file, print::KodUtf8, true, prompter);
    }));
    EXPECT_TRUE(readFile(file) == second);

    // A folder that can't be made: the file can't be created, and the user is told so.
    QFile blocker(scratch.path() + u"/blocker"_s);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString blocked = scratch.path() + u"/blocker/XML/DPHDP3.xml"_s;
    prompter.messages.clear();
    EXPECT_FALSE(print::DphXml1(dm, blocked, print::KodUtf8, true, prompter));
    EXPECT_EQ(prompter.errors(), QStringList{u"Soubor "_s + blocked + u" nelze vytvořit."_s});
    // The same for a path that names a folder.
    prompter.messages.clear();
    EXPECT_FALSE(print::DphXml1(dm, scratch.path(), print::KodUtf8, true, prompter));
    EXPECT_EQ(prompter.errors(), QStringList{u"Soubor "_s + scratch.path() + u" nelze vytvořit."_s});
}

TEST_F(FilingFile, PathsOfTheSaveButton)
{
    base::UserSettings user;
    print::XmlPathSettings xml;
    print::FilingContext ctx{dm, dirs, user, xml, prompter};

    // Default path: under the common data folder, named after the data-set directory.
    dirs.commonDataFolder = scratch.path() + u"/common"_s;
    const QString written = print::saveFilingFile(ctx);
    EXPECT_EQ(xml.pathTemplate, u"%AdresarDat%/Tervik/RUR 2018/XML/DPHDP3 - D1.xml"_s);
    EXPECT_EQ(written, scratch.path() + u"/common/Tervik/RUR 2018/XML/DPHDP3 - D1.xml"_s);
    EXPECT_TRUE(QFile::exists(written));
    EXPECT_EQ(prompter.texts(), QStringList{u"Data byla uložena do XML souboru."_s});

    // With the firm name, the taxpayer's name; with a Data.ini directory, under it.
    setRow(*dm.Prp, {{u"Oj1a"_s, u"Alfa s.r.o."_s}});
    xml = {QString(), true};
    dirs.dataIniDir = u"/srv/dph/"_s;
    print::VychXml1(dm, dirs, xml);
    EXPECT_EQ(xml.pathTemplate, u"/srv/dph/XML/DPHDP3 - Alfa s.r.o..xml"_s);
    dirs.dataIniDir.clear();

    // A relative template lies under XML/ of the local data root; missing folders are made.
    xml.pathTemplate = u"XML2/DPHDP3.xml"_s;
    EXPECT_EQ(print::saveFilingFile(ctx), root.path() + u"XML/XML2/DPHDP3.xml"_s);
    EXPECT_TRUE(QFile::exists(root.path() + u"XML/XML2/DPHDP3.xml"_s));

    // Templates that don't resolve write nothing.
    for (const QString &t : {u"%Disk%/Tervik/DPHDP3.xml"_s, u"%AdresarUziv%/DPHDP3.xml"_s, u"%Jinde%/a.xml"_s}) {
        xml.pathTemplate = t;
        prompter.messages.clear();
        EXPECT_TRUE(print::saveFilingFile(ctx).isEmpty()) << t.toStdString();
        EXPECT_EQ(prompter.texts(), QStringList{u"Nastavte správně cestu."_s}) << t.toStdString();
    }
}

TEST_F(FilingFile, FullyFilledReturnValidatesAgainstThePublishedSchema)
{
    // The schema the program compiles in, checked by libxml2's own tool (make deps installs it).
    const QString xsd = QString::fromUtf8(RUR_SOURCE_DIR) + u"/src/check/schemas/dphdp3_epo2.xsd"_s;
    const QString xmllint = QStandardPaths::findExecutable(u"xmllint"_s);
    ASSERT_TRUE(QFile::exists(xsd)) << xsd.toStdString();
    ASSERT_FALSE(xmllint.isEmpty()) << "xmllint (libxml2-utils) is missing";
    setRow(*dm.Prp,
        {{u"M"_s, u"prosinec"_s}, {u"Q"_s, QVariant()}, {u"Cislo"_s, 12}, {u"R"_s, u"2018"_s}, {u"Hp1c"_s, 620200},
         {u"Ddp"_s, QDate(2019, 1, 25)}, {u"D"_s, QDate(2019, 1, 20)}, {u"Dpdd1"_s, true}, {u"Dpdo1"_s, true},
         {u"P6"_s, u"Q"_s}, {u"Od1"_s, QDate(2018, 12, 1)}, {u"Do1"_s, QDate(2018, 12, 31)},
         {u"Cpoco"_s, u"12a"_s}, {u"Cpocp"_s, u"1234"_s}, {u"Fuz"_s, 2001}, {u"Tel"_s, u"+420777123456"_s},
         {u"Fuc"_s, 451}, {u"Dic"_s, u"CZ12345678"_s}, {u"Emlx"_s, u"info@ab.cz"_s}, {u"Jmb"_s, u"Jan"_s},
         {u"Ob"_s, u"Brno – Královo Pole"_s}, {u"Zjvjm"_s, u"Jan"_s}, {u"Zjvpo"_s, u"jednatel"_s},
         {u"Zjvpr"_s, u"Šťastný"_s}, {u"Pra"_s, u"Novák"_s}, {u"Psc"_s, u"61200"_s}, {u"Sesjm"_s, u"Eva"_s},
         {u"Sespr"_s, u"Nová"_s}, {u"Tes"_s, u"+420 543 210 987 65"_s}, {u"Sta2"_s, u"Česká republika"_s},
         {u"Tia"_s, u"Ing."_s}, {u"Ul"_s, u"Božetěchova"_s}, {u"Zdedn"_s, QDate(1970, 2, 1)},
         {u"Zdece"_s, u"K-123"_s}, {u"Zdeic"_s, u"12345678"_s}, {u"Zjmjm"_s, u"Petr"_s},
         {u"Kzs"_s, u"1"_s}, {u"Zjmpo"_s, u"Daně & účty <s.r.o.>"_s}, {u"Zjmpr"_s, u"Veselý"_s},
         {u"Ojp3"_s, u"Alfa „Beta“ – 5\u00A0€ s.r.o. 😀"_s}});
    setRow(*dm.Prppz, {{u"Poz"_s, u"„Důvod“ & <příčina> "_s + QString(80, u'z') + u"\r\n\r\ndruhý"_s}});
    QVariantMap out, ded, tax;
    int n = 1;
    for (const char *f : {"C210", "C210a", "C215", "C215a", "C220", "C220a", "C225", "C225a", "C230", "C230a",
                          "C235", "C235a", "C255", "C255a", "C260", "C260a", "C265", "C265a", "C270", "C270a",
                          "C275", "C275a", "C110", "C110a", "C111", "C111a", "C410", "C425", "C430", "C440", "C21",
                          "C24", "C25", "C32", "C33", "C34", "C810", "C815", "C520", "C530", "C540", "C600"})
        out.insert(QString::fromLatin1(f), 1000 * n++);
    for (const char *f : {"C310", "C310a", "C310b", "C315", "C315a", "C315b", "C320", "C320a", "C320b", "C325",
                          "C325a", "C325b", "C340", "C340a", "C340b", "C370a", "C370b", "C48", "C48a", "C48b"})
        ded.insert(QString::fromLatin1(f), 100 * n++);
    ded.insert(u"C550"_s, 0.85);
    setRow(*dm.Dtabn1, rur::testing::inNameOrder(out));
    setRow(*dm.Dtabn2, rur::testing::inNameOrder(ded));
    setRow(*dm.Dtabn3, {{u"C560"_s, 0.87}, {u"C560a"_s, -120}, {u"C570"_s, 45}});

    for (int kodovani : {print::KodUtf8, print::KodCp1250, print::KodIso88592}) {
        const QByteArray bytes = save(kodovani, true);
        EXPECT_TRUE(bytes.contains(R"( uprav_odp="45"/>)"));
        // Empty attributes go: the schema types most of them as numbers or dates.
        static const QRegularExpression empty(u" [a-z_0-9]+=\"\""_s);
        QString text = QString::fromLatin1(bytes);
        text.remove(empty);
        const QString stripped = QDir(scratch.path()).filePath(u"stripped.xml"_s);
        QFile f(stripped);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text.toLatin1());
        f.close();
        QProcess lint;
        lint.start(xmllint, {u"--noout"_s, u"--schema"_s, xsd, stripped});
        ASSERT_TRUE(lint.waitForFinished(60000));
        EXPECT_EQ(lint.exitCode(), 0) << "encoding " << kodovani << ": "
                                      << QString::fromUtf8(lint.readAllStandardError()).toStdString();
    }
}

// rur-cli xml SET [--out PATH]
rur::testing::CliResult cli(const QStringList &args, const QString &dataHome)
{
    rur::testing::CliOptions options;
    options.dataHome = dataHome;
    return rur::testing::cli(args, options);
}

TEST(FilingFileCli, WritesWhereAskedOrWhereTheSettingsSay)
{
    rur::testing::TestRoot root;
    root.createDataSet();
    root.addCatalogueRow(1, u"Alfa"_s);
    QTemporaryDir home;

    const QString out = home.path() + u"/vystup/dp.xml"_s;
    ASSERT_TRUE(QDir().mkpath(home.path() + u"/vystup"_s));  // a folder the user names must exist
    rur::testing::CliResult r = cli({u"--root"_s, root.path(), u"xml"_s, u"1"_s, u"--out"_s, out}, home.path());
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed(), out);
    EXPECT_TRUE(readFile(out).startsWith(R"(<?xml version="1.0" encoding="UTF-8"?>)" "\r\n<Pisemnost>\r\n"));

    // Without --out: the default path under the common data folder, in the encoding and line
    // layout of Dph.ini.
    {
        platform::IniFile dph(root.path() + u"Dph.ini"_s);
        dph.writeInteger(u"Dph"_s, u"Kodovani"_s, 1);
        dph.writeBool(u"Dph"_s, u"Radky"_s, false);
    }
    r = cli({u"--root"_s, root.path(), u"xml"_s, u"D1"_s}, home.path());
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QString byDefault = home.path() + u"/Tervik/RUR 2018/XML/DPHDP3 - D1.xml"_s;
    EXPECT_EQ(r.out.trimmed(), byDefault);
    const QByteArray bytes = readFile(byDefault);
    EXPECT_TRUE(bytes.startsWith(R"(<?xml version="1.0" encoding="windows-1250"?>)" "\r\n<Pisemnost><DPHDP3"));
    EXPECT_EQ(bytes.count("\r\n"), 2);

    // The template stored for the data set; one that can't be resolved is an error.
    {
        platform::IniFile ini(root.dataSet() + u"D1.ini"_s);
        ini.writeString(u"XML"_s, u"Dph"_s, u"XML2/DPHDP3.xml"_s);
    }
    r = cli({u"--root"_s, root.path(), u"xml"_s, u"1"_s}, home.path());
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed(), root.path() + u"XML/XML2/DPHDP3.xml"_s);
    {
        platform::IniFile ini(root.dataSet() + u"D1.ini"_s);
        ini.writeString(u"XML"_s, u"Dph"_s, u"%Disk%/DPHDP3.xml"_s);
    }
    r = cli({u"--root"_s, root.path(), u"xml"_s, u"1"_s}, home.path());
    EXPECT_NE(r.exitCode, 0);
    EXPECT_EQ(r.err.trimmed(), u"Nastavte správně cestu."_s);
    EXPECT_TRUE(r.out.isEmpty());
}

}  // namespace
