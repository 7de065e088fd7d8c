// Rules of the return tables: rounding on store, control values, totals, the tax
// calculation, the split of lines 1 and 2, the taxpayer row and the tables nothing reads.
#include "base/Directories.h"
#include "data/DataM1.h"
#include "datasets/DataSetAccess.h"
#include "engine/Table.h"
#include "platform/Prompter.h"
#include "support/rows.h"
#include "support/test_root.h"
#include "vat/Split.h"
#include "vat/TaxpayerRules.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace rur;
using engine::Table;

namespace {

class ReturnRulesBase : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.valid());
        rur::testing::openNewDataSet(root, dirs, dm);
    }

    // Stores the rates and refreshes the open tables, as the rates window does.
    void setRates(double reduced, double basic) { store(*dm.Dcis, {{u"Dd"_s, reduced}, {u"Hd"_s, basic}}); }

    void setFlag(const QString &name, bool value) { store(*dm.Prp, {{name, value}}); }

    // Posts the values into the current row, then refreshes every open table.
    void store(Table &t, const rur::testing::FieldValues &values)
    {
        rur::testing::setRow(t, values);
        dm.Obnovit1();
    }

    // Exact values (an empty QVariant for an empty field).
    void expectValues(Table &t, const QVariantMap &values)
    {
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            EXPECT_EQ(t.field(it.key()).value(), it.value()) << t.name().toStdString() << "." << it.key().toStdString();
    }

    double num(Table &t, const QString &name) { return t.field(name).asFloat(); }

    rur::testing::TestRoot root;
    base::Directories dirs;
    data::TDM1 dm;
};

// ---- Output side -------------------------------------------------------------------------

using OutputRules = ReturnRulesBase;

TEST_F(OutputRules, ControlValuesRoundHalvesAwayFromZeroAtTheLinesRate)
{
    setRates(15, 21);
    Table &t = *dm.Dtabn1;
    t.edit();
    struct Case {
        double base, reduced, basic;
    };
    for (const Case &c : {Case{10, 2, 2}, Case{30, 5, 6}, Case{-10, -2, -2}, Case{1000, 150, 210},
                          Case{-1000, -150, -210}}) {
        for (const QString &line : {u"210"_s, u"220"_s, u"230"_s, u"260"_s, u"110"_s, u"270"_s}) {
            t.field(u"C"_s + line).setValue(c.base);
            EXPECT_EQ(num(t, u"K"_s + line), c.basic) << "line " << line.toStdString() << " base " << c.base;
        }
        for (const QString &line : {u"215"_s, u"225"_s, u"235"_s, u"265"_s, u"111"_s, u"275"_s}) {
            t.field(u"C"_s + line).setValue(c.base);
            EXPECT_EQ(num(t, u"K"_s + line), c.reduced) << "line " << line.toStdString() << " base " << c.base;
        }
    }
    expectValues(t, {{u"Dd"_s, 15.0}, {u"Hd"_s, 21.0}, {u"K240"_s, 0.0}, {u"K245"_s, 0.0}});
}

TEST_F(OutputRules, StoreRoundsByTextAndEmptyAmountsBecomeZero)
{
    setRates(15, 21);
    // Text rounding works on the binary value: 28.499999999999996 stays below the half.
    store(*dm.Dtabn1, {{u"C210"_s, 100.5}, {u"C210a"_s, 28.499999999999996}, {u"C240"_s, -12.5}, {u"S215"_s, 7.4}});
    expectValues(*dm.Dtabn1, {{u"C210"_s, 101.0}, {u"C210a"_s, 28.0}, {u"C240"_s, -13.0}, {u"S215"_s, 7.0},
                              {u"S210"_s, 0.0}, {u"C600"_s, 0.0}, {u"C10a"_s, 0.0}, {u"C34"_s, 0.0},
                              {u"K210"_s, 21.0}});  // from the rounded 101
}

