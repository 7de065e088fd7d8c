// A shared data root reached through two mounts of one folder, as two computers reach a
// network folder: a data set one program has open is refused to a program on the other mount.
#include "data/DataM1.h"
#include "datasets/Catalogue.h"
#include "datasets/DataSetAccess.h"
#include "platform/Prompter.h"
#include "support/editions.h"
#include "support/run_cli.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace rur;

namespace {

using rur::testing::cli;
using rur::testing::CliResult;

// The folder server/RUR218 mounted a second time at second/: same files, another path.
class SharedRoot : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (::geteuid() != 0)
            GTEST_SKIP() << "a second mount of the shared folder needs root (mount --bind); run the tests as root";
        ASSERT_TRUE(tmp.isValid());
        first = tmp.path() + u"/server/RUR218/"_s;
        second = tmp.path() + u"/second/"_s;
        rur::testing::makeEdition(first, {u"Alfa"_s, u"Beta"_s});
        ASSERT_TRUE(QDir().mkpath(second));
        if (::mount(QFile::encodeName(first).constData(), QFile::encodeName(second).constData(), nullptr, MS_BIND,
                    nullptr)
            != 0)
            GTEST_SKIP() << "mount --bind is not allowed here: " << std::strerror(errno);
        mounted = true;
    }
    void TearDown() override
    {
        QDir::setCurrent(savedCwd);
        if (mounted)
            ::umount2(QFile::encodeName(second).constData(), MNT_DETACH);
    }

    QTemporaryDir tmp;
    QString first, second;
    bool mounted = false;
    const QString savedCwd = QDir::currentPath();
};

}  // namespace

TEST_F(SharedRoot, ADataSetOpenOnOneMountIsRefusedOnTheOther)
{
    ASSERT_TRUE(QFile::exists(second + u"D1/Dcis.DB"_s));
    ASSERT_NE(QFileInfo(first).canonicalFilePath(), QFileInfo(second).canonicalFilePath());

    // This process works on D1 through the first mount.
    base::Directories dirs;
    dirs.localDataRoot = dirs.dataRoot = first;
    dirs.notFound = false;
    {
        data::TDM1 dm;
        datasets::openDataSet(dm, dirs, u"D1"_s);
        ASSERT_TRUE(dm.tablesOpen());

        // Another process on the second mount: D1 is refused with the program's message, its
        // lock files stay, and D2 opens.
        CliResult r = cli({u"--root"_s, second, u"open"_s, u"1"_s});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err.trimmed(), u"Toto RUR právě zpracovává jiný uživatel."_s);
        EXPECT_TRUE(QFile::exists(first + u"D1/Pdoxusrs.lck"_s));
        r = cli({u"--root"_s, second, u"open"_s, u"2"_s});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();

        // The same through the selection's own check in this process on the other mount.
        base::Directories other = dirs;
        other.localDataRoot = other.dataRoot = second;
        platform::ScriptedPrompter prompter;
        datasets::Catalogue catalogue(other, prompter);
        catalogue.prepare();
        catalogue.showSelection();
        ASSERT_TRUE(catalogue.Data->locate(u"Cislo"_s, {1}));
        EXPECT_FALSE(catalogue.canOpenCurrent());
        EXPECT_EQ(prompter.texts(), QStringList{u"Toto RUR právě zpracovává jiný uživatel."_s});
        dm.closeAll();
        dm.Danove.disconnect();
    }
    // Closed on the first mount: free on the second.
    const CliResult r = cli({u"--root"_s, second, u"open"_s, u"1"_s});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
}
