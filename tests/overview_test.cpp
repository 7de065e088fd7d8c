// The overview of the open period: the figures against the return's own lines, the period, the
// kind and the deadline, the states after saving, writing the filing file and a backup, the
// texts the working area shows, and rur-cli overview.
#include "app/Overview.h"
#include "app/Startup.h"
#include "backup/Backup.h"
#include "base/DataSetRecords.h"
#include "base/Directories.h"
#include "data/DataM1.h"
#include "datasets/DataSetAccess.h"
#include "engine/Table.h"
#include "platform/Prompter.h"
#include "print/FilingFile.h"
#include "print/XmlText.h"
#include "support/filled_return.h"
#include "support/printers.h"
#include "support/run_cli.h"
#include "support/test_root.h"
#include "vat/Saving.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>

using namespace Qt::StringLiterals;
using namespace rur;
using app::Fact;
using app::Overview;
using rur::testing::setRow;

namespace {

class OverviewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.valid());
        rur::testing::openNewDataSet(root, dirs, dm);
    }
    Overview overview(const QDateTime &now = QDateTime(QDate(2018, 12, 20), QTime(10, 0)))
    {
        return app::computeOverview(dm, dirs.dataSetIni(), print::KodUtf8, now);
    }

    rur::testing::TestRoot root;
    base::Directories dirs;
    data::TDM1 dm;
    platform::ScriptedPrompter prompter;
};

// Lines 62 to 66 as the return computes them, read after rows were posted behind the open
// cursor of part 3: an overview that did not read the return again would show the old lines.
// Amounts are distinct powers of two, so a line summed twice or missed shows.
TEST_F(OverviewTest, FiguresFollowTheLinesOfTheReturn)
{
    Overview o = overview();
    EXPECT_EQ(o.r62, 0.0);
    setRow(*dm.Dtabn1, {{u"C210a"_s, 1024.0}, {u"C215a"_s, 2048.0}, {u"C600"_s, 16.0}});  // lines 1, 2 and 61
    setRow(*dm.Dtabn2, {{u"C310a"_s, 256.0}, {u"C315a"_s, 512.0}});                       // lines 40 and 41
    o = overview();
    EXPECT_EQ(o.r62, 1024.0 + 2048 - 16);
    EXPECT_EQ(o.r63, 256.0 + 512);
    EXPECT_EQ(o.r64, 3056.0 - 768);
    EXPECT_EQ(o.r65, 0.0);
    EXPECT_EQ(app::factText(o, Fact::Result).caption, u"ř. 64 Vlastní daň – k zaplacení"_s);
    EXPECT_EQ(app::factText(o, Fact::Result).value, u"2\u00a0288 Kč"_s);

    // More deduction than tax: an excess deduction on line 65.
    setRow(*dm.Dtabn2, {{u"C310a"_s, 8192.0}});
    o = overview();
    EXPECT_EQ(o.r63, 8192.0 + 512);
    EXPECT_EQ(o.r64, 0.0);
    EXPECT_EQ(o.r65, 8704.0 - 3056);
    EXPECT_EQ(app::factText(o, Fact::Result).caption, u"ř. 65 Nadměrný odpočet"_s);

    // A supplementary return: the difference on line 66, lines 64 and 65 stay empty.
    setRow(*dm.Prp, {{u"Dpdd1"_s, true}, {u"Dpdr1"_s, false}});
    o = overview();
    EXPECT_EQ(o.r66, 3056.0 - 8704);
    EXPECT_EQ(o.r64 + o.r65, 0.0);
    EXPECT_EQ(app::factText(o, Fact::Result).value, u"-5\u00a0648 Kč"_s);

    // An override of line 62 counts in lines 64 and 65.
    setRow(*dm.Prp, {{u"Dpdd1"_s, false}, {u"Dpdr1"_s, true}});
    setRow(*dm.Dtabn3, {{u"S730"_s, 16384.0}});
    o = overview();
    EXPECT_EQ(o.r62, 16384.0);
    EXPECT_EQ(o.r64, 16384.0 - 8704);
}

