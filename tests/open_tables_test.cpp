#include "base/Directories.h"
#include "data/DataM1.h"
#include "data/SchemaUpgrade.h"
#include "data/Schemas.h"
#include "datasets/DataSetAccess.h"
#include "engine/EngineError.h"
#include "engine/LocalSql.h"
#include "engine/Table.h"
#include "support/statement_register.h"
#include "support/test_root.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace rur;
using rur::testing::TestRoot;

namespace {

// Fields that the given column additions bring (1-based statement numbers of P1 to P12).
QStringList prpColumns(int first, int last)
{
    QStringList out;
    const QStringList statements = data::statementsP();
    for (int i = first; i <= last; ++i)
        for (const engine::FieldDef &f : engine::parseAlterTable(statements[i - 1]).columns)
            out.append(f.name);
    return out;
}

QStringList columnsOf(const QString &statement)
{
    QStringList out;
    for (const engine::FieldDef &f : engine::parseAlterTable(statement).columns)
        out.append(f.name);
    return out;
}

class OpenTables : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.valid());
        root.createDataSet();
        dirs.localDataRoot = dirs.dataRoot = root.path();
        dirs.notFound = false;
    }

    void open() { datasets::openDataSet(dm, dirs, u"D1"_s); }

    QString openError()
    {
        try {
            open();
        } catch (const engine::EngineError &e) {
            return e.message();
        }
        return {};
    }

    QString text(engine::Table &t, const QString &name) { return t.field(name).asString(); }

    // Sets the rates of the data set so that a test sees whether they were replaced.
    void setRates(double dd, double hd)
    {
        engine::Database db(u"Danove"_s);
        db.setDirectory(root.dataSet());
        engine::Table dcis(&db, data::dcisDef());
        dcis.open();
        dcis.edit();
        dcis.field(u"Dd"_s).setValue(dd);
        dcis.field(u"Hd"_s).setValue(hd);
        dcis.post();
    }

    TestRoot root;
    base::Directories dirs;
    data::TDM1 dm;
};

}  // namespace

TEST_F(OpenTables, AnUpToDateDataSetOpensWithoutChangingAByte)
{
    const auto tablesOnly = [](QMap<QString, QByteArray> files) {
        files.removeIf([](auto it) { return !it.key().endsWith(u".DB"_s); });
        return files;
    };
    const auto before = tablesOnly(rur::testing::snapshot(root.dataSet()));
    open();
    EXPECT_TRUE(dm.tablesOpen());
    // Tables that stay open and those closed again at the end of their step.
    for (const char16_t *name : {u"Dcis", u"Dtabn1", u"Dtabn2", u"Dtabn3", u"Prp", u"Prppz", u"Dmt", u"Dtabn1s",
                                 u"Dtabn2s", u"Dtabs", u"Dtabss", u"Mtt", u"Mdp", u"Dzal1"})
        EXPECT_TRUE(dm.table(QString::fromUtf16(name))->isActive()) << QString::fromUtf16(name).toStdString();
    for (const char16_t *name : {u"Dtab1", u"Dtab2", u"Dtab1s", u"Dtab2s", u"Dpsn1", u"Dpsn2", u"Mban", u"Mban1",
                                 u"Mbzp", u"Maz"})
        EXPECT_FALSE(dm.table(QString::fromUtf16(name))->isActive()) << QString::fromUtf16(name).toStdString();
    EXPECT_EQ(dm.Dcis->field(u"Hd"_s).asFloat(), 21.0);
    EXPECT_EQ(text(*dm.Prp, u"M"_s), u"leden"_s);
    dm.closeAll();
    open();
    dm.closeAll();
    EXPECT_EQ(tablesOnly(rur::testing::snapshot(root.dataSet())), before);
}

