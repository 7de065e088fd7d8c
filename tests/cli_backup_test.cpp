// rur-cli backup and restore: default path, choices, messages and exit codes.
#include "support/run_cli.h"
#include "support/test_root.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

using Result = rur::testing::CliResult;

Result cliWithHome(const QStringList &args, const QString &dataHome)
{
    rur::testing::CliOptions options;
    options.dataHome = dataHome;
    return rur::testing::cli(args, options);
}

}  // namespace

TEST(CliBackup, BackupAndRestoreReportTheirResult)
{
    rur::testing::TestRoot root;
    root.createDataSet(u"D1"_s);
    root.addCatalogueRow(1, u"První"_s);
    QTemporaryDir home;
    const QStringList base{u"--root"_s, root.path()};

    // Without a path the archive goes where "Adresář dat" puts it.
    Result r = cliWithHome(base + QStringList{u"backup"_s, u"1"_s}, home.path());
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QString archive = home.path() + u"/Tervik/RUR 2018/Zaloha/D1.zip"_s;
    EXPECT_EQ(r.out, archive + u'\n');
    EXPECT_EQ(r.err, u"Data byla zazálohována.\n"_s);
    EXPECT_TRUE(QFile::exists(archive));

    r = cliWithHome(base + QStringList{u"set"_s, u"1"_s, u"Prp"_s, u"Oj1a=Jiná firma"_s}, home.path());
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = cliWithHome(base + QStringList{u"restore"_s, u"1"_s, archive, u"--choice"_s, u"1"_s}, home.path());
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.err.trimmed(), u"Data byla obnovena."_s);
    r = cliWithHome(base + QStringList{u"show"_s, u"1"_s, u"Prp"_s}, home.path());
    EXPECT_TRUE(r.out.contains(u"Jiná firma"_s));  // choice 1 keeps the taxpayer
    r = cliWithHome(base + QStringList{u"restore"_s, u"D1"_s, archive}, home.path());
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = cliWithHome(base + QStringList{u"show"_s, u"1"_s, u"Prp"_s}, home.path());
    EXPECT_FALSE(r.out.contains(u"Jiná firma"_s));

    // Failures: exit status 1 with the program's messages, 2 for a choice that doesn't exist.
    r = cliWithHome(base + QStringList{u"restore"_s, u"1"_s, u"chybi.zip"_s}, home.path());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.trimmed(), u"Soubor chybi.zip nebyl nalezen, zkontrolujte správnost cesty."_s);
    QFile junk(home.path() + u"/junk.zip"_s);
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("PK not really");
    junk.close();
    r = cliWithHome(base + QStringList{u"restore"_s, u"1"_s, junk.fileName(), u"--choice"_s, u"3"_s}, home.path());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, u"Soubor "_s + junk.fileName() + u" nelze otevřít.\nChyba při obnově datových souborů.\n"_s);
    r = cliWithHome(base + QStringList{u"restore"_s, u"1"_s, archive, u"--choice"_s, u"4"_s}, home.path());
    EXPECT_EQ(r.exitCode, 2);
    QDir().mkpath(home.path() + u"/plny.zip"_s);  // a folder in the way of the archive
    r = cliWithHome(base + QStringList{u"backup"_s, u"1"_s, home.path() + u"/plny.zip"_s}, home.path());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.trimmed(), u"Soubor "_s + home.path() + u"/plny.zip nelze vytvořit."_s);
}
