// rur-cli transfer-journal and transfer-taxpayer: the transfers without windows, their
// messages and exit codes, over sibling data written with plain SQLite.
#include "base/Directories.h"
#include "data/DataM1.h"
#include "datasets/DataSetAccess.h"
#include "platform/IniFile.h"
#include "support/printers.h"
#include "support/run_cli.h"
#include "support/sibling_files.h"
#include "support/test_root.h"
#include "transfer/SiblingData.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>

using namespace Qt::StringLiterals;
using namespace rur;

namespace {

using Result = rur::testing::CliResult;

class CliTransfer : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.valid());
        root.createDataSet();
        root.addCatalogueRow(1, u"Firma"_s);
        journal.addJournal(2, u"D2"_s, u"2018-01-01"_s, u"2018-01-31"_s,
                           {{u"2018-01-10"_s, 1000, 210, u"1"_s}, {u"2018-02-10"_s, 500, 105, u"1"_s}});
    }

    Result cli(const QStringList &args) const
    {
        Result r = rur::testing::cli(QStringList{u"--root"_s, root.path()} + args);
        r.out = r.out.trimmed();
        r.err = r.err.trimmed();
        return r;
    }
    // A field of the data set's current row, as the program reads it.
    QVariant stored(const QString &table, const QString &field) const
    {
        base::Directories dirs;
        dirs.localDataRoot = dirs.dataRoot = root.path();
        dirs.notFound = false;
        data::TDM1 dm;
        datasets::openDataSet(dm, dirs, u"D1"_s);
        return dm.table(table)->field(field).value();
    }

    rur::testing::TestRoot root;
    QTemporaryDir folders;
    rur::testing::SiblingFolder journal{folders.path() + u"/Rizavuv uvaro 2018"_s, u"Pen.ini"_s};
};

}  // namespace

TEST_F(CliTransfer, TheJournalsPeriodIsStoredFirstThenTheReturnIsFilled)
{
    // A reversed period is refused by the journal's check: nothing happens on either side.
    Result r = cli({u"transfer-journal"_s, u"1"_s, u"--journal"_s, journal.catalogue(), u"--from"_s, u"1.3.2018"_s,
                    u"--to"_s, u"1.2.2018"_s});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, u"Datum konec období nemůže být menší než datum začátek období."_s);
    EXPECT_EQ(stored(u"Dtabn1"_s, u"C210"_s).toDouble(), 0);

    r = cli({u"transfer-journal"_s, u"1"_s, u"--journal"_s, journal.catalogue(), u"--from"_s, u"1.2.2018"_s, u"--to"_s,
             u"28.2.2018"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QString());
    EXPECT_EQ(r.err, u"Údaje z Peněžního deníku byly přeneseny."_s);
    EXPECT_EQ(stored(u"Dtabn1"_s, u"C210"_s).toDouble(), 500);
    // The journal feeds nothing of part 3: it stays blank, as its template.
    for (const QString &field : {u"C560"_s, u"C560a"_s, u"C570"_s, u"C580"_s, u"C710"_s})
        EXPECT_TRUE(stored(u"Dtabn3"_s, field).isNull()) << field.toStdString();
    transfer::SiblingData data(transfer::SiblingKind::Journal);
    ASSERT_TRUE(data.show(journal.catalogue(), 2));
    EXPECT_EQ(data.period()->field(u"Dk"_s).asDate(), QDate(2018, 2, 28));
    // The journal and its data set are remembered as the window remembers them.
    const platform::IniFile ini(root.dataSet() + u"D1.ini"_s);
    EXPECT_EQ(ini.readString(u"Prenos"_s, u"Denik"_s), journal.catalogue());
    EXPECT_EQ(ini.readInteger(u"Prenos"_s, u"DenikCislo"_s, 0), 2);

    // Without dates the stored period counts.
    rur::testing::runSql(journal.path() + u"D2/Dmt.DB"_s, u"UPDATE Dmt SET Dz = '2018-01-01', Dk = '2018-02-28'"_s);
    r = cli({u"transfer-journal"_s, u"1"_s, u"--journal"_s, journal.catalogue()});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(stored(u"Dtabn1"_s, u"C210"_s).toDouble(), 1500);
}

