#include "base/Directories.h"
#include "data/DataM1.h"
#include "datasets/DataSetAccess.h"
#include "engine/EngineError.h"
#include "engine/TableFile.h"
#include "platform/Prompter.h"
#include "support/rows.h"
#include "support/test_root.h"
#include "vat/Saving.h"

#include <QMap>
#include <csignal>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace rur;
using rur::testing::setRow;
using rur::testing::reread;
using Answer = platform::Prompter::Answer;

namespace {

class StatusRecorder : public data::StatusDisplay {
public:
    void setStatusText(int panel, const QString &text) override { panels[panel] = text; }
    void setCaption(const QString &caption) override { Q_UNUSED(caption); }
    QMap<int, QString> panels;
};

class Saving : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.valid());
        rur::testing::openNewDataSet(root, dirs, dm);
        dm.setStatusDisplay(&status);
    }
    void TearDown() override { dm.setStatusDisplay(nullptr); }

    void setPeriod(const QString &month, const QString &quarter, int cislo)
    {
        setRow(*dm.Prp, {{u"M"_s, month}, {u"Q"_s, quarter}, {u"Cislo"_s, cislo}});
    }
    QString prp(const QString &name) { return dm.Prp->field(name).asString(); }
    // A stored field of the finished row of a period; NaN when the period has no row.
    static double saved(engine::Table &t, int cislo, const QString &name)
    {
        for (int r = 0; r < t.recordCount(); ++r)
            if (t.storedValue(r, t.def().indexOf(u"Cislo"_s)).toInt() == cislo)
                return t.storedValue(r, t.def().indexOf(name)).toDouble();
        return std::nan("");
    }
    static bool holds(engine::Table &t, int cislo) { return !std::isnan(saved(t, cislo, u"Cislo"_s)); }

    rur::testing::TestRoot root;
    base::Directories dirs;
    data::TDM1 dm;
    StatusRecorder status;
    platform::ScriptedPrompter prompter;
};

class Settlement : public Saving {
protected:
    // Runs the coefficient step on year totals given directly.
    double coefficientOf(const QList<std::pair<QString, QVariant>> &totals)
    {
        QList<std::pair<QString, QVariant>> all{{u"C31"_s, 0}, {u"C32"_s, 0}, {u"C33"_s, 0}, {u"C34"_s, 0},
                                                {u"C35"_s, 0}, {u"C36"_s, 0}, {u"S35"_s, 0}, {u"S36"_s, 0},
                                                {u"C510"_s, 0}, {u"C520"_s, 0}, {u"C530"_s, 0}, {u"C540"_s, 0},
                                                {u"C25"_s, 0}, {u"C380"_s, 0}, {u"C550a"_s, 0}};
        all.append(totals);
        setRow(*dm.Dtabs, all);
        vat::Trs4(dm);
        return dm.Dtabs->field(u"C560"_s).asFloat();
    }
};

}  // namespace

TEST(SavingPhrase, NamesTheMonthOrTheQuarterAndNothingElse)
{
    EXPECT_EQ(vat::periodPhrase(u"březen"_s, QString()), u"za březen "_s);
    EXPECT_EQ(vat::periodPhrase(QString(), u"I."_s), u"za I. čtvrtletí "_s);
    EXPECT_EQ(vat::periodPhrase(QString(), QString()), QString());
    EXPECT_EQ(vat::periodPhrase(u"leden"_s, u"I."_s), QString());
}