TEST_F(OutputRules, FinishedReturnsFollowTheRatesNowAndKeepTheirKey)
{
    setRates(15, 21);
    Table &s = *dm.Dtabn1s;
    s.append();
    s.field(u"Cislo"_s).setValue(3);
    s.field(u"M"_s).setValue(u"březen"_s);
    s.field(u"C210"_s).setValue(1000.4);
    s.field(u"C210a"_s).setValue(210.0);
    s.post();
    expectValues(s, {{u"Cislo"_s, 3}, {u"M"_s, u"březen"_s}, {u"Q"_s, QVariant()}, {u"C210"_s, 1000.0},
                     {u"K210"_s, 210.0}});

    setRates(10, 20);
    ASSERT_TRUE(s.findKey({3}));
    expectValues(s, {{u"Hd"_s, 20.0}, {u"K210"_s, 200.0}, {u"C210a"_s, 210.0}});
}

TEST_F(OutputRules, RatesAreStoredToTwoDecimals)
{
    setRates(14.994, 21.006);
    expectValues(*dm.Dcis, {{u"Dd"_s, 14.99}, {u"Hd"_s, 21.01}});
}

// ---- Split of lines 1 and 2 --------------------------------------------------------------

class Split : public ReturnRulesBase {
protected:
    bool split(int line, double amount) { return vat::splitAmount(dm, line, amount, prompter); }
    platform::ScriptedPrompter prompter;
};

TEST_F(Split, AmountIncludingVatAtTwentyAndFourteen)
{
    setRates(14, 20);
    ASSERT_TRUE(split(1, 1210));  // k 0.1667: 201.707
    ASSERT_TRUE(split(2, 100));   // k 0.1228: 12.28
    Table &t = *dm.Dtabn1;
    expectValues(t, {{u"C210a"_s, 202.0}, {u"C210"_s, 1008.0}, {u"C215a"_s, 12.0}, {u"C215"_s, 88.0}});
    EXPECT_TRUE(prompter.messages.isEmpty());
    // Nothing is stored until the user stores the row.
    EXPECT_EQ(t.state(), Table::State::Edit);
    t.cancel();
    EXPECT_TRUE(t.field(u"C210"_s).isNull());
}

TEST_F(Split, TaxAloneGivesTheBase)
{
    setRates(14, 20);
    setFlag(u"Dan"_s, true);
    ASSERT_TRUE(split(1, 1000));
    expectValues(*dm.Dtabn1, {{u"C210"_s, 5000.0}, {u"C210a"_s, 1000.0}});
}

TEST_F(Split, RateOfZeroDividesNowhere)
{
    setRates(0, 0);
    ASSERT_TRUE(split(1, 1210));  // including VAT: no tax, all base
    expectValues(*dm.Dtabn1, {{u"C210a"_s, 0.0}, {u"C210"_s, 1210.0}, {u"K210"_s, 0.0}});
    dm.Dtabn1->post();

    setFlag(u"Dan"_s, true);
    EXPECT_FALSE(split(2, 500));  // the tax alone gives no base
    EXPECT_EQ(prompter.errors().size(), 1);
    EXPECT_EQ(dm.Dtabn1->state(), Table::State::Edit);
    expectValues(*dm.Dtabn1, {{u"C215"_s, 0.0}, {u"C215a"_s, 0.0}});
}

TEST_F(Split, ResultBeyondTheBoundsAssignsNothing)
{
    setRates(0.01, 20);
    setFlag(u"Dan"_s, true);
    store(*dm.Dtabn1, {{u"C215"_s, 1.0}, {u"C215a"_s, 2.0}});
    EXPECT_FALSE(split(2, 99999999));  // base 999 999 990 000
    EXPECT_EQ(prompter.errors().size(), 1);
    expectValues(*dm.Dtabn1, {{u"C215"_s, 1.0}, {u"C215a"_s, 2.0}});
}

