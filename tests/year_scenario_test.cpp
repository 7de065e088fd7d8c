// A year of monthly returns typed, saved and settled through rur-cli, as a user would.
#include "support/run_cli.h"
#include "support/test_root.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

using Result = rur::testing::CliResult;

class CliRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.valid());
        root.createDataSet();
        root.addCatalogueRow(1, u"Plátce"_s);
    }

    Result run(const QStringList &args)
    {
        Result r = rur::testing::cli(QStringList{u"--root"_s, root.path()} + args);
        r.out = r.out.trimmed();
        r.err = r.err.trimmed();
        return r;
    }
    // Types into the current row of a table; the command must succeed.
    void set(const QString &table, const QStringList &assignments)
    {
        const Result r = run(QStringList{u"set"_s, u"1"_s, table} + assignments);
        ASSERT_EQ(r.exitCode, 0) << table.toStdString() << ": " << r.err.toStdString();
    }
    QJsonObject row(const QString &table)
    {
        return QJsonDocument::fromJson(run({u"show"_s, u"1"_s, table}).out.toUtf8()).object();
    }
    QJsonArray rows(const QString &table)
    {
        return QJsonDocument::fromJson(run({u"show"_s, u"1"_s, table, u"--all"_s}).out.toUtf8()).array();
    }

    rur::testing::TestRoot root;
};

using CliSaving = CliRun;
using YearScenario = CliRun;

}  // namespace

TEST_F(CliSaving, SetTypesTextsAsWindowsDoAndRefusesAValueWithoutStoringAnything)
{
    set(u"Dtabn2"_s, {u"C550=0,85"_s, u"C310b=100"_s, u"S550a=1500"_s});
    EXPECT_EQ(row(u"Dtabn2"_s).value(u"C550"_s).toDouble(), 0.85);
    set(u"Dtabn2"_s, {u"C550=0.5"_s, u"S550a="_s});
    const QJsonObject part2 = row(u"Dtabn2"_s);
    EXPECT_EQ(part2.value(u"C550"_s).toDouble(), 0.5);
    EXPECT_TRUE(part2.value(u"S550a"_s).isNull());
    set(u"Prp"_s, {u"Dan=ano"_s, u"Ddp=050318"_s});
    QJsonObject prp = row(u"Prp"_s);
    EXPECT_TRUE(prp.value(u"Dan"_s).toBool());
    EXPECT_EQ(prp.value(u"Ddp"_s).toString(), u"05.03.2018"_s);  // through the date input
    set(u"Prp"_s, {u"Dan=ne"_s});
    EXPECT_FALSE(row(u"Prp"_s).value(u"Dan"_s).toBool());

    // Each command types a good value first: none of it may be stored.
    const struct {
        QString table;
        QStringList assignments;
        QString message;
    } refused[] = {
        {u"Dtabn1"_s, {u"C210=5"_s, u"C220=abc"_s}, u"„abc“ není platná hodnota pro ř. 3 – Základ daně."_s},
        {u"Dtabn1"_s, {u"C210=5"_s, u"C21=abc"_s}, u"„abc“ není platná hodnota pro ř. 21."_s},
        {u"Dtabn2"_s, {u"C310b=5"_s, u"C380=1"_s}, u"Pole C380 je počítané."_s},
        {u"Dtabn2"_s, {u"C310b=5"_s, u"C550=12"_s},
         u"Hodnota 12 není platná pro ř. 52 – Koeficient. Povolený rozsah je -9,99 až 9,99."_s},
        {u"Prp"_s, {u"Dan=snad"_s}, u"„snad“ není platná hodnota pro pole „Zapisovat“."_s},
        // Whole numbers refuse a fraction instead of rounding it.
        {u"Prp"_s, {u"Tel=123"_s, u"Cislo=1,5"_s}, u"„1,5“ není platná hodnota pro pole „Číslo období“."_s},
        {u"Prp"_s, {u"Fuc=12,7"_s}, u"„12,7“ není platná hodnota pro pole „Číslo FÚ“."_s},
        // The year is four digits or nothing.
        {u"Prp"_s, {u"R=abcd"_s}, u"„abcd“ není platný rok. Zapište rok čtyřmi číslicemi, například 2018."_s},
        {u"Prp"_s, {u"R=32.1"_s}, u"„32.1“ není platný rok. Zapište rok čtyřmi číslicemi, například 2018."_s},
        {u"Dtabn1s"_s, {u"C210=5"_s},
         u"Tabulku Dtabn1s nelze upravovat: hotová přiznání a roční součty mění jen uložení RUR."_s},
    };
    for (const auto &c : refused) {
        const Result r = run(QStringList{u"set"_s, u"1"_s, c.table} + c.assignments);
        EXPECT_NE(r.exitCode, 0) << c.message.toStdString();
        EXPECT_EQ(r.err, c.message);
    }
    EXPECT_EQ(row(u"Dtabn1"_s).value(u"C210"_s).toDouble(), 0);
    EXPECT_EQ(row(u"Dtabn2"_s).value(u"C310b"_s).toDouble(), 100);
    prp = row(u"Prp"_s);
    EXPECT_EQ(prp.value(u"Cislo"_s).toInt(), 1);
    EXPECT_TRUE(prp.value(u"Tel"_s).isNull());
    EXPECT_EQ(prp.value(u"R"_s).toString(), u"2018"_s);
    set(u"Prp"_s, {u"R="_s});
    EXPECT_TRUE(row(u"Prp"_s).value(u"R"_s).isNull());
}