TEST_F(Saving, TrsCopiesTheListedFieldsAndKeepsAnEmptyOverrideEmpty)
{
    setPeriod(u"březen"_s, QString(), 3);
    setRow(*dm.Dtabn1, {{u"C210"_s, 1000.0}, {u"C34"_s, 5.0}, {u"C10"_s, 7.0}, {u"C240"_s, 55.0}, {u"S215"_s, QVariant()}});
    setRow(*dm.Dtabn2, {{u"C345b"_s, 3.0}, {u"C48b"_s, 4.0}, {u"C330"_s, 9.0}, {u"C550"_s, 0.85}, {u"S550a"_s, QVariant()}});
    vat::Trs(dm, false);

    engine::Table &s1 = *dm.Dtabn1s, &s2 = *dm.Dtabn2s;
    for (engine::Table *t : {&s1, &s2}) {
        ASSERT_EQ(t->recordCount(), 1);
        EXPECT_EQ(t->field(u"Cislo"_s).asInteger(), 3);
        EXPECT_EQ(t->field(u"M"_s).asString(), u"březen"_s);
        EXPECT_TRUE(t->field(u"Q"_s).isNull());
    }
    EXPECT_EQ(s1.field(u"C210"_s).asFloat(), 1000);
    EXPECT_EQ(s1.field(u"C34"_s).asFloat(), 5);
    EXPECT_EQ(s1.field(u"C10"_s).asFloat(), 7);   // retired, still carried
    EXPECT_EQ(s1.field(u"C240"_s).asFloat(), 0);  // retired, left behind
    EXPECT_FALSE(s1.field(u"S215"_s).isNull());   // empty arrives as 0
    EXPECT_EQ(s2.field(u"C345b"_s).asFloat(), 3);
    EXPECT_EQ(s2.field(u"C48b"_s).asFloat(), 4);
    EXPECT_EQ(s2.field(u"C330"_s).asFloat(), 0);
    EXPECT_EQ(s2.field(u"C550"_s).asFloat(), 0.85);
    EXPECT_TRUE(s2.field(u"S550a"_s).isNull());

    // A typed override, zero included, travels as typed.
    setPeriod(u"duben"_s, QString(), 4);
    setRow(*dm.Dtabn2, {{u"S550a"_s, 0.0}});
    vat::Trs(dm, false);
    s2.last();
    EXPECT_FALSE(s2.field(u"S550a"_s).isNull());

    // Without the overwrite a saved period is refused and nothing of the pair is written.
    try {
        vat::Trs(dm, false);
        FAIL();
    } catch (const engine::EngineError &e) {
        EXPECT_EQ(e.code(), engine::ErrKeyViolation);
    }
    EXPECT_EQ(s1.state(), engine::Table::State::Browse);
    EXPECT_EQ(s2.state(), engine::Table::State::Browse);
    reread(s1);
    reread(s2);
    EXPECT_EQ(s1.recordCount() + s2.recordCount(), 4);
}

TEST_F(Saving, SavingAPeriodAgainAsksBeforeItOverwrites)
{
    setPeriod(u"březen"_s, QString(), 3);
    setRow(*dm.Dtabn1, {{u"C210"_s, 1000.0}});
    setRow(*dm.Dtabn3, {{u"C560"_s, 0.5}, {u"C560a"_s, 100.0}, {u"C570"_s, 30.0}});
    status.panels[1] = u"1/1"_s;
    status.panels[2] = u"EDIT"_s;
    ASSERT_TRUE(vat::UlozeniRur(dm, prompter));
    EXPECT_EQ(prompter.texts(), QStringList{u"Opravdu uložit RUR za březen ?"_s});
    EXPECT_EQ(status.panels[0], u"RUR za březen bylo uloženo."_s);
    EXPECT_EQ(status.panels[1], QString());
    EXPECT_EQ(status.panels[2], QString());
    EXPECT_EQ(prp(u"M"_s), u"duben"_s);
    EXPECT_EQ(dm.Prp->field(u"Cislo"_s).asInteger(), 4);
    // Line 53 cleared, the rest of the current return kept for the next period.
    EXPECT_EQ(dm.Dtabn3->field(u"C560"_s).asFloat(), 0);
    EXPECT_EQ(dm.Dtabn3->field(u"C560a"_s).asFloat(), 0);
    EXPECT_EQ(dm.Dtabn3->field(u"C570"_s).asFloat(), 30);
    EXPECT_EQ(dm.Dtabn1->field(u"C210"_s).asFloat(), 1000);

    // Back to March with other figures; No keeps everything.
    setPeriod(u"březen"_s, QString(), 3);
    setRow(*dm.Dtabn1, {{u"C210"_s, 2000.0}});
    status.panels[0] = u"před"_s;
    prompter.messages.clear();
    prompter.answers = {Answer::Yes, Answer::No};
    EXPECT_FALSE(vat::UlozeniRur(dm, prompter));
    EXPECT_EQ(prompter.texts(),
              (QStringList{u"Opravdu uložit RUR za březen ?"_s, u"RUR za březen je uloženo.\nPřepsat ?"_s}));
    EXPECT_EQ(status.panels[0], u"před"_s);
    EXPECT_EQ(saved(*dm.Dtabn1s, 3, u"C210"_s), 1000);
    EXPECT_EQ(prp(u"M"_s), u"březen"_s);

    // Yes replaces both rows and moves the period on.
    prompter.answers = {Answer::Yes, Answer::Yes};
    EXPECT_TRUE(vat::UlozeniRur(dm, prompter));
    EXPECT_EQ(status.panels[0], u"RUR za březen bylo přepsáno."_s);
    EXPECT_EQ(dm.Dtabn1s->recordCount(), 1);
    EXPECT_EQ(dm.Dtabn2s->recordCount(), 1);
    EXPECT_EQ(saved(*dm.Dtabn1s, 3, u"C210"_s), 2000);
    EXPECT_EQ(prp(u"M"_s), u"duben"_s);
}