TEST_F(OverviewTest, PeriodKindAndDeadline)
{
    const struct {
        QVariantMap prp;
        const char16_t *period;
        const char16_t *kind;
        QDate deadline;  // invalid: none
        bool lastOfYear;
        const char *why;
    } cases[] = {
        {{{u"M"_s, u"listopad"_s}, {u"Cislo"_s, 11}, {u"R"_s, u"2018"_s}}, u"listopad 2018", u"řádné", {2018, 12, 27},
         false, "Christmas moves the term"},
        {{{u"M"_s, QVariant()}, {u"Q"_s, u"IV."_s}, {u"Cislo"_s, 4}, {u"Dpdo1"_s, true}}, u"IV. čtvrtletí 2018",
         u"opravné", {2019, 1, 25}, true, "a corrective return of the last quarter"},
        {{{u"M"_s, u"září"_s}, {u"Q"_s, QVariant()}, {u"Cislo"_s, 9}, {u"Dpdo1"_s, false}, {u"Od1"_s, QDate(2018, 9, 1)},
          {u"Do1"_s, QDate(2018, 9, 7)}},
         u"září 2018", u"řádné", {2018, 10, 2}, false, "a part of the period ends it: 2 October"},
        {{{u"Od1"_s, QVariant()}, {u"Do1"_s, QVariant()}, {u"Dpdr1"_s, false}, {u"Dpdd1"_s, true},
          {u"D"_s, QDate(2018, 11, 30)}},
         u"září 2018", u"dodatečné", {2018, 12, 31}, false, "a supplementary return: the end of the next month"},
        {{{u"Dpdo1"_s, true}}, u"září 2018", u"dodatečné opravné", {2018, 12, 31}, false, "supplementary corrective"},
        {{{u"D"_s, QVariant()}}, u"září 2018", u"dodatečné opravné", {}, false, "no date the reasons were found"},
        {{{u"Dpdr1"_s, true}, {u"Dpdo1"_s, false}, {u"Dpdd1"_s, false}, {u"Q"_s, u"III."_s}}, u"", u"řádné", {},
         false, "both a month and a quarter: no period"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.why);
        setRow(*dm.Prp, rur::testing::inNameOrder(c.prp));
        const Overview o = overview();
        EXPECT_EQ(o.period, QString::fromUtf16(c.period));
        EXPECT_EQ(o.kind, QString::fromUtf16(c.kind));
        EXPECT_EQ(o.deadline, c.deadline);
        EXPECT_EQ(o.lastOfYear, c.lastOfYear);
        if (c.deadline.isValid()) {
            EXPECT_EQ(o.daysLeft, QDate(2018, 12, 20).daysTo(c.deadline));
        }
    }
}