TEST_F(CliSaving, TypingLineOneSplitsOnlyAChangedAmount)
{
    // Amount with VAT at 21 %: tax 210 (1 210 × 0,1736 = 210,056), base 1 000.
    set(u"Dtabn1"_s, {u"S210=1210"_s});
    QJsonObject part1 = row(u"Dtabn1"_s);
    EXPECT_EQ(part1.value(u"C210"_s).toDouble(), 1000);
    EXPECT_EQ(part1.value(u"C210a"_s).toDouble(), 210);

    // The same text again splits nothing.
    set(u"Dtabn1"_s, {u"C210=5"_s, u"S210=1210"_s});
    EXPECT_EQ(row(u"Dtabn1"_s).value(u"C210"_s).toDouble(), 5);

    // The tax alone at a rate of 0 can't be split: an error, and nothing of the command stored.
    set(u"Dcis"_s, {u"Hd=0"_s});
    set(u"Prp"_s, {u"Dan=ano"_s});
    const Result r = run({u"set"_s, u"1"_s, u"Dtabn1"_s, u"C220=9"_s, u"S210=100"_s});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_FALSE(r.err.isEmpty());
    part1 = row(u"Dtabn1"_s);
    EXPECT_EQ(part1.value(u"C220"_s).toDouble(), 0);
    EXPECT_EQ(part1.value(u"S210"_s).toDouble(), 1210);
}

