// rur-cli convert, data-choice, copy-network-data and info.
#include "platform/IniFile.h"
#include "support/editions.h"
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

Result cliInFolder(const QStringList &args, const QString &workingDir = {})
{
    rur::testing::CliOptions options;
    options.workingDir = workingDir;
    return rur::testing::cli(args, options);
}

}  // namespace

TEST(CliDataRoot, ConvertTakesOverAnEarlierEditionAndCountsTheDataSets)
{
    QTemporaryDir tmp;
    const QString earlier = tmp.path() + u"/RUR 2017/"_s;
    rur::testing::makeEdition(earlier, {u"Alfa"_s, u"Beta"_s, u"Gama"_s});
    QFile::remove(earlier + u"D2/Dcis.DB"_s);
    rur::testing::TestRoot root;

    // A relative path, against the directory rur-cli starts in; the folder is enough.
    Result r = cliInFolder({u"--root"_s, root.path(), u"convert"_s, u"--from"_s, u"RUR 2017"_s}, tmp.path());
    EXPECT_EQ(r.exitCode, 1);  // one data set was left out
    EXPECT_EQ(r.out, u"Převedeno RUR: 2\n"_s);
    EXPECT_EQ(r.err, u"Data byla převedena z adresáře: \n\n"_s + earlier
                         + u"\n\nTato RUR se nepodařilo převést:\nBeta (D2): Chybí tabulka Dcis.DB.\n"_s);
    r = cliInFolder({u"--root"_s, root.path(), u"sets"_s});
    EXPECT_EQ(r.out, u"1\tAlfa\tD1\n3\tGama\tD3\n"_s);

    // Not into a filled catalogue; not without --from.
    r = cliInFolder({u"--root"_s, root.path(), u"convert"_s, u"--from"_s, earlier + u"Data.DB"_s});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, u"Seznam RUR není prázdný, data se nepřevádějí.\n"_s);
    EXPECT_EQ(cliInFolder({u"--root"_s, root.path(), u"convert"_s}).exitCode, 2);

    rur::testing::TestRoot fresh;
    r = cliInFolder({u"--root"_s, fresh.path(), u"convert"_s, u"--from"_s, fresh.path() + u"Data.DB"_s});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, u"Vyberte adresář s předchozí verzí programu RUR.\n"_s);
    QFile::copy(earlier + u"Data/Dcis.DB"_s, earlier + u"D2/Dcis.DB"_s);
    r = cliInFolder({u"--root"_s, fresh.path(), u"convert"_s, u"--from"_s, earlier + u"Data.DB"_s});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, u"Převedeno RUR: 3\n"_s);
    EXPECT_EQ(r.err, u"Data byla převedena z adresáře: \n\n"_s + earlier + u'\n');
}

TEST(CliDataRoot, DataChoiceReadsAndSetsLocalOrSharedData)
{
    rur::testing::TestRoot root;
    QTemporaryDir tmp;
    Result r = cliInFolder({u"--root"_s, root.path(), u"data-choice"_s});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, u"Práce s daty nebyla zvolena; data v datovém adresáři: "_s + root.path() + u"\nDatový adresář: "_s
                         + root.path() + u'\n');

    // A shared root prepared first, then chosen.
    const QString share = tmp.path() + u"/RUR218/"_s;
    r = cliInFolder({u"--root"_s, root.path(), u"copy-network-data"_s, share});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.err, u"Data byla nakopírována na disk "_s + share + u'\n');
    EXPECT_TRUE(QFile::exists(share + u"Data/Verze.ini"_s));
    r = cliInFolder({u"--root"_s, root.path(), u"data-choice"_s, u"--network"_s, share + u"Data.DB"_s});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, u"Datový adresář: "_s + share + u'\n');
    r = cliInFolder({u"--root"_s, root.path(), u"data-choice"_s});
    EXPECT_TRUE(r.out.startsWith(u"Data pro provoz v síti: "_s + share + u'\n')) << r.out.toStdString();

    // An unreachable share is stored, reported, and is no success.
    const QString gone = tmp.path() + u"/nikde/"_s;
    r = cliInFolder({u"--root"_s, root.path(), u"data-choice"_s, u"--network"_s, gone});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, u"Adresář "_s + gone + u"\nneexistuje, nebo není dostupný na síťové jednotce.\n"_s);

    r = cliInFolder({u"--root"_s, root.path(), u"data-choice"_s, u"--local"_s});
    EXPECT_EQ(r.exitCode, 0);
    const rur::platform::IniFile dph(root.path() + u"Dph.ini"_s);
    EXPECT_EQ(dph.readString(u"Dph"_s, u"Net"_s), u"0"_s);
    EXPECT_EQ(dph.readString(u"Dph"_s, u"Path"_s), gone);
    EXPECT_EQ(cliInFolder({u"--root"_s, root.path(), u"data-choice"_s, u"--local"_s, u"--network"_s, share}).exitCode, 2);

    r = cliInFolder({u"--root"_s, root.path(), u"info"_s});
    EXPECT_TRUE(r.out.contains(u"\nFileDir: "_s + root.path() + u'\n')) << r.out.toStdString();
}