TEST_F(Saving, QuarterTwoAndFebruaryMeetOnTheSameKey)
{
    setPeriod(QString(), u"II."_s, 2);
    setRow(*dm.Dtabn1, {{u"C210"_s, 500.0}});
    ASSERT_TRUE(vat::UlozeniRur(dm, prompter));
    EXPECT_EQ(status.panels[0], u"RUR za II. čtvrtletí bylo uloženo."_s);
    EXPECT_EQ(prp(u"Q"_s), u"III."_s);

    setPeriod(u"únor"_s, QString(), 2);
    prompter.messages.clear();
    prompter.answers = {Answer::Yes, Answer::No};
    EXPECT_FALSE(vat::UlozeniRur(dm, prompter));
    EXPECT_EQ(prompter.texts().value(1), u"RUR za únor je uloženo.\nPřepsat ?"_s);
    dm.Dtabn1s->first();
    EXPECT_EQ(dm.Dtabn1s->field(u"Q"_s).asString(), u"II."_s);

    prompter.answers = {Answer::Yes, Answer::Yes};
    EXPECT_TRUE(vat::UlozeniRur(dm, prompter));
    for (engine::Table *t : {dm.Dtabn1s.get(), dm.Dtabn2s.get()}) {
        ASSERT_EQ(t->recordCount(), 1);
        t->first();
        EXPECT_EQ(t->field(u"M"_s).asString(), u"únor"_s);
        EXPECT_TRUE(t->field(u"Q"_s).isNull());
    }
}

TEST_F(Saving, APeriodFoundInOneTableOnlyCountsAsSavedAndIsMadeWholeByTheOverwrite)
{
    // A pair broken by an earlier program: only part 2 of May is there.
    engine::Table &s2 = *dm.Dtabn2s;
    s2.append();
    s2.field(u"Cislo"_s).setValue(5);
    s2.field(u"M"_s).setValue(u"květen"_s);
    s2.post();
    setPeriod(u"květen"_s, QString(), 5);
    EXPECT_TRUE(vat::isPeriodSaved(dm, 5));
    prompter.answers = {Answer::Yes, Answer::Yes};
    ASSERT_TRUE(vat::UlozeniRur(dm, prompter));
    EXPECT_EQ(prompter.texts().value(1), u"RUR za květen je uloženo.\nPřepsat ?"_s);
    EXPECT_EQ(status.panels[0], u"RUR za květen bylo přepsáno."_s);
    EXPECT_EQ(dm.Dtabn1s->recordCount(), 1);
    EXPECT_EQ(dm.Dtabn2s->recordCount(), 1);
}

