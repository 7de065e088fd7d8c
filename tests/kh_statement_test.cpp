// The control statement DPHKH1: its file from a register of every section, the file's name
// and place, the check against the return (1,000 Kč either way) and of the rows, the transfer
// into the return, and the register's list.
#include "app/Startup.h"
#include "base/Directories.h"
#include "check/ReturnCheck.h"
#include "data/DataM1.h"
#include "datasets/DataSetAccess.h"
#include "engine/Table.h"
#include "kh/RegisterPrintout.h"
#include "kh/ReturnTransfer.h"
#include "kh/StatementCheck.h"
#include "kh/StatementFile.h"
#include "platform/Prompter.h"
#include "print/FilingFile.h"
#include "print/XmlText.h"
#include "support/filled_return.h"
#include "support/gui_app.h"
#include "support/statement_register.h"
#include "support/test_root.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace rur;
using rur::testing::appendRow;
using rur::testing::setRow;

namespace {

class ControlStatement : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.valid());
        rur::testing::openNewDataSet(root, dirs, dm);
        rur::testing::fillValidReturn(dm);
    }

    QByteArray build(const kh::StatementOptions &options = {}, int kodovani = print::KodUtf8)
    {
        return kh::buildDphkh1(dm, kh::loadRegister(dm), options, kodovani, true);
    }
    QList<check::Finding> check(const kh::StatementOptions &options = {})
    {
        return kh::KontrolaKh(dm, options, print::KodUtf8, rur::testing::kValidReturnToday);
    }
    // The messages of the findings that name a place.
    QStringList messagesAt(const QList<check::Finding> &findings, const QString &where)
    {
        QStringList out;
        for (const check::Finding &f : findings)
            if (f.where == where)
                out.append(f.message);
        return out;
    }

    rur::testing::TestRoot root;
    base::Directories dirs;
    data::TDM1 dm;
    platform::ScriptedPrompter prompter;
};

// The line of an element in a file written with the line layout.
QByteArray lineOf(const QByteArray &file, const QByteArray &element)
{
    const qsizetype at = file.indexOf("<" + element + " ");
    return at < 0 ? QByteArray() : file.mid(at, file.indexOf("\r\n", at) - at);
}

}  // namespace