TEST_F(OpenTables, AnOldTaxpayerRowReceivesEveryColumnAndFillIn)
{
    setRates(14, 20);
    root.writeOldTable(u"D1"_s, data::prpDef(), prpColumns(1, 12),
                       {{{u"M"_s, u"březen"_s}, {u"Cislo"_s, 3}, {u"R"_s, u"2011"_s}, {u"Oj1"_s, u"ABC s.r.o."_s},
                         {u"Pr"_s, u"Novák"_s}, {u"Jm"_s, u"Jan"_s}, {u"Mi"_s, u"Praha"_s}, {u"Pro"_s, u"Horák"_s},
                         {u"Pkp"_s, u"Dlouhá 5"_s}}});
    open();
    engine::Table &prp = *dm.Prp;
    EXPECT_EQ(text(prp, u"Oj1a"_s), u"ABC s.r.o."_s);  // F1
    EXPECT_EQ(text(prp, u"Pra"_s), u"Novák"_s);
    EXPECT_EQ(text(prp, u"Jma"_s), u"Jan"_s);
    EXPECT_EQ(text(prp, u"Mia"_s), u"Praha"_s);
    EXPECT_EQ(text(prp, u"Proa"_s), u"Horák"_s);
    EXPECT_EQ(text(prp, u"Pkpa"_s), u"Dlouhá 5"_s);
    EXPECT_EQ(text(prp, u"Eu"_s), u"ne"_s);
    EXPECT_FALSE(prp.field(u"Dan"_s).asBoolean());
    EXPECT_TRUE(prp.field(u"P1"_s).asBoolean());  // F2
    EXPECT_FALSE(prp.field(u"P2"_s).asBoolean());
    EXPECT_FALSE(prp.field(u"P4"_s).asBoolean());
    EXPECT_EQ(text(prp, u"Jmb"_s), u"Jan"_s);
    EXPECT_EQ(text(prp, u"Q2"_s), u"I."_s);  // F3
    EXPECT_FALSE(prp.field(u"P3s"_s).asBoolean());  // F4
    EXPECT_TRUE(prp.field(u"Dpdr1"_s).asBoolean());  // F6
    EXPECT_FALSE(prp.field(u"Dpdd1"_s).asBoolean());
    EXPECT_FALSE(prp.field(u"K1p"_s).asBoolean());  // March 2011: before the percentages
    EXPECT_FALSE(prp.field(u"Tds"_s).asBoolean());  // F7: a company
    EXPECT_TRUE(prp.field(u"Tzs"_s).asBoolean());
    EXPECT_EQ(text(prp, u"Ojp3"_s), u"ABC s.r.o."_s);
    EXPECT_EQ(text(prp, u"Poznod"_s), u"O"_s);
    EXPECT_TRUE(prp.field(u"Fuc"_s).isNull());  // F8
    EXPECT_EQ(dm.Dcis->field(u"Dd"_s).asFloat(), 15.0);
    EXPECT_EQ(dm.Dcis->field(u"Hd"_s).asFloat(), 21.0);
    EXPECT_EQ(dm.captionText(), u"RUR 17.00"_s);  // both a person and a company name now

    // Opening once more changes nothing.
    const auto before = rur::testing::snapshot(root.dataSet());
    dm.closeAll();
    open();
    dm.closeAll();
    EXPECT_EQ(rur::testing::snapshot(root.dataSet()).value(u"Prp.DB"_s), before.value(u"Prp.DB"_s));
}

