// rur-cli append and delete-row on the list tables of data set D1.
#include "support/run_cli.h"
#include "support/test_root.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using rur::testing::cli;
using rur::testing::CliResult;

namespace {

class CliRows : public ::testing::Test {
protected:
    void SetUp() override
    {
        root.createDataSet(u"D1"_s);
        root.addCatalogueRow(1, u"První"_s);
    }
    CliResult run(const QStringList &args) { return cli(QStringList{u"--root"_s, root.path()} + args); }
    QJsonArray rows(const QString &table)
    {
        const CliResult r = run({u"show"_s, u"1"_s, table, u"--all"_s});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return QJsonDocument::fromJson(r.out.toUtf8()).array();
    }

    rur::testing::TestRoot root;
};

TEST_F(CliRows, AppendTypesTextsPostsAndRefusesWhatAWindowWouldRefuse)
{
    CliResult r = run({u"append"_s, u"1"_s, u"Mbzp"_s, u"Pc=3"_s, u"Bai=Česká spořitelna"_s, u"Cui=123-4567890"_s,
                       u"Kbi=0800"_s, u"Cnb=ano"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = run({u"append"_s, u"1"_s, u"Mbzp"_s, u"Pc=1"_s, u"Bai=KB"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QJsonArray all = rows(u"Mbzp"_s);
    ASSERT_EQ(all.size(), 2);
    EXPECT_EQ(all[0].toObject().value(u"Bai"_s).toString(), u"KB"_s);  // in Pc order
    EXPECT_EQ(all[1].toObject().value(u"Bai"_s).toString(), u"Česká spořitelna"_s);
    EXPECT_TRUE(all[1].toObject().value(u"Cnb"_s).toBool());

    // A number that is no number, a field the table lacks, a one-row table: refused, nothing added.
    r = run({u"append"_s, u"1"_s, u"Mbzp"_s, u"Pc=abc"_s});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(r.err.isEmpty());
    r = run({u"append"_s, u"1"_s, u"Mbzp"_s, u"Xyz=1"_s});
    EXPECT_EQ(r.exitCode, 1);
    r = run({u"append"_s, u"1"_s, u"Prp"_s, u"Jmb=Jan"_s});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(u"Prp"_s));
    r = run({u"append"_s, u"1"_s, u"Nic"_s});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(rows(u"Mbzp"_s).size(), 2);
}

TEST_F(CliRows, DeleteRowDeletesExactlyOneMatchingRow)
{
    for (const QString &pc : {u"1"_s, u"2"_s, u"3"_s})
        ASSERT_EQ(run({u"append"_s, u"1"_s, u"Mbzp"_s, u"Pc="_s + pc, u"Kbi=0100"_s}).exitCode, 0);
    CliResult r = run({u"delete-row"_s, u"1"_s, u"Mbzp"_s, u"--where"_s, u"Pc=2"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QJsonArray all = rows(u"Mbzp"_s);
    ASSERT_EQ(all.size(), 2);
    EXPECT_EQ(all[1].toObject().value(u"Pc"_s).toInt(), 3);

    r = run({u"delete-row"_s, u"1"_s, u"Mbzp"_s, u"--where"_s, u"Pc=7"_s});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(u"Pc = 7"_s)) << r.err.toStdString();
    // Two rows hold the code: nothing is deleted.
    r = run({u"delete-row"_s, u"1"_s, u"Mbzp"_s, u"--where"_s, u"Kbi=0100"_s});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(rows(u"Mbzp"_s).size(), 2);
    r = run({u"delete-row"_s, u"1"_s, u"Mbzp"_s});
    EXPECT_EQ(r.exitCode, 2);
}

}  // namespace
