#include "base/Directories.h"
#include "data/DataM1.h"
#include "data/DateInput.h"
#include "datasets/DataSetAccess.h"
#include "datasets/Periods.h"
#include "engine/EngineError.h"
#include "support/test_root.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace rur;

namespace {

class DataSetFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.valid());
        rur::testing::openNewDataSet(root, dirs, dm);
    }

    QString text(const QString &name) { return dm.Prp->field(name).asString(); }

    rur::testing::TestRoot root;
    base::Directories dirs;
    data::TDM1 dm;
};

struct Period {
    QString m, q;
    int cislo;
    QString r;
    QDate ddp;
    bool k1p = false;
};

class Periods : public DataSetFixture {
protected:
    void setPeriod(const Period &p)
    {
        engine::Table &prp = *dm.Prp;
        prp.edit();
        prp.field(u"M"_s).setValue(p.m);
        prp.field(u"Q"_s).setValue(p.q);
        prp.field(u"Cislo"_s).setValue(p.cislo);
        prp.field(u"R"_s).setValue(p.r);
        prp.field(u"Ddp"_s).setValue(p.ddp);
        prp.field(u"K1p"_s).setValue(p.k1p);
        prp.post();
    }

    void expectPeriod(const Period &p, const char *what)
    {
        SCOPED_TRACE(what);
        EXPECT_EQ(text(u"M"_s), p.m);
        EXPECT_EQ(text(u"Q"_s), p.q);
        EXPECT_EQ(dm.Prp->field(u"Cislo"_s).asInteger(), p.cislo);
        EXPECT_EQ(text(u"R"_s), p.r);
        EXPECT_EQ(dm.Prp->field(u"Ddp"_s).asDate(), p.ddp);
        EXPECT_EQ(dm.Prp->field(u"K1p"_s).asBoolean(), p.k1p);
    }
};

}  // namespace

TEST_F(Periods, TheNextPeriodWrapsIntoTheNextYearAndMovesTheDate)
{
    const struct {
        const char *what;
        Period before, after;
    } cases[] = {
        {"December to January", {u"prosinec"_s, {}, 12, u"2018"_s, QDate(2018, 12, 15)},
         {u"leden"_s, {}, 1, u"2019"_s, QDate(2019, 1, 15)}},
        {"fourth quarter to the first", {{}, u"IV."_s, 4, u"2018"_s, QDate(2018, 11, 30)},
         {{}, u"I."_s, 1, u"2019"_s, QDate(2019, 2, 28)}},
        {"31 January to February", {u"leden"_s, {}, 1, u"2018"_s, QDate(2018, 1, 31)},
         {u"únor"_s, {}, 2, u"2018"_s, QDate(2018, 2, 28)}},
        {"31 January of a leap year", {u"leden"_s, {}, 1, u"2020"_s, QDate(2020, 1, 31)},
         {u"únor"_s, {}, 2, u"2020"_s, QDate(2020, 2, 29)}},
        {"April 2011 prints percentages", {u"březen"_s, {}, 3, u"2011"_s, {}},
         {u"duben"_s, {}, 4, u"2011"_s, {}, true}},
        {"second quarter of 2011 too", {{}, u"I."_s, 1, u"2011"_s, {}}, {{}, u"II."_s, 2, u"2011"_s, {}, true}},
        {"not in another year", {u"březen"_s, {}, 3, u"2012"_s, {}}, {u"duben"_s, {}, 4, u"2012"_s, {}}},
        {"a year that isn't a number stays", {u"prosinec"_s, {}, 12, u"rok"_s, {}}, {u"leden"_s, {}, 1, u"rok"_s, {}}},
        {"a stale number follows the name", {u"září"_s, {}, 2, u"2018"_s, {}}, {u"říjen"_s, {}, 10, u"2018"_s, {}}},
    };
    for (const auto &c : cases) {
        setPeriod(c.before);
        datasets::ZmenaObdobi(dm);
        EXPECT_TRUE(dm.Prp->isActive());
        EXPECT_FALSE(dm.Prp->isEditing());
        expectPeriod(c.after, c.what);
    }
}