TEST_F(OpenTables, OnlyTheLastAdditionMissingRunsOnlyItsFillIn)
{
    setRates(14, 20);
    root.writeOldTable(u"D1"_s, data::prpDef(), prpColumns(12, 12),
                       {{{u"Fuc"_s, 451}, {u"Oj1"_s, u"Stará"_s}, {u"Oj1a"_s, u"Nová"_s}, {u"Eu"_s, u"ano"_s},
                         {u"Ul"_s, u"Dlouhá 12"_s}, {u"Cpo"_s, u"7"_s}, {u"Q2"_s, u"III."_s}, {u"R"_s, u"2010"_s},
                         {u"K1p"_s, 1}, {u"Jmb"_s, u"Petr"_s}, {u"Jma"_s, u"Pavel"_s}}});
    open();
    engine::Table &prp = *dm.Prp;
    EXPECT_TRUE(prp.field(u"Fuc"_s).isNull());
    EXPECT_EQ(dm.Dcis->field(u"Dd"_s).asFloat(), 15.0);
    EXPECT_EQ(dm.Dcis->field(u"Hd"_s).asFloat(), 21.0);
    EXPECT_EQ(text(prp, u"Oj1a"_s), u"Nová"_s);
    EXPECT_EQ(text(prp, u"Eu"_s), u"ano"_s);
    EXPECT_EQ(text(prp, u"Ul"_s), u"Dlouhá 12"_s);
    EXPECT_EQ(text(prp, u"Cpo"_s), u"7"_s);
    EXPECT_EQ(text(prp, u"Q2"_s), u"III."_s);
    EXPECT_EQ(text(prp, u"Jmb"_s), u"Petr"_s);
    EXPECT_TRUE(prp.field(u"K1p"_s).asBoolean());
}

TEST_F(OpenTables, StreetNumbersContactNameAndReturnKindAreSplitOnUpgrade)
{
    struct Case {
        QString street, expectedStreet, expectedCpocp, expectedCpoco;
    };
    const QList<Case> cases = {
        {u"Nádražní 12a"_s, u"Nádražní"_s, u"12a"_s, QString()},
        {u"Dlouhá 1234/5"_s, u"Dlouhá"_s, u"1234"_s, u"5"_s},
        {u"Nádražní"_s, u"Nádražní"_s, QString(), QString()},
        {u"Na Příkopě 1234567890"_s, u"Na Příkopě 1234567890"_s, QString(), QString()},
    };
    for (const Case &c : cases) {
        dm.closeAll();
        root.writeOldTable(u"D1"_s, data::prpDef(), prpColumns(7, 12),
                           {{{u"Ul"_s, c.street}, {u"St"_s, u"ČR"_s}, {u"Ses"_s, u"Jan Novák"_s},
                             {u"Rp"_s, u"opravné"_s}, {u"R"_s, u"2018"_s}, {u"M"_s, u"leden"_s}, {u"Cislo"_s, 1}}});
        open();
        engine::Table &prp = *dm.Prp;
        EXPECT_EQ(text(prp, u"Ul"_s), c.expectedStreet) << c.street.toStdString();
        EXPECT_EQ(text(prp, u"Cpocp"_s), c.expectedCpocp) << c.street.toStdString();
        EXPECT_EQ(text(prp, u"Cpoco"_s), c.expectedCpoco) << c.street.toStdString();
        EXPECT_EQ(text(prp, u"Sta2"_s), u"ČR"_s);
        EXPECT_EQ(text(prp, u"Sesjm"_s), u"Jan"_s);
        EXPECT_EQ(text(prp, u"Sespr"_s), u"Novák"_s);
        EXPECT_TRUE(prp.field(u"Dpdr1"_s).asBoolean());  // a corrective return
        EXPECT_TRUE(prp.field(u"Dpdo1"_s).asBoolean());
        EXPECT_FALSE(prp.field(u"Dpdd1"_s).asBoolean());
        EXPECT_TRUE(prp.field(u"K1p"_s).asBoolean());
        EXPECT_TRUE(prp.field(u"Tds"_s).asBoolean());  // no company name: a person
    }
}