// Past the deadline the term is red until the period is saved among the finished returns.
TEST_F(OverviewTest, StatesAfterSavingWritingTheFileAndABackup)
{
    setRow(*dm.Prp, {{u"M"_s, u"říjen"_s}, {u"Cislo"_s, 10}, {u"R"_s, u"2018"_s}});
    Overview o = overview();
    EXPECT_EQ(o.deadline, QDate(2018, 11, 26));
    EXPECT_EQ(o.daysLeft, -24);
    EXPECT_FALSE(o.saved);
    EXPECT_TRUE(o.overdue());
    EXPECT_TRUE(app::factText(o, Fact::Deadline).alarm);
    EXPECT_EQ(app::factText(o, Fact::Deadline).value, u"po 26.11.2018, lhůta uplynula před 24 dny"_s);
    EXPECT_FALSE(o.filingFileWritten.isValid());
    EXPECT_FALSE(o.lastBackup.isValid());
    EXPECT_TRUE(o.backupDue());

    vat::Trs(dm, false);
    o = overview();
    EXPECT_TRUE(o.saved);
    EXPECT_FALSE(o.overdue());
    EXPECT_FALSE(app::factText(o, Fact::Deadline).alarm);

    // The filing file counts for the return it was written for, while it is on the disk.
    QTemporaryDir out;
    base::UserSettings user;
    print::XmlPathSettings xml{out.path() + u"/DPHDP3.xml"_s};
    print::FilingContext filing{dm, dirs, user, xml, prompter};
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    ASSERT_EQ(print::saveFilingFile(filing), xml.pathTemplate);
    o = overview();
    EXPECT_GE(o.filingFileWritten, before);
    EXPECT_LE(o.filingFileWritten, QDateTime::currentDateTime());
    setRow(*dm.Prp, {{u"Dpdo1"_s, true}});
    EXPECT_FALSE(overview().filingFileWritten.isValid()) << "written for the regular return";
    setRow(*dm.Prp, {{u"Dpdo1"_s, false}});
    EXPECT_TRUE(overview().filingFileWritten.isValid());
    setRow(*dm.Prp, {{u"M"_s, u"listopad"_s}, {u"Cislo"_s, 11}});
    EXPECT_FALSE(overview().filingFileWritten.isValid()) << "written for October";
    setRow(*dm.Prp, {{u"M"_s, u"říjen"_s}, {u"Cislo"_s, 10}});
    ASSERT_TRUE(QFile::remove(xml.pathTemplate));
    EXPECT_FALSE(overview().filingFileWritten.isValid()) << "the file is gone";

    // A backup: its day, due again after 30 days.
    backup::ArchiveJob job{dm, dirs, prompter};
    ASSERT_TRUE(backup::Zalohovat(job, out.path() + u"/D1.zip"_s, false));
    const QDateTime now = QDateTime::currentDateTime();
    o = overview(now);
    EXPECT_EQ(o.lastBackup, now.date());
    EXPECT_FALSE(o.backupDue());
    EXPECT_FALSE(app::factText(o, Fact::Backup).alarm);
    EXPECT_FALSE(overview(now.addDays(30)).backupDue());
    o = overview(now.addDays(31));
    EXPECT_TRUE(o.backupDue());
    EXPECT_EQ(app::factText(o, Fact::Backup).value,
              u"poslední záloha "_s + now.date().toString(u"dd.MM.yyyy"_s) + u" je starší než 30 dní"_s);
    EXPECT_EQ(base::readBackupRecord(dirs.dataSetIni()).path, out.path() + u"/D1.zip"_s);
}

TEST_F(OverviewTest, ErrorsAndWarningsOfTheCheckNow)
{
    rur::testing::fillValidReturn(dm);
    const QDateTime valid(rur::testing::kValidReturnToday, QTime(9, 0));
    Overview o = overview(valid);
    EXPECT_EQ(o.errors, 0);
    EXPECT_EQ(o.warnings, 0);
    EXPECT_EQ(app::factText(o, Fact::Check).value, u"bez chyb a upozornění"_s);
    setRow(*dm.Prp, {{u"Fuc"_s, 0}, {u"Ddp"_s, QDate(2018, 4, 27)}});  // no tax office; filed late
    o = overview(valid);
    EXPECT_EQ(o.errors, 1);
    EXPECT_EQ(o.warnings, 1);
    EXPECT_EQ(app::factText(o, Fact::Check).value, u"1 chyba, 1 upozornění"_s);
    EXPECT_TRUE(app::factText(o, Fact::Check).alarm);
    EXPECT_EQ(o.taxpayer, u"Alfa „Beta“ s.r.o."_s);
    EXPECT_EQ(o.dic, u"CZ25596641"_s);
}