TEST_F(ControlStatement, ARegisterOfEverySectionIsWrittenAsTheFormWantsIt)
{
    rur::testing::fillStatementRegister(dm);
    const QByteArray file = build();
    // Rows numbered within their sections; FV-101 (10 000 Kč with tax), FV-102 (no DIČ) and
    // the A5 row summed: 8 264,46 + 5 000 and 1 735,54 + 1 050 at the basic rate, 50 000 and
    // 7 500 at the first reduced one, 1 000 and 100 at the second; DF-201 and the B3 row
    // summed likewise. VetaC carries the return's lines of fillValidReturn.
    const QByteArray expected =
        "\t\t<VetaA1 c_radku=\"1\" dic_odb=\"27082440\" c_evid_dd=\"FV-A1\" duzp=\"05.03.2018\" zakl_dane1=\"50000\" kod_pred_pl=\"4\"/>\r\n"
        "\t\t<VetaA2 c_radku=\"1\" k_stat=\"DE\" vatid_dod=\"123456789\" c_evid_dd=\"DE-77\" dppd=\"06.03.2018\" zakl_dane1=\"20000\" dan1=\"4200\"/>\r\n"
        "\t\t<VetaA2 c_radku=\"2\" k_stat=\"AT\" vatid_dod=\"U12345678\" c_evid_dd=\"AT-5\" dppd=\"07.03.2018\" zakl_dane2=\"10000\" dan2=\"1500\"/>\r\n"
        "\t\t<VetaA3 c_radku=\"1\" k_stat=\"SK\" vatid_odb=\"2020202020\" c_evid_dd=\"ZL-1\" dup=\"08.03.2018\" osv_plneni=\"300000\"/>\r\n"
        "\t\t<VetaA4 c_radku=\"1\" dic_odb=\"27082440\" c_evid_dd=\"FV-100\" dppd=\"09.03.2018\" zakl_dane1=\"100000\" dan1=\"21000\" kod_rezim_pl=\"0\" zdph_44=\"N\"/>\r\n"
        "\t\t<VetaA4 c_radku=\"2\" dic_odb=\"27082440\" c_evid_dd=\"FV-103\" dppd=\"11.03.2018\" zakl_dane1=\"1000\" dan1=\"210\" kod_rezim_pl=\"0\" zdph_44=\"P\"/>\r\n"
        "\t\t<VetaA5 zakl_dane1=\"13264.46\" dan1=\"2785.54\" zakl_dane2=\"50000\" dan2=\"7500\" zakl_dane3=\"1000\" dan3=\"100\"/>\r\n"
        "\t\t<VetaB1 c_radku=\"1\" dic_dod=\"45274649\" c_evid_dd=\"DF-B1\" duzp=\"12.03.2018\" zakl_dane1=\"40000\" dan1=\"8400\" kod_pred_pl=\"4\"/>\r\n"
        "\t\t<VetaB2 c_radku=\"1\" dic_dod=\"45274649\" c_evid_dd=\"DF-200\" dppd=\"13.03.2018\" zakl_dane1=\"30000\" dan1=\"6300\" pomer=\"N\" zdph_44=\"N\"/>\r\n"
        "\t\t<VetaB3 zakl_dane1=\"2000\" dan1=\"420\" zakl_dane2=\"5000\" dan2=\"750\"/>\r\n"
        "\t\t<VetaC obrat23=\"10000\" obrat5=\"20000\" pln23=\"100\" pln5=\"400\" pln_rez_pren=\"6000\" rez_pren23=\"90000\" rez_pren5=\"100000\" celk_zd_a2=\"460000\"/>\r\n"
        "\t</DPHKH1>\r\n"
        "</Pisemnost>\r\n";
    const qsizetype rows = file.indexOf("\t\t<VetaA1 ");
    ASSERT_GE(rows, 0);
    EXPECT_EQ(file.mid(rows).toStdString(), expected.toStdString());
    EXPECT_TRUE(file.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Pisemnost>\r\n\t<DPHKH1 verzePis=\"03.01\">\r\n"));
    EXPECT_EQ(lineOf(file, "VetaD").toStdString(),
              "<VetaD dokument=\"KH1\" k_uladis=\"DPH\" mesic=\"3\" rok=\"2018\" zdobd_od=\"\" zdobd_do=\"\" "
              "d_poddp=\"20.04.2018\" khdph_forma=\"B\"/>");
    // The taxpayer exactly as the return's file carries it: one writer for both.
    const QByteArray dp3 = print::buildDphdp3(dm, print::KodUtf8, true);
    EXPECT_EQ(lineOf(file, "VetaP").toStdString(), lineOf(dp3, "VetaP").toStdString());
    EXPECT_FALSE(lineOf(file, "VetaP").isEmpty());
    // Valid against the published schema.
    const QList<check::Finding> schema = check::checkSchema(file, check::FilingSchema::Dphkh1);
    for (const check::Finding &f : schema)
        ADD_FAILURE() << check::findingLine(f).toStdString();

    // A subsequent statement carries the day its reasons were found.
    const QByteArray subsequent = build({u'N', QDate(2018, 5, 2)});
    EXPECT_TRUE(lineOf(subsequent, "VetaD").endsWith("khdph_forma=\"N\" d_zjist=\"02.05.2018\"/>"));
    EXPECT_TRUE(check::checkSchema(subsequent, check::FilingSchema::Dphkh1).isEmpty());
    // In windows-1250 a document number keeps its letters; a quote can't break the file.
    appendRow(*dm.Dkh, {{u"Oddil"_s, u"B1"_s}, {u"Dic"_s, u"45274649"_s}, {u"Doklad"_s, u"Č.\"7\" <&>"_s},
                        {u"Datum"_s, QDate(2018, 3, 1)}, {u"Zaklad1"_s, 10.0}, {u"Dan1"_s, 2.1}, {u"Kod"_s, u"4"_s}});
    const QByteArray cp1250 = build({}, print::KodCp1250);
    EXPECT_TRUE(cp1250.contains("c_evid_dd=\"\xC8.&quot;7&quot; &lt;&amp;&gt;\"")) << lineOf(cp1250, "VetaB1 c_radku=\"2\"").toStdString();
    EXPECT_TRUE(check::checkSchema(cp1250, check::FilingSchema::Dphkh1).isEmpty());
}