TEST_F(Split, OnlyAChangedTextSplits)
{
    EXPECT_FALSE(vat::splitNeeded(u"1210"_s, u"1210"_s));
    EXPECT_FALSE(vat::splitNeeded(QString(), QString()));
    EXPECT_TRUE(vat::splitNeeded(u"1210"_s, u"1211"_s));
    EXPECT_TRUE(vat::splitNeeded(QString(), u"0"_s));
}

// ---- Deductions --------------------------------------------------------------------------

using DeductionRules = ReturnRulesBase;

TEST_F(DeductionRules, LineFortySixAndLineFiftyTwo)
{
    Table &t = *dm.Dtabn2;
    // Full column: lines 40 to 45 only, each a distinct bit; lines 47 and retired ones stay out.
    store(t, {{u"C550"_s, 0.85}, {u"C310b"_s, 10000.0}, {u"C320b"_s, 2000.0}, {u"C48b"_s, 500.0},
              {u"C310a"_s, 1.0}, {u"C315a"_s, 2.0}, {u"C340a"_s, 4.0}, {u"C320a"_s, 8.0}, {u"C325a"_s, 16.0},
              {u"C370a"_s, 32.0}, {u"C48a"_s, 64.0}, {u"C330a"_s, 128.0}});
    expectValues(t, {{u"C380"_s, 12000.0}, {u"C550a"_s, 10200.0}, {u"C390"_s, 63.0}});

    store(t, {{u"C310b"_s, 1003.0}, {u"C320b"_s, 0.0}});
    EXPECT_EQ(num(t, u"C550a"_s), 853.0);  // 852.55

    store(t, {{u"C550"_s, QVariant()}});
    expectValues(t, {{u"C550"_s, 0.0}, {u"C550a"_s, 0.0}});
}

TEST_F(DeductionRules, OverrideOfLineFiftyTwo)
{
    Table &t = *dm.Dtabn2;
    store(t, {{u"C550"_s, 0.85}, {u"C310b"_s, 12000.0}, {u"S550a"_s, 0.0}});
    EXPECT_EQ(num(t, u"C550a"_s), 0.0);
    store(t, {{u"S550a"_s, 777.4}});
    EXPECT_EQ(num(t, u"C550a"_s), 777.0);
    store(t, {{u"S550a"_s, QVariant()}});
    expectValues(t, {{u"S550a"_s, QVariant()}, {u"C550a"_s, 10200.0}});  // empty stays empty
}

TEST_F(DeductionRules, CoefficientIsStoredToTwoDecimalsAndPrintedAsPercent)
{
    Table &t = *dm.Dtabn2;
    store(t, {{u"C550"_s, 0.856}});
    EXPECT_EQ(num(t, u"C550"_s), 0.86);
    store(t, {{u"C550"_s, 0.854}});
    EXPECT_EQ(num(t, u"C550"_s), 0.85);

    setFlag(u"K1p"_s, true);
    EXPECT_EQ(t.field(u"C550k"_s).displayText(), u"85"_s);
    setFlag(u"K1p"_s, false);
    EXPECT_EQ(t.field(u"C550k"_s).displayText(), u"0,85"_s);
}

// ---- Tax calculation ---------------------------------------------------------------------

using TaxCalculation = ReturnRulesBase;

TEST_F(TaxCalculation, OwnTaxFromEveryOutputLineLessTheRefund)
{
    // Twelve output taxes as distinct bits and the thirteenth making up 50 000, so that none
    // is lost; a retired tax is no part of line 62.
    QVariantMap output{{u"C600"_s, 2000.0}, {u"C240a"_s, 999.0}};
    double bit = 1, total = 0;
    for (const QString &n : {u"C210a"_s, u"C215a"_s, u"C220a"_s, u"C225a"_s, u"C230a"_s, u"C235a"_s, u"C260a"_s,
                             u"C265a"_s, u"C255a"_s, u"C110a"_s, u"C111a"_s, u"C270a"_s}) {
        output[n] = bit;
        total += bit;
        bit *= 2;
    }
    output[u"C275a"_s] = 50000.0 - total;
    store(*dm.Dtabn1, rur::testing::inNameOrder(output));
    store(*dm.Dtabn2, {{u"C310a"_s, 30000.0}});
    expectValues(*dm.Dtabn3, {{u"C730"_s, 48000.0}, {u"C750"_s, 30000.0}, {u"C753"_s, 18000.0}, {u"C754"_s, 0.0},
                              {u"C780"_s, 0.0}});
}

