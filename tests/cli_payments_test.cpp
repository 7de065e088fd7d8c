// rur-cli abo and abo-settings over data set D1, with orders entered by rur-cli append.
#include "support/run_cli.h"
#include "support/test_root.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using rur::testing::cli;
using rur::testing::CliResult;

namespace {

class CliPayments : public ::testing::Test {
protected:
    void SetUp() override
    {
        root.createDataSet(u"D1"_s);
        root.addCatalogueRow(1, u"První"_s);
    }
    CliResult run(const QStringList &args) { return cli(QStringList{u"--root"_s, root.path()} + args); }
    int orders()
    {
        const CliResult r = run({u"show"_s, u"1"_s, u"Mban"_s, u"--all"_s});
        return int(QJsonDocument::fromJson(r.out.toUtf8()).array().size());
    }

    rur::testing::TestRoot root;
};

TEST_F(CliPayments, AboWritesTheFileAndEmptiesTheListUnlessKept)
{
    // The payer's account comes from the payment order through the new-row hook.
    ASSERT_EQ(run({u"set"_s, u"1"_s, u"Mtt"_s, u"Cui=123-4567890"_s, u"Kbi=0100"_s}).exitCode, 0);
    CliResult r = run({u"append"_s, u"1"_s, u"Mban"_s, u"Cu2=987654321"_s, u"Kod=0800"_s, u"Vs=1234567890"_s,
                       u"Ks=0308"_s, u"Ss=99"_s, u"Ca=1000"_s, u"Ds=30.04.2099"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    ASSERT_EQ(run({u"abo-settings"_s, u"1"_s, u"--next"_s, u"7"_s}).exitCode, 0);

    const QString out = root.path() + u"banka.kpc"_s;
    r = run({u"abo"_s, u"1"_s, u"--out"_s, out, u"--keep"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed(), out);
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray header = "UHL1" + QDate::currentDate().toString(u"ddMMyy"_s).toLatin1() + QByteArray(20, ' ')
                              + "0000000000001999\r\n";
    EXPECT_EQ(f.readAll(), header + "1 1501 007000 0100\r\n"
                                    "2 123-4567890 100000 300499\r\n"
                                    "987654321 100000 1234567890 08000308 99\r\n"
                                    "3 +\r\n"
                                    "5 +\r\n");
    EXPECT_EQ(orders(), 1);
    EXPECT_TRUE(run({u"abo-settings"_s, u"1"_s}).out.contains(u"Číslo pro další příkaz: 8"_s));

    r = run({u"abo"_s, u"1"_s, u"--out"_s, out});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(orders(), 0);
    // Nothing left to write: no file.
    r = run({u"abo"_s, u"1"_s, u"--out"_s, out});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_FALSE(QFileInfo::exists(out));
}

TEST_F(CliPayments, ABadOrderFailsAndBadSettingsFallBack)
{
    ASSERT_EQ(run({u"append"_s, u"1"_s, u"Mban"_s, u"Cu1=12'3"_s, u"Kodi=0100"_s, u"Cu2=1"_s, u"Kod=0800"_s,
                   u"Ca=5"_s}).exitCode, 0);
    CliResult r = run({u"abo"_s, u"1"_s, u"--out"_s, root.path() + u"a.kpc"_s});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(u"Příkaz na 1. řádku seznamu"_s)) << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(root.path() + u"a.kpc"_s));
    EXPECT_EQ(orders(), 1);

    r = run({u"abo-settings"_s, u"1"_s, u"--numbering"_s, u"no"_s, u"--from"_s, u"5"_s, u"--to"_s, u"x"_s,
             u"--next"_s, u"3"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(u"Používat interval účetních souborů: ne"_s)) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(u"od: 5 do: 999"_s));
    EXPECT_TRUE(r.out.contains(u"Číslo pro další příkaz: 5"_s));
    EXPECT_EQ(run({u"abo-settings"_s, u"1"_s, u"--numbering"_s, u"maybe"_s}).exitCode, 2);
}

}  // namespace