TEST_F(ControlStatement, ItsFileLiesBesideTheReturnsWithKhInItsName)
{
    const struct Case {
        const char16_t *returnFile;
        const char16_t *statement;
    } cases[] = {
        {u"/data/XML/DPHDP3 - D1.xml", u"/data/XML/DPHKH - D1.xml"},
        {u"/data/XML/dphdp3 - Alfa s.r.o..xml", u"/data/XML/dphKH - Alfa s.r.o..xml"},
        {u"/home/eva/priznani.xml", u"/home/eva/DPHKH - priznani.xml"},
        {u"/DP3/a/DP3-brezen.xml", u"/DP3/a/KH-brezen.xml"},  // only the file's name changes
    };
    for (const Case &c : cases)
        EXPECT_EQ(kh::statementPathFor(QString::fromUtf16(c.returnFile)), QString::fromUtf16(c.statement));

    // "&Uložit data" with the return's default template: the file beside where the return's goes.
    rur::testing::fillStatementRegister(dm);
    dirs.dataSetDir = u"D1"_s;
    dirs.commonDataFolder = root.path();
    base::UserSettings user;
    print::XmlPathSettings xml;
    print::FilingContext filing{dm, dirs, user, xml, prompter};
    const QString written = kh::saveStatementFile(filing, {});
    const QString returnFile = print::filingFilePath(filing);
    EXPECT_TRUE(returnFile.endsWith(u"/XML/DPHDP3 - D1.xml"_s)) << returnFile.toStdString();
    EXPECT_EQ(written, kh::statementPathFor(returnFile));
    QFile f(written);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), build());
    EXPECT_EQ(prompter.texts(), QStringList{u"Data byla uložena do XML souboru."_s});
}

TEST_F(ControlStatement, EachReturnLineMustMatchTheRegisterWithinAThousandCrowns)
{
    // One document a line, each sum in whole crowns, nothing else in the register.
    const QString dic = u"27082440"_s;
    const QList<QVariantMap> rows = {
        {{u"Oddil"_s, u"A4"_s}, {u"Dic"_s, dic}, {u"Zaklad1"_s, 100000.0}, {u"Dan1"_s, 21000.0}},
        {{u"Oddil"_s, u"A4"_s}, {u"Dic"_s, dic}, {u"Zaklad2"_s, 40000.0}, {u"Dan2"_s, 6000.0}},
        {{u"Oddil"_s, u"B2"_s}, {u"Dic"_s, dic}, {u"Zaklad1"_s, 30000.0}, {u"Dan1"_s, 6300.0}},
        {{u"Oddil"_s, u"B2"_s}, {u"Dic"_s, dic}, {u"Zaklad3"_s, 20000.0}, {u"Dan3"_s, 2000.0}},
        {{u"Oddil"_s, u"A1"_s}, {u"Dic"_s, dic}, {u"Zaklad1"_s, 50000.0}, {u"Kod"_s, u"4"_s}},
        {{u"Oddil"_s, u"B1"_s}, {u"Dic"_s, dic}, {u"Zaklad1"_s, 40000.0}, {u"Dan1"_s, 8400.0}, {u"Kod"_s, u"4"_s}},
        {{u"Oddil"_s, u"B1"_s}, {u"Dic"_s, dic}, {u"Zaklad2"_s, 10000.0}, {u"Dan2"_s, 1500.0}, {u"Kod"_s, u"4"_s}},
        {{u"Oddil"_s, u"A2"_s}, {u"Stat"_s, u"DE"_s}, {u"Zaklad1"_s, 20000.0}, {u"Dan1"_s, 4200.0}, {u"Radek"_s, 3}},
    };
    int n = 0;
    for (QVariantMap row : rows) {
        row.insert(u"Doklad"_s, u"D%1"_s.arg(++n));
        row.insert(u"Datum"_s, QDate(2018, 3, 15));
        appendRow(*dm.Dkh, rur::testing::inNameOrder(row));
    }
    // The line, its field, the register's sum.
    const struct Line {
        const char16_t *where;
        engine::Table *table;
        const char16_t *field;
        double sum;
        const char16_t *sumText;
    } lines[] = {
        {u"ř. 1", dm.Dtabn1.get(), u"C210", 100000, u"100 000 Kč"},
        {u"ř. 2", dm.Dtabn1.get(), u"C215", 40000, u"40 000 Kč"},
        {u"ř. 40", dm.Dtabn2.get(), u"C310", 30000, u"30 000 Kč"},
        {u"ř. 41", dm.Dtabn2.get(), u"C315", 20000, u"20 000 Kč"},
        {u"ř. 25", dm.Dtabn1.get(), u"C25", 50000, u"50 000 Kč"},
        {u"ř. 10", dm.Dtabn1.get(), u"C110", 40000, u"40 000 Kč"},
        {u"ř. 11", dm.Dtabn1.get(), u"C111", 10000, u"10 000 Kč"},
        {u"ř. 3, 4, 5, 6, 9, 12 a 13", dm.Dtabn1.get(), u"C220", 20000, u"20 000 Kč"},
    };
    // The return agreeing with the register: the other A2 lines empty.
    for (const char16_t *field : {u"C225", u"C230", u"C235", u"C255", u"C270", u"C275"})
        setRow(*dm.Dtabn1, {{QString::fromUtf16(field), 0.0}});
    for (const Line &l : lines)
        setRow(*l.table, {{QString::fromUtf16(l.field), l.sum}});
    const QList<check::Finding> agreeing = check();
    for (const check::Finding &f : agreeing)
        ADD_FAILURE() << check::findingLine(f).toStdString();

    for (const Line &l : lines) {
        SCOPED_TRACE(QString::fromUtf16(l.where).toStdString());
        const QString where = QString::fromUtf16(l.where), field = QString::fromUtf16(l.field);
        setRow(*l.table, {{field, l.sum + 1000}});
        EXPECT_TRUE(messagesAt(check(), where).isEmpty());
        setRow(*l.table, {{field, l.sum - 1000}});
        EXPECT_TRUE(messagesAt(check(), where).isEmpty());
        setRow(*l.table, {{field, l.sum + 1001}});
        const QList<check::Finding> found = check();
        EXPECT_EQ(messagesAt(found, where),
                  QStringList{where + u": přiznání "_s + kh::crownsText(kh::toHellers(l.sum + 1001))
                              + u", kontrolní hlášení "_s + QString::fromUtf16(l.sumText) + u'.'});
        EXPECT_EQ(found.size(), 1);
        if (!found.isEmpty()) {
            EXPECT_EQ(found.first().severity, check::Severity::Error);
            EXPECT_EQ(found.first().field, field);  // "&Opravit" opens the window at the line
        }
        setRow(*l.table, {{field, l.sum - 1001}});
        EXPECT_EQ(messagesAt(check(), where).size(), 1);
        setRow(*l.table, {{field, l.sum}});
    }
    EXPECT_EQ(kh::crownsText(10000100), u"100 001 Kč"_s);
    EXPECT_EQ(kh::crownsText(-123456), u"-1 234,56 Kč"_s);
}