TEST_F(TaxCalculation, LineSixtyThreeAddsLinesFiftyTwoFiftyThreeAndSixty)
{
    store(*dm.Dtabn1, {{u"C210a"_s, 20000.0}});
    store(*dm.Dtabn2, {{u"C310a"_s, 1000.0}, {u"C310b"_s, 1000.0}, {u"C550"_s, 0.5}});
    store(*dm.Dtabn3, {{u"C560a"_s, 300.0}, {u"C570"_s, -50.0}});
    expectValues(*dm.Dtabn3, {{u"C750"_s, 1750.0}, {u"C753"_s, 18250.0}});  // 1000 + 500 + 300 − 50
}

TEST_F(TaxCalculation, EqualTotalsAndExcessDeduction)
{
    store(*dm.Dtabn1, {{u"C210a"_s, 10000.0}});
    store(*dm.Dtabn2, {{u"C310a"_s, 10000.0}});
    expectValues(*dm.Dtabn3, {{u"C753"_s, 0.0}, {u"C754"_s, 0.0}});
    store(*dm.Dtabn2, {{u"C310a"_s, 12500.0}});
    expectValues(*dm.Dtabn3, {{u"C753"_s, 0.0}, {u"C754"_s, 2500.0}});
}

TEST_F(TaxCalculation, SupplementaryReturnShowsOnlyTheDifference)
{
    setFlag(u"Dpdd1"_s, true);
    store(*dm.Dtabn1, {{u"C210a"_s, 10000.0}});
    store(*dm.Dtabn2, {{u"C310a"_s, 12500.0}});
    store(*dm.Dtabn3, {{u"S753"_s, 111.0}, {u"S754"_s, 222.0}});
    expectValues(*dm.Dtabn3, {{u"C780"_s, -2500.0}, {u"C753"_s, 0.0}, {u"C754"_s, 0.0}});
    setFlag(u"Dpdd1"_s, false);
    expectValues(*dm.Dtabn3, {{u"C780"_s, 0.0}, {u"C753"_s, 111.0}, {u"C754"_s, 222.0}});
}

TEST_F(TaxCalculation, OverridesReplaceTheirLinesAndFeedTheFollowingOnes)
{
    store(*dm.Dtabn1, {{u"C210a"_s, 10000.0}});
    store(*dm.Dtabn2, {{u"C310a"_s, 4000.0}});
    store(*dm.Dtabn3, {{u"S730"_s, 20000.4}, {u"C560"_s, 0.856}, {u"C570"_s, QVariant()}});
    expectValues(*dm.Dtabn3, {{u"S730"_s, 20000.0}, {u"C730"_s, 20000.0}, {u"C753"_s, 16000.0}, {u"C560"_s, 0.86},
                              {u"C570"_s, 0.0}, {u"S750"_s, QVariant()}, {u"S753"_s, QVariant()},
                              {u"S754"_s, QVariant()}});
    store(*dm.Dtabn3, {{u"S750"_s, 25000.0}});
    expectValues(*dm.Dtabn3, {{u"C753"_s, 0.0}, {u"C754"_s, 5000.0}});
}

TEST_F(TaxCalculation, ClosedPartsCountAsZero)
{
    store(*dm.Dtabn1, {{u"C210a"_s, 10000.0}});
    dm.Dtabn1->close();
    dm.Dtabn2->close();
    dm.Dtabn3->refresh();
    expectValues(*dm.Dtabn3, {{u"C730"_s, 0.0}, {u"C750"_s, 0.0}});
}