TEST_F(CliSaving, SaveCommandsPrintTheStatusAndDeleteFinishedRemovesThePeriod)
{
    set(u"Dtabn1"_s, {u"C210=1000"_s});
    Result r = run({u"save-return"_s, u"1"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.err, u"RUR za leden bylo uloženo."_s);
    EXPECT_EQ(row(u"Prp"_s).value(u"M"_s).toString(), u"únor"_s);

    set(u"Prp"_s, {u"M=leden"_s, u"Cislo=1"_s});
    set(u"Dtabn1"_s, {u"C210=2000"_s});
    r = run({u"save-return"_s, u"1"_s});  // the overwrite is asked, not answered: nothing saved
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.startsWith(u"RUR za leden je uloženo. Přepsat ?\n"_s)) << r.err.toStdString();
    EXPECT_EQ(rows(u"Dtabn1s"_s)[0].toObject().value(u"C210"_s).toDouble(), 1000);
    EXPECT_EQ(row(u"Prp"_s).value(u"M"_s).toString(), u"leden"_s);
    EXPECT_EQ(run({u"save-return"_s, u"1"_s, u"--overwrite"_s, u"snad"_s}).exitCode, 2);
    r = run({u"save-return"_s, u"1"_s, u"--overwrite"_s, u"yes"_s});
    EXPECT_EQ(r.err, u"RUR za leden bylo přepsáno."_s);
    EXPECT_EQ(rows(u"Dtabn1s"_s)[0].toObject().value(u"C210"_s).toDouble(), 2000);

    set(u"Prp"_s, {u"M=leden"_s, u"Cislo=1"_s});
    r = run({u"save-last"_s, u"1"_s, u"--overwrite"_s, u"no"_s});
    EXPECT_EQ(r.err, u"RUR bylo vypořádáno."_s);
    EXPECT_EQ(row(u"Dtabs"_s).value(u"C31"_s).toDouble(), 2000);

    r = run({u"delete-finished"_s, u"1"_s, u"1"_s});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(rows(u"Dtabn1s"_s).isEmpty());
    EXPECT_TRUE(rows(u"Dtabn2s"_s).isEmpty());
    r = run({u"delete-finished"_s, u"1"_s, u"1"_s});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_EQ(r.err, u"Období 1 není uloženo."_s);
}

