// Local or shared data: the stored choice, the data root it gives, preparing a shared data
// root, and telling whether the locks of a mount reach other computers.
#include "app/DataChoice.h"
#include "base/SharedLocks.h"
#include "data/Schemas.h"
#include "data/Templates.h"
#include "engine/TableFile.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "support/editions.h"
#include "support/printers.h"
#include "support/test_root.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>

using namespace Qt::StringLiterals;
using namespace rur;
using platform::IniFile;

namespace {

class DataChoice : public ::testing::Test {
protected:
    void SetUp() override
    {
        dirs.localDataRoot = dirs.dataRoot = local.path();
        dirs.notFound = false;
        dirs.dataVersion = 1700;
    }
    void TearDown() override { QDir::setCurrent(savedCwd); }

    IniFile dph() const { return IniFile(local.path() + u"Dph.ini"_s); }
    QString stored(const QString &key) const { return dph().readString(u"Dph"_s, key, u"(chybí)"_s); }

    rur::testing::TestRoot local;
    QTemporaryDir tmp;
    base::Directories dirs;
    platform::ScriptedPrompter prompter;
    const QString savedCwd = QDir::currentPath();
};

}  // namespace

TEST_F(DataChoice, TheChoiceDecidesTheDataRoot)
{
    EXPECT_FALSE(app::readDataChoice(dirs).chosen());
    const QString share = tmp.path() + u"/share/RUR218/"_s;
    rur::testing::makeEdition(share, {});

    // Shared data named by its catalogue, or by its folder.
    EXPECT_TRUE(app::applyDataChoice(dirs, true, share + u"Data.DB"_s, prompter));
    EXPECT_EQ(dirs.dataRoot, share);
    EXPECT_EQ(stored(u"Net"_s), u"1"_s);
    EXPECT_EQ(stored(u"Path"_s), share);
    EXPECT_EQ(app::catalogueEditText(app::readDataChoice(dirs)), share + u"Data.DB"_s);
    dirs.dataRoot = dirs.localDataRoot;
    EXPECT_TRUE(app::applyDataChoice(dirs, true, share.chopped(1), prompter));
    EXPECT_EQ(dirs.dataRoot, share);
    EXPECT_TRUE(prompter.messages.isEmpty());

    // Local data keeps the shared path for later.
    EXPECT_TRUE(app::applyDataChoice(dirs, false, QString(), prompter));
    EXPECT_EQ(dirs.dataRoot, local.path());
    EXPECT_EQ(stored(u"Net"_s), u"0"_s);
    EXPECT_EQ(stored(u"Path"_s), share);

    // Shared data without a path: stored, but the local data root stays in use.
    EXPECT_TRUE(app::applyDataChoice(dirs, true, QString(), prompter));
    EXPECT_EQ(stored(u"Net"_s), u"1"_s);
    EXPECT_EQ(stored(u"Path"_s), QString());
    EXPECT_EQ(dirs.dataRoot, local.path());

    // A share that isn't there: the message, and the local data root.
    const QString gone = tmp.path() + u"/odpojeno/"_s;
    EXPECT_TRUE(app::applyDataChoice(dirs, true, gone + u"Data.DB"_s, prompter));
    EXPECT_EQ(prompter.errors(),
              QStringList{u"Adresář "_s + gone + u"\nneexistuje, nebo není dostupný na síťové jednotce."_s});
    EXPECT_EQ(dirs.dataRoot, local.path());
    EXPECT_EQ(stored(u"Path"_s), gone);  // the next start tries it again
}

TEST_F(DataChoice, CopyingForSharedUseNeverReplacesASharedCatalogue)
{
    const QString disk = tmp.path() + u"/mnt"_s;
    ASSERT_TRUE(QDir().mkpath(disk));
    const QString target = disk + u"/RUR218/"_s;
    EXPECT_EQ(app::defaultSharedFolderName(), u"RUR218"_s);

    prompter.answers = {platform::Prompter::Answer::No};
    EXPECT_TRUE(app::copySharedData(dirs, disk, u"RUR218"_s, prompter).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(target));

    EXPECT_EQ(app::copySharedData(dirs, disk, u"RUR218"_s, prompter), target);
    EXPECT_EQ(prompter.texts(), (QStringList{u"Opravdu chcete kopírovat data na disk "_s + target,
                                             u"Opravdu chcete kopírovat data na disk "_s + target,
                                             u"Data byla nakopírována na disk "_s + target}));
    EXPECT_EQ(rur::testing::snapshot(target + u"Data/"_s).value(u"Prp.DB"_s),
              rur::testing::snapshot(local.path() + u"Data/"_s).value(u"Prp.DB"_s));
    EXPECT_EQ(IniFile(target + u"Data/Verze.ini"_s).readInteger(u"Verze"_s, u"Data"_s, 0), 1700);
    EXPECT_TRUE(rur::testing::fileColumns(target + u"Data.DB"_s).contains(u"Pozice"_s));
    EXPECT_TRUE(rur::testing::fileColumns(target + u"Uziv.DB"_s).contains(u"Heslo"_s));

    // The team works on it: its catalogue and passwords stay; only the templates are renewed.
    rur::testing::makeEdition(target, {u"Firma"_s});
    rur::testing::setPassword(target, 1, u"heslo"_s);
    QFile::remove(target + u"Data/Prp.DB"_s);
    const auto shared = rur::testing::snapshot(target);
    prompter.messages.clear();
    EXPECT_EQ(app::copySharedData(dirs, disk, u"RUR218"_s, prompter), target);
    EXPECT_EQ(rur::testing::snapshot(target), shared);
    EXPECT_TRUE(QFile::exists(target + u"Data/Prp.DB"_s));
}