// ---- Taxpayer row ------------------------------------------------------------------------

using TaxpayerRules = ReturnRulesBase;

TEST_F(TaxpayerRules, CalculatedTexts)
{
    Table &p = *dm.Prp;
    p.edit();
    const auto after = [&p](const QString &field, const QVariant &value, const QString &calculated) {
        p.field(field).setValue(value);
        return p.field(calculated).asString();
    };
    EXPECT_EQ(after(u"Dic"_s, u"CZ"_s, u"Dick"_s), u"CZ"_s);
    EXPECT_EQ(after(u"Dic"_s, u"C1234"_s, u"Dick"_s), u"1234"_s);
    EXPECT_EQ(after(u"Dic"_s, u"CZ12345678"_s, u"Dick"_s), u"12345678"_s);

    EXPECT_EQ(after(u"Cpocp"_s, u"1234"_s, u"Cpok"_s), u"1234"_s);
    EXPECT_EQ(after(u"Cpoco"_s, u"5"_s, u"Cpok"_s), u"1234/5"_s);
    EXPECT_EQ(after(u"Cpocp"_s, QVariant(), u"Cpok"_s), u"5"_s);
    p.field(u"Cpocp"_s).setValue(u"123456"_s);
    EXPECT_EQ(after(u"Cpoco"_s, u"1234"_s, u"Cpok"_s), u"123456/12"_s);  // cut to nine

    EXPECT_EQ(after(u"Sespr"_s, u"Novák"_s, u"Sesk"_s), u"Novák"_s);
    EXPECT_EQ(after(u"Sesjm"_s, u"Jan"_s, u"Sesk"_s), u"Jan Novák"_s);

    p.field(u"Q"_s).clear();
    EXPECT_EQ(after(u"M"_s, u"prosinec"_s, u"Obd"_s), u"za měsíc prosinec"_s);
    EXPECT_EQ(after(u"Q"_s, u"IV."_s, u"Obd"_s), QString());  // both filled: no period
    EXPECT_EQ(after(u"M"_s, QVariant(), u"Obd"_s), u"za IV. čtvrtletí"_s);
    p.cancel();
}

TEST_F(TaxpayerRules, StoreKeepsCoefficientToTwoDecimalsAndFillsTheAttachmentKind)
{
    store(*dm.Prp, {{u"Poznod"_s, QVariant()}, {u"K1"_s, 0.856}});
    expectValues(*dm.Prp, {{u"Poznod"_s, u"O"_s}, {u"K1"_s, 0.86}});
    store(*dm.Prp, {{u"Poznod"_s, u"D"_s}, {u"K1"_s, 0.854}});
    expectValues(*dm.Prp, {{u"Poznod"_s, u"D"_s}, {u"K1"_s, 0.85}});
}

TEST_F(TaxpayerRules, CopiesAfterTheWindowAreCutToTheirFields)
{
    const QString name37 = u"Stavební společnost Horní Dolní a.s.X"_s;
    ASSERT_EQ(name37.size(), 37);
    store(*dm.Prp, {{u"Oj1a"_s, name37}, {u"Pra"_s, u"Novák"_s}, {u"Jmb"_s, u"Maximilián1"_s}, {u"Mia"_s, u"Praha"_s},
                    {u"Sta2"_s, u"Československá republika"_s},
                    {u"Emlx"_s, u"jan.novak@velmi-dlouha-domena.example.cz"_s}});
    vat::Udaje1Copies(dm);
    ASSERT_TRUE(dm.Prp->isActive());
    EXPECT_EQ(dm.Prp->state(), Table::State::Browse);
    // Jm comes from Jma as just cut from Jmb, St from Sta as just cut from Sta2.
    expectValues(*dm.Prp, {{u"Oj1"_s, name37.left(23)}, {u"Pr"_s, u"Novák"_s}, {u"Jma"_s, u"Maximilián"_s},
                           {u"Jm"_s, u"Maximilián"_s}, {u"Mi"_s, u"Praha"_s}, {u"Sta"_s, u"Československá r"_s},
                           {u"St"_s, u"Českoslovens"_s}, {u"Eml"_s, u"jan.novak@velmi-dlou"_s}});
}