TEST_F(Saving, DeletingAPeriodRemovesItFromBothTables)
{
    setPeriod(u"březen"_s, QString(), 3);
    ASSERT_TRUE(vat::UlozeniRur(dm, prompter));
    ASSERT_TRUE(vat::UlozeniRur(dm, prompter));  // April
    prompter.messages.clear();

    prompter.answers = {Answer::No};
    EXPECT_FALSE(vat::deleteFinishedPeriod(dm, 3, prompter));
    EXPECT_EQ(prompter.texts(), QStringList{u"Opravdu smazat RUR za březen ?"_s});
    EXPECT_TRUE(holds(*dm.Dtabn1s, 3));

    EXPECT_TRUE(vat::deleteFinishedPeriod(dm, 3, prompter));
    for (engine::Table *t : {dm.Dtabn1s.get(), dm.Dtabn2s.get()}) {
        reread(*t);
        EXPECT_FALSE(holds(*t, 3)) << t->name().toStdString();
        EXPECT_TRUE(holds(*t, 4)) << t->name().toStdString();
    }
    prompter.messages.clear();
    EXPECT_FALSE(vat::deleteFinishedPeriod(dm, 3, prompter));  // nothing left to ask about
    EXPECT_TRUE(prompter.messages.isEmpty());

    // Killed between the two deletes: April stays whole.
    ASSERT_TRUE(rur::testing::killedAt("group:between", [&] { vat::deleteFinishedPeriod(dm, 4, prompter); }));
    for (engine::Table *t : {dm.Dtabn1s.get(), dm.Dtabn2s.get()}) {
        reread(*t);
        EXPECT_TRUE(holds(*t, 4)) << t->name().toStdString();
    }
}

TEST_F(Saving, AKilledSaveLeavesThePeriodSavedInBothTablesOrInNeither)
{
    setPeriod(u"březen"_s, QString(), 3);
    setRow(*dm.Dtabn1, {{u"C210"_s, 1000.0}});
    ASSERT_TRUE(rur::testing::killedAt("group:between", [&] { vat::UlozeniRur(dm, prompter); }));
    for (engine::Table *t : {dm.Dtabn1s.get(), dm.Dtabn2s.get(), dm.Prp.get()})
        reread(*t);
    EXPECT_FALSE(holds(*dm.Dtabn1s, 3));
    EXPECT_FALSE(holds(*dm.Dtabn2s, 3));
    EXPECT_EQ(prp(u"M"_s), u"březen"_s);

    ASSERT_TRUE(vat::UlozeniRur(dm, prompter));
    setPeriod(u"březen"_s, QString(), 3);
    setRow(*dm.Dtabn1, {{u"C210"_s, 2000.0}});
    // The overwrite runs delete, delete, insert, insert: die after the first insert.
    ASSERT_TRUE(rur::testing::killedAt("group:between", [&] {
        int step = 0;
        engine::setCrashHook([&step](const char *name) {
            if (qstrcmp(name, "group:between") == 0 && ++step == 3)
                raise(SIGKILL);
        });
        vat::UlozeniRur(dm, prompter);
    }));
    for (engine::Table *t : {dm.Dtabn1s.get(), dm.Dtabn2s.get(), dm.Prp.get()})
        reread(*t);
    EXPECT_EQ(saved(*dm.Dtabn1s, 3, u"C210"_s), 1000);
    EXPECT_TRUE(holds(*dm.Dtabn2s, 3));
    EXPECT_EQ(prp(u"M"_s), u"březen"_s);
}

TEST_F(Saving, TheCopyTheClearedSettlementAndTheNextPeriodAreOneChange)
{
    setPeriod(u"březen"_s, QString(), 3);
    setRow(*dm.Dtabn1, {{u"C210"_s, 1000.0}});
    setRow(*dm.Dtabn3, {{u"C560"_s, 0.5}});
    // Killed once the copy is written (while the settlement is cleared) or just before the
    // end: nothing of the save; killed after the end: all of it.
    const struct {
        const char *point;
        bool saved;
    } cases[] = {{"table:before-commit", false}, {"group:before-commit", false}, {"group:after-commit", true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.point);
        ASSERT_TRUE(rur::testing::killedAt(c.point, [&] { vat::UlozeniRur(dm, prompter); }));
        for (engine::Table *t : {dm.Dtabn1s.get(), dm.Dtabn2s.get(), dm.Dtabn3.get(), dm.Prp.get()})
            reread(*t);
        EXPECT_EQ(holds(*dm.Dtabn1s, 3), c.saved);
        EXPECT_EQ(holds(*dm.Dtabn2s, 3), c.saved);
        EXPECT_EQ(dm.Dtabn3->field(u"C560"_s).asFloat(), c.saved ? 0 : 0.5);
        EXPECT_EQ(prp(u"M"_s), c.saved ? u"duben"_s : u"březen"_s);
    }
}