TEST_F(Periods, ARowThatIsNotClearlyMonthlyOrQuarterlyStays)
{
    const struct {
        const char *what;
        Period period;
    } cases[] = {
        {"both filled", {u"březen"_s, u"I."_s, 3, u"2018"_s, QDate(2018, 3, 1)}},
        {"neither filled", {{}, {}, 3, u"2018"_s, QDate(2018, 3, 1)}},
        {"unknown month name", {u"Březen"_s, {}, 3, u"2018"_s, QDate(2018, 3, 1)}},
    };
    for (const auto &c : cases) {
        setPeriod(c.period);
        datasets::ZmenaObdobi(dm);
        EXPECT_TRUE(dm.Prp->isActive());
        expectPeriod(c.period, c.what);
    }
}

TEST(DateInput, ShorthandIsCompletedFromToday)
{
    const QDate today(2018, 1, 15);
    const struct {
        QString typed, expanded;
    } cases[] = {
        {u"5"_s, u"5.1.2018"_s},        {u"5."_s, u"5.1.2018"_s},         {u"5.3."_s, u"5.3.2018"_s},
        {u"050318"_s, u"05.03.18"_s},   {u"0503"_s, u"05.03.2018"_s},     {u"1/2/2018"_s, u"1.2.2018"_s},
        {u"1,2,2018"_s, u"1.2.2018"_s}, {u"+7"_s, u"22.1.2018"_s},        {u"-15"_s, u"31.12.2017"_s},
        {u"+x"_s, u"15.1.2018"_s},      {u"5.3.2019"_s, u"5.3.2019"_s},   {QString(), QString()},
    };
    for (const auto &c : cases)
        EXPECT_EQ(data::DatumAll(c.typed, today), c.expanded) << c.typed.toStdString();

    // Two-digit years fall within 50 years of today.
    EXPECT_EQ(data::fullYear(18, today), 2018);
    EXPECT_EQ(data::fullYear(68, today), 1968);
    EXPECT_EQ(data::fullYear(67, today), 2067);
}

class DateFields : public DataSetFixture {};

TEST_F(DateFields, TypedShorthandIsStoredAsADateAndAnInvalidDateIsRefused)
{
    data::attachDateInput({dm.Prp.get()}, [] { return QDate(2018, 1, 15); });
    engine::Field ddp = dm.Prp->field(u"Ddp"_s);
    dm.Prp->edit();
    const struct {
        QString typed;
        QDate stored;
    } cases[] = {
        {u"5"_s, QDate(2018, 1, 5)}, {u"050318"_s, QDate(2018, 3, 5)}, {u"31.12.70"_s, QDate(1970, 12, 31)},
        {u"+7"_s, QDate(2018, 1, 22)},
    };
    for (const auto &c : cases) {
        ddp.setText(c.typed);
        EXPECT_EQ(ddp.asDate(), c.stored) << c.typed.toStdString();
    }

    const struct {
        QString typed, message;
    } invalid[] = {
        {u"32"_s, u"„32.1.2018“ není platné datum."_s},
        {u"310218"_s, u"„31.02.18“ není platné datum."_s},
        {u"5.3.218"_s, u"„5.3.218“ není platné datum."_s},
    };
    for (const auto &c : invalid) {
        try {
            ddp.setText(c.typed);
            ADD_FAILURE() << "accepted " << c.typed.toStdString();
        } catch (const engine::EngineError &e) {
            EXPECT_EQ(e.message(), c.message);
        }
        EXPECT_EQ(ddp.asDate(), QDate(2018, 1, 22));
    }
    ddp.setText(QString());
    EXPECT_TRUE(ddp.isNull());
}

TEST_F(DateFields, EveryDateFieldOfTheDataModuleTakesShorthand)
{
    const QDate inAWeek = QDate::currentDate().addDays(7);
    dm.Prp->edit();
    dm.Prp->field(u"Ddp"_s).setText(u"+7"_s);
    EXPECT_EQ(dm.Prp->field(u"Ddp"_s).asDate(), inAWeek);
    dm.Prp->cancel();
    dm.Dzal1->edit();
    dm.Dzal1->field(u"D12s"_s).setText(u"+7"_s);
    EXPECT_EQ(dm.Dzal1->field(u"D12s"_s).asDate(), inAWeek);
    dm.Dzal1->cancel();
}