TEST_F(OpenTables, AMissingReturnTableIsCopiedAnOldOneKeepsItsRows)
{
    QFile::remove(root.dataSet() + u"Dtabn1.DB"_s);
    root.writeOldTable(u"D1"_s, data::dtabn2sDef(), columnsOf(data::statementU5(u"Dtabn2s"_s)),
                       {{{u"Cislo"_s, 1}, {u"C310"_s, 100.0}}, {{u"Cislo"_s, 2}, {u"C310"_s, 200.0}}});
    open();
    EXPECT_EQ(dm.Dtabn1->recordCount(), 1);
    EXPECT_EQ(dm.Dtabn2s->recordCount(), 2);
    dm.Dtabn2s->first();
    EXPECT_EQ(dm.Dtabn2s->field(u"C310"_s).asFloat(), 100.0);
    // Every row was touched: the store rules gave the new amounts their zero.
    EXPECT_FALSE(dm.Dtabn2s->field(u"C48"_s).isNull());
    EXPECT_EQ(dm.Dtabn2s->field(u"C48"_s).asFloat(), 0.0);
    dm.Dtabn2s->last();
    EXPECT_EQ(dm.Dtabn2s->field(u"C48"_s).asFloat(), 0.0);
    dm.closeAll();

    root.writeOldTable(u"D1"_s, data::dtabn1Def(),
                       columnsOf(data::statementU3(u"Dtabn1"_s)) + columnsOf(data::statementU4(u"Dtabn1"_s)),
                       {{{u"C210"_s, 1000.0}, {u"C210a"_s, 210.0}}});
    open();
    EXPECT_EQ(dm.Dtabn1->recordCount(), 1);
    EXPECT_EQ(dm.Dtabn1->field(u"C210"_s).asFloat(), 1000.0);
    EXPECT_TRUE(rur::testing::fileColumns(root.dataSet() + u"Dtabn1.DB"_s).contains(u"C34"_s));
}

TEST_F(OpenTables, OlderPrintBankAndOldLayoutTablesAreUpgraded)
{
    root.writeOldTable(u"D1"_s, data::dmtDef(), {u"Prh1"_s, u"Trh1"_s, u"Vhn"_s, u"Vln"_s}, {{{u"Kop"_s, 2}}});
    root.writeOldTable(u"D1"_s, data::mbanDef(), {u"M1"_s}, {{{u"Cu2"_s, u"123"_s}}});
    root.writeOldTable(u"D1"_s, data::mttDef(), {u"Z1"_s}, {{{u"Vs"_s, u"99"_s}}});
    root.writeOldTable(u"D1"_s, data::dtab2sDef(), columnsOf(data::statementU2(u"Dtab2s"_s)),
                       {{{u"Cislo"_s, 4}}, {{u"Cislo"_s, 5}}});
    root.writeOldTable(u"D1"_s, data::dtabsDef(), columnsOf(data::statementS1()) + columnsOf(data::statementS2()), {});
    QFile::remove(root.dataSet() + u"Maz.DB"_s);
    open();
    engine::Table &dmt = *dm.Dmt;
    EXPECT_EQ(dmt.field(u"Kop"_s).asInteger(), 2);
    EXPECT_FALSE(dmt.field(u"Prh1"_s).asBoolean());
    EXPECT_EQ(text(dmt, u"Trh1"_s), u"vybranou stránku"_s);
    EXPECT_EQ(dmt.field(u"Vhn"_s).asInteger(), 0);
    EXPECT_EQ(dmt.field(u"Vln"_s).asInteger(), 8);
    EXPECT_FALSE(dmt.field(u"Dpt"_s).isNull());  // small integers are stored as numbers
    EXPECT_FALSE(dm.Mtt->field(u"Z1"_s).isNull());
    EXPECT_FALSE(dm.Mtt->field(u"Z1"_s).asBoolean());
    EXPECT_EQ(text(*dm.Mtt, u"Vs"_s), u"99"_s);
    EXPECT_EQ(dm.Dtabs->recordCount(), 1);  // touched: the single row exists
    dm.Mban->open();
    EXPECT_EQ(text(*dm.Mban, u"Cu2"_s), u"123"_s);
    dm.Dtab2s->open();
    EXPECT_EQ(dm.Dtab2s->recordCount(), 2);
    dm.Maz->open();
    EXPECT_TRUE(dm.Maz->isEmpty());
}

