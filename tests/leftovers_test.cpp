// What killed procedures leave beside the tables goes when the data set is next opened, after
// SQLite has played back what it must; paths that name nothing are refused.
#include "support/files.h"
#include "support/run_cli.h"
#include "support/test_root.h"

#include "base/Directories.h"
#include "data/DataM1.h"
#include "datasets/DataSetAccess.h"
#include "engine/Table.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace rur;
using rur::testing::writeFile;

namespace {

class Leftovers : public ::testing::Test {
protected:
    void SetUp() override
    {
        root.createDataSet();
        root.addCatalogueRow(1, u"Firma"_s);
        dirs.localDataRoot = dirs.dataRoot = root.path();
        dirs.notFound = false;
    }
    rur::testing::CliResult run(const QStringList &args) { return rur::testing::cli(QStringList{u"--root"_s, root.path()} + args); }
    QStringList hiddenAndWork() const
    {
        QStringList out;
        for (const QString &name : QDir(root.dataSet()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
            if (name.startsWith(u'.') || name.contains(u"-journal"_s) || name.contains(u"-mj"_s) || name == u"Zaloha"_s)
                out.append(name);
        return out;
    }

    rur::testing::TestRoot root;
    base::Directories dirs;
};

TEST_F(Leftovers, OpeningPlaysBackAHotJournalAndRemovesWhatNoProcedureOwns)
{
    // A change killed before its commit leaves a hot journal: the opening plays it back.
    ASSERT_TRUE(rur::testing::killedAt("table:before-commit", [&] {
        data::TDM1 dm;
        datasets::openDataSet(dm, dirs, u"D1"_s);
        dm.Dtabn1->edit();
        dm.Dtabn1->field(u"C210"_s).setValue(777.0);
        dm.Dtabn1->post();
    }));
    ASSERT_TRUE(QFile::exists(root.dataSet() + u"Dtabn1.DB-journal"_s));

    // What else killed procedures leave: a journal of a change that never began, a
    // super-journal whose journals are gone, temporary copies, a safety archive half written.
    writeFile(root.dataSet() + u"Prp.DB-journal"_s, QByteArray(512, '\0'));
    writeFile(root.dataSet() + u"Dtabn1.DB-mj0A1B2C9FF"_s, (root.dataSet() + u"Dtabn2.DB-journal"_s).toUtf8() + '\0');
    writeFile(root.dataSet() + u".Maz.DB.tmp123-abc"_s, "kopie");
    writeFile(root.dataSet() + u"Zaloha/.Zaloha.zip.tmp77-1f"_s, "záloha");
    // libzip writes an archive through a file of its own beside the one it was given.
    writeFile(root.dataSet() + u"Zaloha/.Zaloha.zip.tmp77-2e.Xb3k9Q"_s, "záloha");
    writeFile(root.dataSet() + u".Dkh.DB.tmp5-6a.aZ09zz"_s, "kopie");
    // A file of the user's is no leftover.
    writeFile(root.dataSet() + u"poznamky.txt"_s, "moje");

    const rur::testing::CliResult r = run({u"show"_s, u"1"_s, u"Dtabn1"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(u"{\"C210\": null,"_s)) << r.out.toStdString();  // the killed change is gone
    EXPECT_EQ(hiddenAndWork(), QStringList());
    EXPECT_TRUE(QFile::exists(root.dataSet() + u"poznamky.txt"_s));
}

TEST(EmptyPaths, NameNoFolder)
{
    // An empty path would be the current folder: nothing may be written there.
    QTemporaryDir cwd;
    rur::testing::TestRoot root;
    for (const QStringList &args : {QStringList{u"--root"_s, root.path(), u"copy-network-data"_s, u""_s},
                                    QStringList{u"init"_s, u""_s}}) {
        QProcess p;
        p.setWorkingDirectory(cwd.path());
        p.start(QString::fromUtf8(RUR_CLI_PATH), args);
        p.waitForFinished(60000);
        EXPECT_EQ(p.exitCode(), 1) << args.join(u' ').toStdString();
        EXPECT_TRUE(QString::fromUtf8(p.readAllStandardError()).contains(u"Nastavte správně cestu."_s))
            << args.join(u' ').toStdString();
        EXPECT_TRUE(QDir(cwd.path()).isEmpty()) << args.join(u' ').toStdString();
    }
}

}  // namespace