// ---- Year totals, older layouts and the acquirer lists -----------------------------------

using ReturnOtherTables = ReturnRulesBase;

TEST_F(ReturnOtherTables, YearTotalsAndOlderLayoutsRoundLikeTheirNeighbours)
{
    store(*dm.Dtabs, {{u"C31"_s, 2.5}, {u"C560"_s, 0.856}});
    expectValues(*dm.Dtabs, {{u"C31"_s, 3.0}, {u"C560"_s, 0.86}, {u"C25"_s, 0.0}});

    // Nothing reads the older layouts, so the data set opens with them closed.
    for (Table *t : {dm.Dtab1.get(), dm.Dtab2.get(), dm.Dtab2s.get()})
        t->open();
    store(*dm.Dtab1, {{u"C31"_s, 2.5}, {u"K1"_s, 0.12345}, {u"C38a"_s, -0.5}});
    expectValues(*dm.Dtab1, {{u"C31"_s, 3.0}, {u"K1"_s, 0.1235}, {u"C38a"_s, -1.0}, {u"Hd"_s, 0.0}, {u"K37"_s, 0.0}});
    store(*dm.Dtab2, {{u"C360"_s, 7.5}});
    expectValues(*dm.Dtab2, {{u"C360"_s, 8.0}, {u"K1t"_s, 0.0}});

    Table &s = *dm.Dtab2s;
    s.append();
    s.field(u"Cislo"_s).setValue(4);
    s.field(u"Q"_s).setValue(u"IV."_s);
    s.field(u"K1"_s).setValue(0.85555);
    s.post();
    expectValues(s, {{u"Cislo"_s, 4}, {u"Q"_s, u"IV."_s}, {u"M"_s, QVariant()}, {u"K1"_s, 0.8556}, {u"C2"_s, 0.0}});
}

TEST_F(ReturnOtherTables, AcquirersMarkedForTheDirectoryAreAddedOnce)
{
    Table &list = *dm.Dpsn1;
    Table &directory = *dm.Dpsn2;
    list.open();
    const auto add = [&list](const QString &code, bool toDirectory) {
        list.append();
        EXPECT_EQ(list.field(u"Nzp"_s).value(), QVariant(false));
        EXPECT_EQ(list.field(u"Pmr"_s).value(), QVariant(false));
        list.field(u"Npo"_s).setValue(u"Müller GmbH"_s);
        list.field(u"Kodz"_s).setValue(u"DE"_s);
        list.field(u"Dicp"_s).setValue(u"DE123"_s);
        list.field(u"Kpl"_s).setValue(code);
        list.field(u"Cpk"_s).setValue(10.5);
        list.field(u"Nzp"_s).setValue(toDirectory);
        list.post();
    };
    add(u"0"_s, true);  // the directory, closed, is opened for the while
    EXPECT_FALSE(directory.isActive());
    expectValues(list, {{u"Nzp"_s, false}, {u"Cpk"_s, 11.0}, {u"Ppl"_s, 0}});

    directory.open();
    ASSERT_EQ(directory.recordCount(), 1);
    expectValues(directory, {{u"Npo"_s, u"Müller GmbH"_s}, {u"Kodz"_s, u"DE"_s}, {u"Dicp"_s, u"DE123"_s}, {u"Kpl"_s, u"0"_s}});
    add(u"0"_s, true);   // the same four values: already there
    add(u"2"_s, false);  // not marked
    EXPECT_EQ(directory.recordCount(), 1);
    add(u"2"_s, true);  // another code
    EXPECT_EQ(directory.recordCount(), 2);
}

}  // namespace
