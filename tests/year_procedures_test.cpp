#include "backup/ZipArchive.h"
#include "base/Directories.h"
#include "data/DataM1.h"
#include "data/Schemas.h"
#include "datasets/DataSetAccess.h"
#include "datasets/YearProcedures.h"
#include "engine/Database.h"
#include "engine/Table.h"
#include "platform/Prompter.h"
#include "support/rows.h"
#include "support/statement_register.h"
#include "support/test_root.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <zip.h>

using namespace Qt::StringLiterals;
using namespace rur;
using rur::testing::setRow;
using Answer = platform::Prompter::Answer;

namespace {

class RecordingDisplay : public data::StatusDisplay {
public:
    void setStatusText(int panel, const QString &text) override { panels[panel] = text; }
    void setCaption(const QString &) override {}
    QMap<int, QString> panels;
};

// Table files of a directory with their contents; lock files and the ini are not data.
QMap<QString, QByteArray> tableFiles(const QString &dir)
{
    auto files = rur::testing::snapshot(dir);
    files.removeIf([](auto it) { return !it.key().endsWith(u".DB"_s); });
    return files;
}

class YearProcedures : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.valid());
        rur::testing::openNewDataSet(root, dirs, dm);
        dm.setStatusDisplay(&display);
        fillYear();
    }

    // A year in progress: a taxpayer with a coefficient, a current return, two finished
    // returns and a VAT paid ledger entry.
    void fillYear()
    {
        setPrp({{u"M"_s, u"prosinec"_s}, {u"Q"_s, QVariant()}, {u"Cislo"_s, 12}, {u"R"_s, u"2018"_s},
                {u"Oj1a"_s, u"Alfa: s.r.o."_s}, {u"Ojp3"_s, QVariant()}, {u"K1"_s, 0.85}, {u"P6"_s, u"x"_s}});
        setRow(*dm.Dtabn1, {{u"C210"_s, 1000.0}});
        setRow(*dm.Dtabn2, {{u"C550"_s, 0.5}});
        setRow(*dm.Dzal1, {{u"Za1s"_s, 300.0}});
        rur::testing::appendRow(*dm.Dkh, {{u"Oddil"_s, u"A4"_s}, {u"Doklad"_s, u"FV-1"_s}, {u"Zaklad1"_s, 1000.0}});
        for (int cislo : {1, 2}) {
            for (engine::Table *t : {dm.Dtabn1s.get(), dm.Dtabn2s.get()}) {
                t->append();
                t->field(u"Cislo"_s).setValue(cislo);
                t->field(u"M"_s).setValue(cislo == 1 ? u"leden"_s : u"únor"_s);
                t->post();
            }
        }
    }

    void setPrp(const QVariantMap &values)
    {
        dm.Prp->edit();
        for (auto it = values.begin(); it != values.end(); ++it)
            dm.Prp->field(it.key()).setValue(it.value());
        dm.Prp->post();
    }

    QString archiveFolder() const { return root.path() + u"Zaloha/Archiv/"_s; }

    bool novyRok()
    {
        prompter.messages.clear();
        return datasets::NovyRok(dm, dirs, prompter);
    }

    rur::testing::TestRoot root;
    base::Directories dirs;
    data::TDM1 dm;
    platform::ScriptedPrompter prompter;
    RecordingDisplay display;
};

}  // namespace

TEST_F(YearProcedures, ClearingThePeriodEmptiesTheCurrentReturnOnly)
{
    EXPECT_TRUE(datasets::VymazaniObdobi(dm, dirs, prompter));
    EXPECT_EQ(prompter.texts(), QStringList(2, u"Opravdu provést vymazání období ?"_s));
    EXPECT_TRUE(dm.tablesOpen());
    EXPECT_TRUE(dm.Dtabn1->field(u"C210"_s).isNull());
    EXPECT_DOUBLE_EQ(dm.Dtabn2->field(u"C550"_s).asFloat(), 0.85);  // the taxpayer's coefficient
    EXPECT_EQ(dm.Dtabn1s->recordCount(), 2);
    EXPECT_EQ(dm.Dtabn2s->recordCount(), 2);
    EXPECT_DOUBLE_EQ(dm.Dzal1->field(u"Za1s"_s).asFloat(), 300.0);
    EXPECT_EQ(dm.Prp->field(u"M"_s).asString(), u"prosinec"_s);
    dm.Dkh->open();
    EXPECT_EQ(dm.Dkh->recordCount(), 0);  // the register belongs to the period
    EXPECT_EQ(display.panels.value(0), u"Období bylo vymazáno."_s);
    EXPECT_EQ(display.panels.value(1), QString());
    EXPECT_EQ(display.panels.value(2), QString());
}