TEST_F(ControlStatement, TheTransferFillsTheLinesTheRegisterFeedsAndTheReturnThenAgrees)
{
    rur::testing::fillStatementRegister(dm);
    // A No changes nothing.
    prompter.answers = {platform::Prompter::Answer::No};
    EXPECT_FALSE(kh::transferToReturn(dm, prompter));
    EXPECT_DOUBLE_EQ(dm.Dtabn1->field(u"C210"_s).asFloat(), 10000.0);

    prompter.messages.clear();
    ASSERT_TRUE(kh::transferToReturn(dm, prompter));
    EXPECT_EQ(prompter.texts(), (QStringList{QString::fromUtf16(kh::kTransferQuestion), QString::fromUtf16(kh::kTransferDone)}));
    // The sums of fillStatementRegister, rounded as the return rounds: line 1 is 100 000 +
    // 1 000 (A4) + 8 264,46 + 5 000 (A5) = 114 264,46, its tax 23 995,54; line 2 the reduced
    // rates of A5 (50 000 and 1 000); the A2 documents on their lines 3 and 4 and as full
    // deduction on 43 and 44 with B1.
    const struct Expected {
        engine::Table *table;
        const char16_t *field;
        double value;
    } expected[] = {
        {dm.Dtabn1.get(), u"C210", 114264},  {dm.Dtabn1.get(), u"C210a", 23996}, {dm.Dtabn1.get(), u"C215", 51000},
        {dm.Dtabn1.get(), u"C215a", 7600},   {dm.Dtabn1.get(), u"C220", 20000},  {dm.Dtabn1.get(), u"C220a", 4200},
        {dm.Dtabn1.get(), u"C225", 10000},   {dm.Dtabn1.get(), u"C225a", 1500},  {dm.Dtabn1.get(), u"C230", 0},
        {dm.Dtabn1.get(), u"C255", 0},       {dm.Dtabn1.get(), u"C275a", 0},     {dm.Dtabn1.get(), u"C110", 40000},
        {dm.Dtabn1.get(), u"C110a", 8400},   {dm.Dtabn1.get(), u"C111", 0},      {dm.Dtabn1.get(), u"C25", 50000},
        {dm.Dtabn2.get(), u"C310", 32000},   {dm.Dtabn2.get(), u"C310a", 6720},  {dm.Dtabn2.get(), u"C315", 5000},
        {dm.Dtabn2.get(), u"C315a", 750},    {dm.Dtabn2.get(), u"C320", 60000},  {dm.Dtabn2.get(), u"C320a", 12600},
        {dm.Dtabn2.get(), u"C325", 10000},   {dm.Dtabn2.get(), u"C325a", 1500},
        // Lines the register does not feed keep what fillValidReturn put there.
        {dm.Dtabn1.get(), u"C260", 70000},   {dm.Dtabn1.get(), u"C410", 1000},   {dm.Dtabn1.get(), u"C600", 16000},
        {dm.Dtabn2.get(), u"C310b", 300},    {dm.Dtabn2.get(), u"C320b", 900},   {dm.Dtabn2.get(), u"C340", 1300},
        {dm.Dtabn2.get(), u"C550", 0.85},
    };
    for (const Expected &e : expected) {
        SCOPED_TRACE(QString::fromUtf16(e.field).toStdString());
        EXPECT_DOUBLE_EQ(e.table->field(QString::fromUtf16(e.field)).asFloat(), e.value);
    }
    // The statement and the return now agree, and nothing else is wrong: the tax office
    // would find nothing either.
    const QList<check::Finding> findings = check();
    for (const check::Finding &f : findings)
        ADD_FAILURE() << check::findingLine(f).toStdString();

    // Killed inside the group write: the return is the transferred one or the old one whole.
    appendRow(*dm.Dkh, {{u"Oddil"_s, u"A4"_s}, {u"Dic"_s, u"27082440"_s}, {u"Doklad"_s, u"FV-104"_s},
                        {u"Datum"_s, QDate(2018, 3, 30)}, {u"Zaklad1"_s, 50000.0}, {u"Dan1"_s, 10500.0}});
    ASSERT_TRUE(rur::testing::killedAt("group:between", [this] {
        kh::writeReturnFigures(dm, kh::transferFigures(kh::sumRegister(kh::loadRegister(dm))));
    }));
    dm.Dtabn1->refresh();
    dm.Dtabn2->refresh();
    EXPECT_DOUBLE_EQ(dm.Dtabn1->field(u"C210"_s).asFloat(), 114264.0);
    EXPECT_DOUBLE_EQ(dm.Dtabn1->field(u"C410"_s).asFloat(), 1000.0);
    EXPECT_DOUBLE_EQ(dm.Dtabn2->field(u"C310"_s).asFloat(), 32000.0);
}