TEST_F(Saving, TheLastPeriodIsSavedWithTheSettlementAndSettledAloneWhenNotOverwritten)
{
    setPeriod(u"prosinec"_s, QString(), 12);
    setRow(*dm.Dtabn1, {{u"C210"_s, 850000.0}, {u"C530"_s, 150000.0}});
    ASSERT_TRUE(vat::UlozeniPoslednihoRur(dm, prompter));
    EXPECT_EQ(prompter.texts(), QStringList{u"Opravdu uložit poslední RUR za prosinec a provést vypořádání ?"_s});
    EXPECT_EQ(status.panels[0], u"RUR za prosinec bylo uloženo s vypořádáním."_s);
    EXPECT_EQ(prp(u"M"_s), u"prosinec"_s);  // the period stays
    EXPECT_EQ(dm.Dtabs->field(u"C560"_s).asFloat(), 0.85);
    EXPECT_EQ(dm.Dtabn3->field(u"C560"_s).asFloat(), 0.85);

    // No to the overwrite: the saved return stays and is settled as it is.
    setRow(*dm.Dtabn1, {{u"C530"_s, 0.0}});
    setRow(*dm.Dtabs, {{u"C560"_s, 0.1}});
    prompter.messages.clear();
    prompter.answers = {Answer::Yes, Answer::No};
    EXPECT_TRUE(vat::UlozeniPoslednihoRur(dm, prompter));
    EXPECT_EQ(prompter.texts().value(1), u"RUR za prosinec je uloženo.\nPřepsat ?"_s);
    EXPECT_EQ(status.panels[0], u"RUR bylo vypořádáno."_s);
    EXPECT_EQ(saved(*dm.Dtabn1s, 12, u"C530"_s), 150000);
    EXPECT_EQ(dm.Dtabs->field(u"C560"_s).asFloat(), 0.85);

    prompter.answers = {Answer::Yes, Answer::Yes};
    EXPECT_TRUE(vat::UlozeniPoslednihoRur(dm, prompter));
    EXPECT_EQ(status.panels[0], u"RUR za prosinec bylo přepsáno s vypořádáním."_s);
    EXPECT_EQ(dm.Dtabs->field(u"C560"_s).asFloat(), 1);
    EXPECT_EQ(prp(u"M"_s), u"prosinec"_s);
}

TEST(SettlementCoefficient, RoundsUpToHundredthsWithTheLimits)
{
    EXPECT_EQ(vat::settlementCoefficient(850000, 1000000), 0.85);
    EXPECT_EQ(vat::settlementCoefficient(851000, 1001000), 0.86);
    EXPECT_EQ(vat::settlementCoefficient(951, 1000), 1);
    EXPECT_EQ(vat::settlementCoefficient(9449, 10000), 1);  // rounds to 0.95, which counts as 1
    EXPECT_EQ(vat::settlementCoefficient(9399, 10000), 0.94);
    EXPECT_EQ(vat::settlementCoefficient(0, 0), 1);
    EXPECT_EQ(vat::settlementCoefficient(-1000, 4000), 0);
    EXPECT_EQ(vat::settlementCoefficient(1000, -1000), 1);
}