TEST_F(CliTransfer, ABadJournalPathOrNumberOrSourceIsToldWithExitCodeOne)
{
    Result r = cli({u"transfer-journal"_s, u"1"_s, u"--journal"_s, folders.path() + u"/nic/Data.DB"_s});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.startsWith(u"Údaje o poplatníkovi nelze zobrazit.\nZkontrolujte cestu k Peněžnímu deníku (adresář)."_s))
        << r.err.toStdString();
    r = cli({u"transfer-journal"_s, u"1"_s, u"--journal"_s, journal.catalogue(), u"--set"_s, u"7"_s});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.endsWith(u" není číslo 7."_s)) << r.err.toStdString();
    r = cli({u"transfer-journal"_s, u"1"_s, u"--journal"_s, journal.catalogue(), u"--from"_s, u"31.31.2018"_s});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(u"31.31.2018"_s) && r.err.endsWith(u" není platné datum."_s)) << r.err.toStdString();
    EXPECT_EQ(cli({u"transfer-taxpayer"_s, u"1"_s, u"fo"_s, u"--source"_s, journal.catalogue()}).exitCode, 2);
    EXPECT_EQ(cli({u"transfer-journal"_s, u"1"_s}).exitCode, 2);
    // A journal is no income-tax return: its data set has no Prp.DB.
    r = cli({u"transfer-taxpayer"_s, u"1"_s, u"po"_s, u"--source"_s, journal.catalogue()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(stored(u"Dtabn1"_s, u"C210"_s).toDouble(), 0);
}

TEST_F(CliTransfer, TheTaxpayerComesFromTheIndividualsReturn)
{
    rur::testing::SiblingFolder personal(folders.path() + u"/Redovo zevedara ZU 2018"_s, u"Dan.ini"_s);
    personal.addTaxReturn(1, u"D1"_s, false, {{u"Jm"_s, u"Eva"_s}, {u"Pr"_s, u"Malá"_s}, {u"Psc"_s, u"602 00"_s}});
    const Result r = cli({u"transfer-taxpayer"_s, u"1"_s, u"sz"_s, u"--source"_s, personal.catalogue()});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.err, u"Údaje o poplatníkovi byly přeneseny."_s);
    EXPECT_EQ(stored(u"Prp"_s, u"Pra"_s).toString(), u"Malá"_s);
    EXPECT_EQ(stored(u"Prp"_s, u"Psc"_s).toString(), u"60200"_s);
    EXPECT_EQ(platform::IniFile(root.dataSet() + u"D1.ini"_s).readInteger(u"Prenos"_s, u"DanSZCislo"_s, 0), 1);
}

TEST_F(CliTransfer, SumsBeyondWhatALineHoldsOrEntriesTheFormatForbidsChangeNothing)
{
    // Two entries each below the largest number, together beyond it: refused like a single
    // too large value, not written as 0.
    journal.addJournal(3, u"D3"_s, u"2018-01-01"_s, u"2018-01-31"_s,
                       {{u"2018-01-10"_s, 1.7e308, 0, u"1"_s}, {u"2018-01-11"_s, 1.7e308, 0, u"1"_s}});
    Result r = cli({u"transfer-journal"_s, u"1"_s, u"--journal"_s, journal.catalogue(), u"--set"_s, u"3"_s});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.endsWith(u"\nHodnota není platná pro ř. 1 – Základ daně. Povolený rozsah je -99999999999 až "
                               u"99999999999."_s))
        << r.err.toStdString();
    EXPECT_EQ(stored(u"Dtabn1"_s, u"C210"_s).toDouble(), 0);

    // A date with a time, bytes in a text: the journal is unreadable as its format says.
    int number = 4;
    for (const QString &statement : {u"UPDATE Pdev SET D = '2018-01-15 10:00:00'"_s, u"UPDATE Pdev SET Cdph = x'31'"_s}) {
        const QString dir = journal.addJournal(number, u"D%1"_s.arg(number), u"2018-01-01"_s, u"2018-01-31"_s,
                                               {{u"2018-01-15"_s, 1000, 210, u"1"_s}});
        rur::testing::runSql(dir + u"Pdev.DB"_s, statement);
        r = cli({u"transfer-journal"_s, u"1"_s, u"--journal"_s, journal.catalogue(), u"--set"_s, QString::number(number++)});
        EXPECT_EQ(r.exitCode, 1) << statement.toStdString();
        EXPECT_EQ(stored(u"Dtabn1"_s, u"C210"_s).toDouble(), 0) << statement.toStdString();
    }
}