TEST_F(ControlStatement, RowsTheTaxOfficeWouldQueryAreNamed)
{
    rur::testing::fillStatementRegister(dm);
    ASSERT_TRUE(kh::transferToReturn(dm, prompter));
    const auto row = [](const char16_t *section, const char16_t *number, const QVariantMap &more) {
        QVariantMap r{{u"Oddil"_s, QString::fromUtf16(section)}, {u"Doklad"_s, QString::fromUtf16(number)},
                      {u"Datum"_s, QDate(2018, 3, 15)}};
        r.insert(more);
        return r;
    };
    const QString partner = u"27082440"_s;
    // Each case adds one row of small amounts (the sums stay within the tolerance) and names
    // what the check says about it.
    const struct Case {
        const char *why;
        QVariantMap row;
        const char16_t *where;
        const char16_t *message;  // nullptr: nothing to say about the row
        check::Severity severity = check::Severity::Error;
    } cases[] = {
        {"own DIČ", row(u"A1", u"X1", {{u"Dic"_s, u"25596641"_s}, {u"Zaklad1"_s, 100.0}, {u"Kod"_s, u"4"_s}}), u"A1 X1",
         u"A1 X1: DIČ 25596641 je vlastní DIČ plátce."},
        {"check digit", row(u"B1", u"X2", {{u"Dic"_s, u"8001010002"_s}, {u"Zaklad1"_s, 100.0}, {u"Dan1"_s, 21.0}, {u"Kod"_s, u"4"_s}}),
         u"B1 X2", u"B1 X2: DIČ CZ8001010002 není platné: rodné číslo nemá správnou kontrolní číslici."},
        {"same number, same code", row(u"A1", u"FV-A1", {{u"Dic"_s, partner}, {u"Zaklad1"_s, 100.0}, {u"Kod"_s, u"4"_s}}),
         u"A1 FV-A1", u"A1 FV-A1: číslo dokladu FV-A1 je v oddílu A1 vícekrát se stejným kódem předmětu plnění."},
        {"same number, another code", row(u"A1", u"FV-A1", {{u"Dic"_s, partner}, {u"Zaklad1"_s, 100.0}, {u"Kod"_s, u"5"_s}}),
         u"A1 FV-A1", nullptr},
        {"same supplier, number and date",
         row(u"B2", u"DF-200", {{u"Dic"_s, u"45274649"_s}, {u"Zaklad1"_s, 100.0}, {u"Dan1"_s, 21.0}, {u"Oprava"_s, u"P"_s},
                                {u"Pomer"_s, u"A"_s}, {u"Datum"_s, QDate(2018, 3, 13)}}),
         u"B2 DF-200",
         u"B2 DF-200: číslo dokladu DF-200 je v oddílu B2 vícekrát od jednoho dodavatele se stejným datem povinnosti "
         u"přiznat daň."},
        {"after the period", row(u"A1", u"X3", {{u"Dic"_s, partner}, {u"Zaklad1"_s, 100.0}, {u"Kod"_s, u"4"_s}, {u"Datum"_s, QDate(2018, 4, 1)}}),
         u"A1 X3", u"A1 X3: datum 01.04.2018 je po konci období 01.03.2018 – 31.03.2018."},
        {"before the period, supplied", row(u"A2", u"X4", {{u"Stat"_s, u"DE"_s}, {u"Zaklad1"_s, 100.0}, {u"Dan1"_s, 21.0},
                                                            {u"Radek"_s, 5}, {u"Datum"_s, QDate(2018, 2, 28)}}),
         u"A2 X4", u"A2 X4: datum 28.02.2018 je před začátkem období 01.03.2018 – 31.03.2018."},
        // A deduction may be claimed later than the supplier declared the tax.
        {"before the period, received", row(u"B3", u"X5", {{u"Zaklad1"_s, 100.0}, {u"Dan1"_s, 21.0}, {u"Datum"_s, QDate(2018, 1, 15)}}),
         u"B3 X5", nullptr},
        {"no amount", row(u"B3", u"X6", {}), u"B3 X6", u"B3 X6: řádek nemá žádnou částku."},
        {"a tax 2 Kč off", row(u"B3", u"X7", {{u"Zaklad1"_s, 200.0}, {u"Dan1"_s, 44.0}}), u"B3 X7",
         u"B3 X7: daň 44 Kč neodpovídá základu 200 Kč při sazbě 21 % (42 Kč).", check::Severity::Warning},
        {"a tax 1 Kč off", row(u"B3", u"X8", {{u"Zaklad2"_s, 200.0}, {u"Dan2"_s, 31.0}}), u"B3 X8", nullptr},
        {"a tax A1 lacks", row(u"A1", u"X9", {{u"Dic"_s, partner}, {u"Zaklad1"_s, 100.0}, {u"Dan1"_s, 21.0}, {u"Kod"_s, u"4"_s}}),
         u"A1 X9", u"A1 X9: oddíl A1 nemá údaj „daň 1“."},
        {"reduced amounts on a basic line", row(u"A2", u"X10", {{u"Stat"_s, u"DE"_s}, {u"Zaklad2"_s, 100.0}, {u"Dan2"_s, 15.0}, {u"Radek"_s, 12}}),
         u"A2 X10", u"A2 X10: ř. 12 je pro základní sazbu, řádek má částky ve snížené sazbě."},
        {"no code", row(u"B1", u"X11", {{u"Dic"_s, partner}, {u"Zaklad1"_s, 100.0}, {u"Dan1"_s, 21.0}}), u"B1 X11",
         u"B1 X11: chybí kód předmětu plnění."},
        {"a correction without DIČ", row(u"A4", u"X12", {{u"Zaklad1"_s, 100.0}, {u"Dan1"_s, 21.0}, {u"Oprava"_s, u"A"_s}}),
         u"A4 X12", u"A4 X12: chybí DIČ odběratele."},
    };
    const int before = dm.Dkh->recordCount();
    // The rules over the rows (the schema's view of the file is the first test's).
    const auto rules = [this](const kh::StatementOptions &options = {}) {
        return kh::checkStatement(dm, kh::loadRegister(dm), options, rur::testing::kValidReturnToday);
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.why);
        appendRow(*dm.Dkh, rur::testing::inNameOrder(c.row));
        const QList<check::Finding> found = rules();
        QList<check::Finding> mine;
        for (const check::Finding &f : found)
            if (f.where == QString::fromUtf16(c.where))
                mine.append(f);
        if (!c.message) {
            EXPECT_TRUE(mine.isEmpty()) << check::findingLine(mine.value(0)).toStdString();
        } else {
            ASSERT_EQ(mine.size(), 1) << found.size();
            EXPECT_EQ(mine.first().message, QString::fromUtf16(c.message));
            EXPECT_EQ(mine.first().severity, c.severity);
            EXPECT_EQ(mine.first().table, u"Dkh"_s);
        }
        // Only this row's own fault: the rest of the statement stays clean.
        EXPECT_EQ(found.size(), mine.size());
        dm.Dkh->last();
        dm.Dkh->deleteRecord();
        ASSERT_EQ(dm.Dkh->recordCount(), before);
    }

    // A company files monthly even with a quarterly return; a subsequent statement needs the
    // day its reasons were found.
    setRow(*dm.Prp, {{u"M"_s, QVariant()}, {u"Q"_s, u"I."_s}, {u"Cislo"_s, 1}});
    EXPECT_EQ(messagesAt(rules(), u"Období"_s),
              QStringList{u"Období: právnická osoba podává kontrolní hlášení za každý měsíc, i když podává přiznání čtvrtletně."_s});
    setRow(*dm.Prp, {{u"Tds"_s, true}});
    EXPECT_TRUE(messagesAt(rules(), u"Období"_s).isEmpty());
    EXPECT_EQ(messagesAt(rules({u'N', QDate()}), u"Následné kontrolní hlášení"_s).size(), 1);
    EXPECT_TRUE(messagesAt(rules({u'N', QDate(2018, 4, 30)}), u"Následné kontrolní hlášení"_s).isEmpty());
}