TEST_F(YearProcedures, ClearingTheYearEmptiesTheFinishedReturnsOnly)
{
    EXPECT_TRUE(datasets::VymazaniRoku(dm, dirs, prompter));
    EXPECT_EQ(prompter.texts(), QStringList(2, u"Opravdu provést vymazání celého roku ?"_s));
    EXPECT_TRUE(dm.tablesOpen());
    EXPECT_EQ(dm.Dtabn1s->recordCount(), 0);
    EXPECT_EQ(dm.Dtabn2s->recordCount(), 0);
    EXPECT_DOUBLE_EQ(dm.Dtabn1->field(u"C210"_s).asFloat(), 1000.0);
    EXPECT_DOUBLE_EQ(dm.Dtabn2->field(u"C550"_s).asFloat(), 0.5);
    EXPECT_DOUBLE_EQ(dm.Dzal1->field(u"Za1s"_s).asFloat(), 300.0);
    dm.Dkh->open();
    EXPECT_EQ(dm.Dkh->recordCount(), 0);
    EXPECT_EQ(display.panels.value(0), u"Zápisy byly vymazány."_s);
}

TEST_F(YearProcedures, ANoAtEitherQuestionChangesNothing)
{
    using Procedure = bool (*)(data::TDM1 &, base::Directories &, platform::Prompter &);
    const Procedure procedures[] = {datasets::VymazaniObdobi, datasets::VymazaniRoku, datasets::NovyRok};
    const auto before = tableFiles(root.dataSet());
    for (Procedure procedure : procedures) {
        for (const QList<Answer> &answers : {QList<Answer>{Answer::No}, QList<Answer>{Answer::Yes, Answer::No}}) {
            prompter.answers = answers;
            prompter.messages.clear();
            EXPECT_FALSE(procedure(dm, dirs, prompter));
            EXPECT_EQ(prompter.messages.size(), answers.size());
            EXPECT_TRUE(dm.tablesOpen());
        }
    }
    EXPECT_EQ(tableFiles(root.dataSet()), before);
    EXPECT_FALSE(QFileInfo::exists(archiveFolder()));
    EXPECT_TRUE(display.panels.isEmpty());
}

TEST_F(YearProcedures, TheNewYearArchivesTheYearAndEmptiesItsData)
{
    for (const QString &extra : {u"D1.ini"_s, u"poznámka.txt"_s}) {
        QFile f(root.dataSet() + extra);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[D1]\n");
    }

    EXPECT_TRUE(novyRok());
    EXPECT_EQ(prompter.texts(), QStringList(2, u"Opravdu provést akci nový rok ?"_s));
    EXPECT_TRUE(dm.tablesOpen());
    // December moves on to January of the next year; the year's data is gone.
    EXPECT_EQ(dm.Prp->field(u"M"_s).asString(), u"leden"_s);
    EXPECT_EQ(dm.Prp->field(u"R"_s).asString(), u"2019"_s);
    EXPECT_TRUE(dm.Prp->field(u"P6"_s).isNull());
    EXPECT_TRUE(dm.Dzal1->field(u"Za1s"_s).isNull());
    EXPECT_TRUE(dm.Dtabn1->field(u"C210"_s).isNull());
    EXPECT_DOUBLE_EQ(dm.Dtabn2->field(u"C550"_s).asFloat(), 0.85);
    EXPECT_EQ(dm.Dtabn1s->recordCount(), 0);
    EXPECT_EQ(dm.Dtabn2s->recordCount(), 0);
    dm.Dkh->open();
    EXPECT_EQ(dm.Dkh->recordCount(), 0);
    EXPECT_EQ(display.panels.value(0), u"Akce nový rok byla provedena."_s);
    EXPECT_EQ(display.panels.value(1), QString());

    // The archive holds every file of the data set but its ini and lock files, deflated,
    // with the data as it was before the year was emptied.
    const QString archive = archiveFolder() + u"2018 Alfa s.r.o..zip"_s;
    ASSERT_TRUE(QFileInfo::exists(archive));
    QStringList expected = QDir(root.dataSet()).entryList(QDir::Files | QDir::Hidden);
    expected.removeIf([](const QString &name) { return name == u"D1.ini"_s || name.endsWith(u".lck"_s); });
    expected.sort();
    EXPECT_TRUE(expected.contains(u"poznámka.txt"_s));

    QStringList members = backup::archiveMembers(archive);
    members.sort();
    EXPECT_EQ(members, expected);

    int code = 0;
    zip_t *za = zip_open(QFile::encodeName(archive).constData(), ZIP_RDONLY, &code);
    ASSERT_NE(za, nullptr);
    for (zip_int64_t i = 0; i < zip_get_num_entries(za, 0); ++i) {
        zip_stat_t st;
        ASSERT_EQ(zip_stat_index(za, zip_uint64_t(i), 0, &st), 0);
        EXPECT_EQ(st.comp_method, ZIP_CM_DEFLATE) << st.name;
    }
    zip_discard(za);

    QTemporaryDir out;
    ASSERT_TRUE(backup::extractArchive(archive, out.path(), nullptr, nullptr));
    engine::Database db(u"Archiv"_s);
    db.setDirectory(out.path());
    engine::Table finished(&db, data::dtabn1sDef());
    finished.open();
    EXPECT_EQ(finished.recordCount(), 2);
    engine::Table ledger(&db, data::dzal1Def());
    ledger.open();
    EXPECT_DOUBLE_EQ(ledger.field(u"Za1s"_s).asFloat(), 300.0);
    engine::Table statement(&db, data::dkhDef());
    statement.open();
    EXPECT_EQ(statement.recordCount(), 1);
}