TEST(OverviewTexts, DaysLeftAndCounts)
{
    const std::pair<int, const char16_t *> days[] = {
        {1, u"zbývá 1 den"},         {3, u"zbývají 3 dny"},      {4, u"zbývají 4 dny"},
        {5, u"zbývá 5 dní"},         {22, u"zbývá 22 dní"},      {0, u"dnes je poslední den"},
        {-1, u"uplynula před 1 dnem"}, {-2, u"uplynula před 2 dny"}, {-7, u"uplynula před 7 dny"},
    };
    for (const auto &[n, text] : days)
        EXPECT_EQ(app::daysLeftText(n), QString::fromUtf16(text)) << n;

    Overview o;
    for (const auto &[errors, text] : {std::pair{2, u"2 chyby, 0 upozornění"}, std::pair{5, u"5 chyb, 0 upozornění"}}) {
        o.errors = errors;
        EXPECT_EQ(app::factText(o, Fact::Check).value, QString::fromUtf16(text));
    }
    o.today = QDate(2018, 12, 20);
    EXPECT_EQ(app::factText(o, Fact::Backup).value, u"data tohoto RUR zatím nebyla zálohována"_s);
    EXPECT_TRUE(app::factText(o, Fact::Backup).alarm);
}

TEST(OverviewTexts, Json)
{
    Overview o;
    o.taxpayer = u"Novák \"a syn\""_s;
    o.dic = u"CZ12345678"_s;
    o.period = u"listopad 2018"_s;
    o.kind = u"řádné"_s;
    o.r62 = 21000;
    o.r63 = 4200.5;
    o.r64 = 16800;
    o.deadline = QDate(2018, 12, 27);
    o.daysLeft = -3;
    o.filingFileWritten = QDateTime(QDate(2018, 12, 20), QTime(10, 15, 30));
    o.errors = 2;
    o.warnings = 1;
    o.lastBackup = QDate(2018, 12, 1);
    EXPECT_EQ(app::overviewJson(o), uR"({
  "poplatnik": "Novák \"a syn\"",
  "dic": "CZ12345678",
  "obdobi": "listopad 2018",
  "druh": "řádné",
  "r62": 21000,
  "r63": 4200.5,
  "r64": 16800,
  "r65": 0,
  "r66": 0,
  "termin": "2018-12-27",
  "dni": -3,
  "ulozeno": false,
  "soubor": "2018-12-20T10:15:30",
  "chyby": 2,
  "varovani": 1,
  "zaloha": "2018-12-01"
})"_s);

    const QString empty = app::overviewJson(Overview{});
    for (const char16_t *member : {u"\"obdobi\": null", u"\"termin\": null", u"\"dni\": null", u"\"soubor\": null",
                                   u"\"zaloha\": null"})
        EXPECT_TRUE(empty.contains(QString::fromUtf16(member))) << QString::fromUtf16(member).toStdString();
}

// rur-cli overview prints the JSON on stdout only; writing the file and a backup show in it.
TEST(OverviewCli, FollowsTheFileAndTheBackup)
{
    rur::testing::TestRoot root;
    root.createDataSet(u"D1"_s);
    root.addCatalogueRow(1, u"První"_s);
    QTemporaryDir out;
    const QStringList base{u"--root"_s, root.path()};

    rur::testing::CliResult r = rur::testing::cli(base + QStringList{u"overview"_s, u"D1"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.err, QString());
    EXPECT_TRUE(r.out.contains(u"\"obdobi\": \"leden 2018\",\n"_s)) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(u"\"termin\": \"2018-02-26\",\n"_s)) << "25 February 2018 is a Sunday";
    EXPECT_TRUE(r.out.contains(u"\"soubor\": null,\n"_s));
    EXPECT_TRUE(r.out.contains(u"\"zaloha\": null\n"_s));

    ASSERT_EQ(rur::testing::cli(base + QStringList{u"xml"_s, u"D1"_s, u"--out"_s, out.path() + u"/a.xml"_s}).exitCode, 0);
    ASSERT_EQ(rur::testing::cli(base + QStringList{u"backup"_s, u"D1"_s, out.path() + u"/a.zip"_s}).exitCode, 0);
    r = rur::testing::cli(base + QStringList{u"overview"_s, u"1"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QString today = QDate::currentDate().toString(Qt::ISODate);
    EXPECT_TRUE(r.out.contains(u"\"soubor\": \""_s + today + u'T')) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(u"\"zaloha\": \""_s + today + u"\"\n"_s)) << r.out.toStdString();

    r = rur::testing::cli(base + QStringList{u"overview"_s, u"D7"_s});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, QString());
}

}  // namespace