TEST_F(OpenTables, ADamagedTableIsReportedAndNeverOverwritten)
{
    for (const char16_t *file : {u"Dmt.DB", u"Mdp.DB"}) {
        dm.closeAll();
        root.createDataSet();
        const QString path = root.dataSet() + QString::fromUtf16(file);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QByteArray("SQLite format 3\0", 16) + QByteArray(900, '\x13'));
        f.close();
        const QByteArray damaged = rur::testing::snapshot(root.dataSet()).value(QString::fromUtf16(file));
        EXPECT_EQ(openError(), u"Tabulka "_s + QString::fromUtf16(file) + u" je poškozená nebo nečitelná."_s);
        EXPECT_FALSE(dm.tablesOpen());
        EXPECT_EQ(rur::testing::snapshot(root.dataSet()).value(QString::fromUtf16(file)), damaged);
    }
    dm.closeAll();
    root.createDataSet();
    QFile::remove(root.dataSet() + u"Dcis.DB"_s);
    EXPECT_EQ(openError(), u"Tabulka Dcis.DB neexistuje."_s);
}

TEST_F(OpenTables, AKilledTemplateCopyLeavesEveryTableOpenable)
{
    for (const char *point : {"replace:writing", "replace:before-rename", "replace:after-rename", "open:after-copy"}) {
        dm.closeAll();
        for (const char16_t *file : {u"Maz.DB", u"Dtabn3.DB", u"Mdp.DB"})
            QFile::remove(root.dataSet() + QString::fromUtf16(file));
        ASSERT_TRUE(rur::testing::killedAt(point, [this] {
            data::TDM1 child;
            base::Directories d = dirs;
            datasets::openDataSet(child, d, u"D1"_s);
        })) << point;
        // Whatever the copy left, every file present is a whole table and the next opening
        // completes the data set.
        EXPECT_EQ(openError(), QString()) << point;
        EXPECT_TRUE(dm.tablesOpen());
    }
}

TEST_F(OpenTables, CaptionNamesAPersonOrACompany)
{
    open();
    EXPECT_EQ(dm.captionText(), u"RUR 17.00"_s);
    dm.Prp->edit();
    dm.Prp->field(u"Tia"_s).setValue(u"Ing."_s);
    dm.Prp->field(u"Pra"_s).setValue(u"Novák"_s);
    dm.Prp->post();
    EXPECT_EQ(dm.captionText(), u"RUR 17.00 - Ing.  Novák"_s);
    dm.Prp->edit();
    dm.Prp->field(u"Ojp3"_s).setValue(u"Firma"_s);
    dm.Prp->post();
    EXPECT_EQ(dm.captionText(), u"RUR 17.00"_s);  // both kinds filled
    // A row that names nobody leaves the caption to the data set's name in the catalogue.
    dm.dataSetName = u" Nová firma "_s;
    EXPECT_EQ(dm.captionText(), u"RUR 17.00 - Nová firma"_s);
    dm.Prp->edit();
    dm.Prp->field(u"Ojp3"_s).setValue(QVariant());
    dm.Prp->post();
    EXPECT_EQ(dm.captionText(), u"RUR 17.00 - Ing.  Novák"_s);
}

TEST_F(OpenTables, TheRegisterOfDocumentsIsMadeForAnOlderDataSetAndItsTemplate)
{
    // A data set of an earlier edition, in a data root installed before the register existed.
    QFile::remove(root.dataSet() + u"Dkh.DB"_s);
    QFile::remove(root.path() + u"Data/Dkh.DB"_s);
    open();
    EXPECT_TRUE(QFile::exists(root.dataSet() + u"Dkh.DB"_s));
    EXPECT_TRUE(QFile::exists(root.path() + u"Data/Dkh.DB"_s));
    dm.Dkh->open();
    EXPECT_EQ(dm.Dkh->recordCount(), 0);
    rur::testing::appendRow(*dm.Dkh, {{u"Oddil"_s, u"A4"_s}, {u"Zaklad1"_s, 100.0}});
    dm.closeAll();

    // Opened again, the register keeps its rows.
    open();
    dm.Dkh->open();
    EXPECT_EQ(dm.Dkh->recordCount(), 1);
}