// Twelve monthly returns of a payer with exempt supplies, so that part of the deductions
// is reduced by the coefficient 0,85:
//   every month   line 1  base 100 000, tax 21 000        (July: 121 000 with VAT typed
//                                                          into S210: base 99 994, tax 21 006)
//                 line 50 exempt supplies 15 000
//                 line 40 base 40 000, full deduction 8 400
//                 line 43 base 10 000, reduced deduction 2 100
//                 line 52 0,85 × 2 100 = 1 785              (September: typed 1 500)
// The year: line 1 bases 11 × 100 000 + 99 994 = 1 199 994 = N, D = N + 180 000 = 1 379 994,
// N ÷ D = 0,869564... + 0,00499 = 0,874554... → coefficient 0,87;
// line 46 reduced 12 × 2 100 = 25 200, lines 52 11 × 1 785 + 1 500 = 21 135,
// line 53 = 25 200 × 0,87 − 21 135 = 21 924 − 21 135 = 789.
// December's tax: line 62 21 000, line 63 8 400 + 1 785 + 789 = 10 974, own tax 10 026.
TEST_F(YearScenario, TwelveMonthlyReturnsSavedOneByOneAndSettled)
{
    const QStringList months{u"leden"_s, u"únor"_s,     u"březen"_s, u"duben"_s, u"květen"_s,   u"červen"_s,
                             u"červenec"_s, u"srpen"_s, u"září"_s,   u"říjen"_s, u"listopad"_s, u"prosinec"_s};
    set(u"Prp"_s, {u"Dan=ne"_s});
    set(u"Dtabn1"_s, {u"C210=100000"_s, u"C210a=21000"_s, u"C530=15000"_s});
    set(u"Dtabn2"_s, {u"C310=40000"_s, u"C310a=8400"_s, u"C320=10000"_s, u"C320b=2100"_s, u"C550=0,85"_s});
    for (int m = 1; m <= 12; ++m) {
        SCOPED_TRACE(months[m - 1].toStdString());
        if (m == 7)
            set(u"Dtabn1"_s, {u"S210=121000"_s});
        if (m == 8)
            set(u"Dtabn1"_s, {u"C210=100000"_s, u"C210a=21000"_s});
        if (m == 9)
            set(u"Dtabn2"_s, {u"S550a=1500"_s});
        if (m == 10)
            set(u"Dtabn2"_s, {u"S550a="_s});
        const Result r = run({m < 12 ? u"save-return"_s : u"save-last"_s, u"1"_s});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_EQ(r.err, u"RUR za "_s + months[m - 1]
                             + (m < 12 ? u" bylo uloženo."_s : u" bylo uloženo s vypořádáním."_s));
        if (m < 12) {
            EXPECT_EQ(row(u"Dtabn3"_s).value(u"C560a"_s).toDouble(), 0);
        }
    }

    const QJsonArray part1 = rows(u"Dtabn1s"_s), part2 = rows(u"Dtabn2s"_s);
    ASSERT_EQ(part1.size(), 12);
    ASSERT_EQ(part2.size(), 12);
    for (int m = 1; m <= 12; ++m) {
        SCOPED_TRACE(months[m - 1].toStdString());
        const QJsonObject p1 = part1[m - 1].toObject(), p2 = part2[m - 1].toObject();
        EXPECT_EQ(p1.value(u"Cislo"_s).toInt(), m);
        EXPECT_EQ(p1.value(u"M"_s).toString(), months[m - 1]);
        EXPECT_EQ(p2.value(u"M"_s).toString(), months[m - 1]);
        EXPECT_EQ(p1.value(u"C210"_s).toDouble(), m == 7 ? 99994 : 100000);
        EXPECT_EQ(p1.value(u"C210a"_s).toDouble(), m == 7 ? 21006 : 21000);
        EXPECT_EQ(p1.value(u"K210"_s).toDouble(), m == 7 ? 20999 : 21000);  // 99 994 × 21 % = 20 998,74
        EXPECT_EQ(p1.value(u"S210"_s).toDouble(), m >= 7 ? 121000 : 0);
        EXPECT_EQ(p1.value(u"C530"_s).toDouble(), 15000);
        EXPECT_EQ(p2.value(u"C390"_s).toDouble(), 8400);
        EXPECT_EQ(p2.value(u"C380"_s).toDouble(), 2100);
        EXPECT_EQ(p2.value(u"C550"_s).toDouble(), 0.85);
        EXPECT_EQ(p2.value(u"C550a"_s).toDouble(), m == 9 ? 1500 : 1785);
        EXPECT_EQ(p2.value(u"S550a"_s).isNull(), m != 9);
    }

    const QJsonObject totals = row(u"Dtabs"_s);
    EXPECT_EQ(totals.value(u"C31"_s).toDouble(), 1199994);
    EXPECT_EQ(totals.value(u"C530"_s).toDouble(), 180000);
    EXPECT_EQ(totals.value(u"K1"_s).toDouble(), 1199994);
    EXPECT_EQ(totals.value(u"C380"_s).toDouble(), 25200);
    EXPECT_EQ(totals.value(u"C550a"_s).toDouble(), 21135);
    EXPECT_EQ(totals.value(u"C560"_s).toDouble(), 0.87);
    EXPECT_EQ(totals.value(u"C560a"_s).toDouble(), 789);

    const QJsonObject tax = row(u"Dtabn3"_s);
    EXPECT_EQ(tax.value(u"C560"_s).toDouble(), 0.87);
    EXPECT_EQ(tax.value(u"C560a"_s).toDouble(), 789);
    EXPECT_EQ(tax.value(u"C730"_s).toDouble(), 21000);
    EXPECT_EQ(tax.value(u"C750"_s).toDouble(), 10974);
    EXPECT_EQ(tax.value(u"C753"_s).toDouble(), 10026);
    EXPECT_EQ(tax.value(u"C754"_s).toDouble(), 0);

    const QJsonObject prp = row(u"Prp"_s);
    EXPECT_EQ(prp.value(u"K1"_s).toDouble(), 0.87);
    EXPECT_EQ(prp.value(u"M"_s).toString(), u"prosinec"_s);  // the settlement keeps the period
    EXPECT_EQ(prp.value(u"Cislo"_s).toInt(), 12);
}