TEST_F(DataChoice, ATargetThatCannotBeMadeIsReported)
{
    const QString file = tmp.path() + u"/soubor"_s;
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_TRUE(app::copySharedData(dirs, file, u"RUR218"_s, prompter).isEmpty());
    EXPECT_EQ(prompter.errors(), QStringList{u"Adresář "_s + file + u"/RUR218/ nelze vytvořit na disku "_s + file
                                             + u"/\n\nZkontroluje zda je tento disk dostupný."_s});
    prompter.messages.clear();
    EXPECT_TRUE(app::copySharedData(dirs, u"mnt"_s, u"RUR218"_s, prompter).isEmpty());
    EXPECT_EQ(prompter.errors(), QStringList{u"Nastavte správně cestu."_s});
}

TEST(SharedLocks, MountsWhoseLocksStayOnThisComputerAreNamed)
{
    const QByteArray mountinfo =
        "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
        "30 22 0:40 / /mnt/nfs rw,relatime shared:5 - nfs4 srv:/rur rw,vers=4.2,hard,proto=tcp,local_lock=none\n"
        "31 22 0:41 / /mnt/stare rw,relatime - nfs srv:/old rw,vers=3,nolock,proto=tcp\n"
        "32 22 0:42 / /mnt/lokalni rw - nfs4 srv:/x rw,vers=4.1,local_lock=posix\n"
        "33 22 0:43 / /mnt/smb rw,relatime - cifs //srv/rur rw,vers=3.0,nobrl,uid=1000\n"
        "34 22 0:44 / /mnt/smb2 rw,relatime - cifs //srv/rur2 rw,vers=3.0,uid=1000\n"
        "35 22 0:45 / /home/u/ssh\\040disk rw,nosuid - fuse.sshfs u@srv:/rur rw,user_id=1000\n"
        "36 30 0:46 / /mnt/nfs/vnitrni rw - ext4 /dev/sdb1 rw\n";
    const QList<base::MountEntry> mounts = base::parseMountInfo(mountinfo);
    ASSERT_EQ(mounts.size(), 8);
    EXPECT_EQ(mounts[6].mountPoint, u"/home/u/ssh disk"_s);
    const auto problem = [&](const QString &path) {
        const std::optional<base::MountEntry> m = base::mountOf(mounts, path);
        return m ? base::lockProblem(*m) : u"(žádný)"_s;
    };
    EXPECT_EQ(problem(u"/mnt/nfs/RUR218/"_s), QString());
    EXPECT_EQ(problem(u"/mnt/nfs/vnitrni/RUR218"_s), QString());
    EXPECT_EQ(problem(u"/mnt/nfsx/RUR218"_s), QString());  // on the root, not on /mnt/nfs
    EXPECT_EQ(problem(u"/mnt/stare/RUR218"_s), u"síťový disk NFS je připojen s volbou nolock"_s);
    EXPECT_EQ(problem(u"/mnt/lokalni"_s), u"síťový disk NFS je připojen s místními zámky (local_lock)"_s);
    EXPECT_EQ(problem(u"/mnt/smb/RUR218"_s), u"síťový disk SMB/CIFS je připojen s volbou nobrl"_s);
    EXPECT_EQ(problem(u"/mnt/smb2/RUR218"_s), QString());
    EXPECT_EQ(problem(u"/home/u/ssh disk/RUR218"_s), u"disk připojený přes SSH (sshfs) zámky nepřenáší"_s);

    EXPECT_TRUE(base::sharedLockMessage(u"/mnt/nfs/RUR218/"_s, mounts).isEmpty());
    EXPECT_TRUE(base::sharedLockMessage(u"/mnt/smb/RUR218/"_s, mounts)
                    .startsWith(u"Adresář /mnt/smb/RUR218/ nechrání data před současnou prací více počítačů: "
                                u"síťový disk SMB/CIFS je připojen s volbou nobrl.\n"_s));
    EXPECT_TRUE(base::sharedLockMessage(u"/mnt/smb/RUR218/"_s, {}).isEmpty());
}