TEST_F(Settlement, Trs4TakesNumeratorAndDenominatorFromTheYearTotals)
{
    EXPECT_EQ(coefficientOf({{u"C31"_s, 850000}, {u"C530"_s, 150000}}), 0.85);
    EXPECT_EQ(dm.Dtabs->field(u"K1"_s).asFloat(), 850000);
    // Every supply with entitlement counts in K1; line 51 with entitlement leaves N.
    // N = 1 000 - 100 = 900, D = 900 + 300 - 100 = 1 100: 0,8181... + 0,00499 → 0,82.
    EXPECT_EQ(coefficientOf({{u"C32"_s, 100}, {u"C33"_s, 100}, {u"C34"_s, 100}, {u"C35"_s, 100}, {u"C36"_s, 100},
                             {u"S35"_s, 100}, {u"S36"_s, 100}, {u"C25"_s, 100}, {u"C510"_s, 200}, {u"C520"_s, 100},
                             {u"C530"_s, 300}, {u"C540"_s, 100}}),
              0.82);
    EXPECT_EQ(dm.Dtabs->field(u"K1"_s).asFloat(), 1000);
}

TEST_F(Settlement, LineFiftyThreeAndTheCarryIntoTheReturnAndTheTaxpayer)
{
    EXPECT_EQ(coefficientOf({{u"C31"_s, 855000}, {u"C530"_s, 145000}, {u"C380"_s, 100000}, {u"C550a"_s, 84000}}),
              0.86);
    EXPECT_EQ(dm.Dtabs->field(u"C560a"_s).asFloat(), 2000);
    setRow(*dm.Dtabn3, {{u"C570"_s, 30.0}});
    vat::Trsa(dm);
    EXPECT_EQ(dm.Dtabn3->field(u"C560"_s).asFloat(), 0.86);
    EXPECT_EQ(dm.Dtabn3->field(u"C560a"_s).asFloat(), 2000);
    EXPECT_EQ(dm.Dtabn3->field(u"C570"_s).asFloat(), 30);
    EXPECT_EQ(dm.Prp->field(u"K1"_s).asFloat(), 0.86);
    EXPECT_EQ(prp(u"M"_s), u"leden"_s);
}

TEST_F(Settlement, AnEmptyYearGivesOneAndNoChange)
{
    setRow(*dm.Dtabs, {{u"C31"_s, 5.0}, {u"C560"_s, 0.5}, {u"C560a"_s, 77.0}});
    vat::settleYear(dm);
    EXPECT_EQ(dm.Dtabs->field(u"K1"_s).asFloat(), 0);
    EXPECT_EQ(dm.Dtabs->field(u"C560"_s).asFloat(), 1);
    EXPECT_EQ(dm.Dtabs->field(u"C560a"_s).asFloat(), 0);
    EXPECT_EQ(dm.Dtabn3->field(u"C560"_s).asFloat(), 1);
    EXPECT_EQ(dm.Prp->field(u"K1"_s).asFloat(), 1);
}

TEST_F(Settlement, LineFiftyTwoOfTheYearIsWhatEachSavedReturnShows)
{
    // January: line 52 computed, 0,85 × 1 003 = 852,55 → 853. February: typed 0 overrides it.
    setPeriod(u"leden"_s, QString(), 1);
    setRow(*dm.Dtabn2, {{u"C310b"_s, 1003.0}, {u"C550"_s, 0.85}, {u"S550a"_s, QVariant()}});
    vat::Trs(dm, false);
    setPeriod(u"únor"_s, QString(), 2);
    setRow(*dm.Dtabn2, {{u"C310b"_s, 1000.0}, {u"C370b"_s, 500.0}, {u"S550a"_s, 0.0}});
    vat::Trs(dm, false);
    dm.Dtabn2s->first();
    EXPECT_EQ(dm.Dtabn2s->field(u"C550a"_s).asFloat(), 853);
    // The coefficient of a saved return no longer follows the current one.
    setRow(*dm.Dtabn2, {{u"C550"_s, 0.5}, {u"S550a"_s, QVariant()}});
    vat::Trs3(dm);
    EXPECT_EQ(dm.Dtabs->field(u"C550a"_s).asFloat(), 853);
    EXPECT_EQ(dm.Dtabs->field(u"C380"_s).asFloat(), 1003 + 1500);
}