TEST_F(YearProcedures, TheNewYearMovesOnlyAPeriodOtherThanTheFirst)
{
    setPrp({{u"M"_s, u"leden"_s}, {u"Cislo"_s, 1}, {u"R"_s, u"2019"_s}});
    EXPECT_TRUE(novyRok());
    EXPECT_EQ(dm.Prp->field(u"M"_s).asString(), u"leden"_s);
    EXPECT_EQ(dm.Prp->field(u"Cislo"_s).asInteger(), 1);
    EXPECT_EQ(dm.Prp->field(u"R"_s).asString(), u"2019"_s);

    setPrp({{u"M"_s, u"květen"_s}, {u"Cislo"_s, 5}});
    EXPECT_TRUE(novyRok());
    EXPECT_EQ(dm.Prp->field(u"M"_s).asString(), u"červen"_s);
    EXPECT_EQ(dm.Prp->field(u"Cislo"_s).asInteger(), 6);
    EXPECT_EQ(dm.Prp->field(u"R"_s).asString(), u"2019"_s);
}

TEST_F(YearProcedures, ASecondArchiveOfTheYearTakesTheDirectoryNameAndALaterOneReplacesIt)
{
    const QString plain = archiveFolder() + u"2018 Alfa s.r.o..zip"_s;
    const QString second = archiveFolder() + u"2018 Alfa s.r.o. - D1.zip"_s;
    const auto year = [&] { setPrp({{u"M"_s, u"leden"_s}, {u"Cislo"_s, 1}, {u"R"_s, u"2018"_s}}); };

    year();
    EXPECT_TRUE(novyRok());
    QFile first(plain);
    ASSERT_TRUE(first.open(QIODevice::ReadOnly));
    const QByteArray firstBytes = first.readAll();
    first.close();

    year();
    EXPECT_TRUE(novyRok());
    ASSERT_TRUE(QFileInfo::exists(second));
    EXPECT_FALSE(backup::archiveMembers(second).contains(u"marker.txt"_s));

    QFile marker(root.dataSet() + u"marker.txt"_s);
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.close();
    year();
    EXPECT_TRUE(novyRok());
    EXPECT_TRUE(backup::archiveMembers(second).contains(u"marker.txt"_s));
    ASSERT_TRUE(first.open(QIODevice::ReadOnly));
    EXPECT_EQ(first.readAll(), firstBytes);  // the plain name is never overwritten
    EXPECT_EQ(QDir(archiveFolder()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

TEST(YearEndArchive, NamesAreSafeForFileNames)
{
    const QDateTime now(QDate(2018, 12, 31), QTime(23, 5, 9));
    EXPECT_EQ(datasets::yearEndArchiveName(u"2018"_s, u"Alfa"_s, now), u"2018 Alfa"_s);
    EXPECT_EQ(datasets::yearEndArchiveName(u"2018"_s, QString(), now), u"2018 31122018-230509"_s);
    EXPECT_EQ(datasets::yearEndArchiveName(u"20/18"_s, u"A"_s, now), u"2018 A"_s);
}

TEST_F(YearProcedures, AnArchiveThatCannotBeWrittenLeavesTheYearAlone)
{
    const auto before = tableFiles(root.dataSet());
    const auto expectUnchanged = [&](const QString &path) {
        EXPECT_EQ(prompter.errors(), QStringList{u"Soubor "_s + path + u" nelze vytvořit."_s});
        EXPECT_TRUE(dm.tablesOpen());
        EXPECT_EQ(tableFiles(root.dataSet()), before);
        EXPECT_EQ(dm.Dtabn1s->recordCount(), 2);
        EXPECT_DOUBLE_EQ(dm.Dzal1->field(u"Za1s"_s).asFloat(), 300.0);
        EXPECT_DOUBLE_EQ(dm.Dtabn1->field(u"C210"_s).asFloat(), 1000.0);
        EXPECT_EQ(dm.Prp->field(u"M"_s).asString(), u"prosinec"_s);
        EXPECT_TRUE(display.panels.value(0).isEmpty());
    };

    // A file where the archive folder should be.
    QDir().mkpath(root.path() + u"Zaloha"_s);
    QFile blocker(root.path() + u"Zaloha/Archiv"_s);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(novyRok());
    expectUnchanged(archiveFolder() + u"2018 Alfa s.r.o..zip"_s);

    // Both archive names taken by folders: the new archive can't be put in place, and the
    // temporary archive does not stay behind.
    QFile::remove(root.path() + u"Zaloha/Archiv"_s);
    QDir().mkpath(archiveFolder() + u"2018 Alfa s.r.o..zip"_s);
    QDir().mkpath(archiveFolder() + u"2018 Alfa s.r.o. - D1.zip/obsah"_s);
    EXPECT_FALSE(novyRok());
    expectUnchanged(archiveFolder() + u"2018 Alfa s.r.o. - D1.zip"_s);
    EXPECT_EQ(QDir(archiveFolder()).entryList(QDir::Files | QDir::Hidden).size(), 0);
}