TEST_F(ControlStatement, TheListShowsEachSectionWithItsRowsAndSums)
{
    rur::testing::ensureGuiApplication();
    rur::testing::fillStatementRegister(dm);
    const report::PreparedReport list = kh::prepareRegisterList(dm, u'B', 0);
    QStringList captions, notes, sums;
    for (const report::PreparedPage &page : list.pages)
        for (const report::PlacedItem &item : page.items) {
            if (item.name == u"QRDBTextNazev"_s)
                captions.append(item.text.left(4));
            if (item.name == u"QRDBTextPozn"_s && !item.text.isEmpty())
                notes.append(item.text);
            if (item.name == u"QRExprZaklad1"_s)
                sums.append(item.text);
        }
    // A5 lists the two rows of A4 that go there; its sums are what the file carries.
    EXPECT_EQ(captions, (QStringList{u"A.1."_s, u"A.2."_s, u"A.3."_s, u"A.4."_s, u"A.5."_s, u"B.1."_s, u"B.2."_s, u"B.3."_s}));
    EXPECT_EQ(notes, (QStringList{u"z A4"_s, u"z A4"_s, u"z B2"_s}));
    EXPECT_EQ(sums, (QStringList{u"50000,00"_s, u"20000,00"_s, u"300000,00"_s, u"101000,00"_s, u"13264,46"_s,
                                 u"40000,00"_s, u"30000,00"_s, u"2000,00"_s}));
    ASSERT_NE(list.find(u"QRLabelPoplatnik"_s), nullptr);
    EXPECT_EQ(list.find(u"QRLabelPoplatnik"_s)->text, u"Alfa „Beta“ s.r.o."_s);
    EXPECT_EQ(list.find(u"QRLabelObdobi"_s)->text, u"za měsíc březen 2018"_s);
    EXPECT_EQ(list.find(u"QRLabelForma"_s)->text, u"Kontrolní hlášení řádné"_s);
}
