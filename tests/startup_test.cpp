// Start-up: the directory search, the data version, the window geometry and settings in
// Dph.ini, the network data root and its templates.
#include "app/Startup.h"
#include "base/Program.h"
#include "data/DataFileList.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "support/printers.h"
#include "support/test_root.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>

using namespace Qt::StringLiterals;
using namespace rur::app;
using namespace rur::base;
using rur::platform::IniFile;
using rur::platform::ScriptedPrompter;

namespace {

QString canonical(const QString &path)
{
    return QFileInfo(path).canonicalFilePath();
}

bool touch(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly);
}

// A program directory and a common data folder, both without a data root at first.
// findDirectories changes the current directory; it is restored after each test.
class StartupDirectories : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp_.isValid());
        ASSERT_TRUE(QDir().mkpath(program()));
        ASSERT_TRUE(QDir().mkpath(common()));
    }
    void TearDown() override { QDir::setCurrent(savedCwd_); }

    QString program() const { return tmp_.path() + u"/prg/"_s; }
    QString common() const { return tmp_.path() + u"/common"_s; }
    QString commonRoot() const { return common() + u"/Tervik/RUR 2018/"_s; }
    static void makeRoot(const QString &dir)
    {
        ASSERT_TRUE(QDir().mkpath(dir));
        ASSERT_TRUE(touch(dir + u"Data.DB"_s));
    }
    void writeDataIni(const QString &value) const
    {
        ASSERT_TRUE(IniFile(program() + u"Data.ini"_s).writeString(u"Data"_s, u"Dph"_s, value));
    }
    Directories find(const QString &commonFolder) const
    {
        return findDirectories(tmp_.path() + u"/prg"_s, commonFolder, u"/home/u/Dokumenty"_s);
    }

    QTemporaryDir tmp_;
    const QString savedCwd_ = QDir::currentPath();
};

TEST_F(StartupDirectories, NothingFoundKeepsProgramDirectory)
{
    for (const QString &commonFolder : {common(), QString()}) {
        const Directories d = find(commonFolder);
        EXPECT_TRUE(d.notFound);
        EXPECT_EQ(d.programDir, program());
        EXPECT_EQ(d.localDataRoot, program());
        EXPECT_EQ(d.dataRoot, program());
        EXPECT_EQ(d.commonDataFolder, commonFolder);
        EXPECT_EQ(d.documentsFolder, u"/home/u/Dokumenty"_s);
        EXPECT_EQ(QDir::currentPath(), savedCwd_);
    }
}

TEST_F(StartupDirectories, CommonFolderWithoutDataIni)
{
    makeRoot(commonRoot());
    const Directories d = find(common());
    EXPECT_FALSE(d.notFound);
    EXPECT_EQ(d.localDataRoot, commonRoot());
    EXPECT_EQ(d.dataRoot, commonRoot());
    EXPECT_EQ(d.dataIniDir, QString());
    EXPECT_EQ(canonical(QDir::currentPath()), canonical(commonRoot()));
}

TEST_F(StartupDirectories, DataIniDirectoryWinsOverCommonFolder)
{
    const QString own = tmp_.path() + u"/own"_s;
    makeRoot(own + u'/');
    makeRoot(commonRoot());
    writeDataIni(own);
    const Directories d = find(common());
    EXPECT_FALSE(d.notFound);
    EXPECT_EQ(d.dataIniDir, own + u'/');
    EXPECT_EQ(d.localDataRoot, own + u'/');
    EXPECT_EQ(d.dataRoot, own + u'/');
    EXPECT_EQ(canonical(QDir::currentPath()), canonical(own));
}

TEST_F(StartupDirectories, ProgramDirectoryMarkerInAnyCase)
{
    makeRoot(program());
    makeRoot(commonRoot());
    writeDataIni(u"adresarprg"_s);
    const Directories d = find(common());
    EXPECT_FALSE(d.notFound);
    EXPECT_EQ(d.localDataRoot, program());
    EXPECT_EQ(d.dataRoot, program());
    EXPECT_EQ(canonical(QDir::currentPath()), canonical(program()));
}

TEST_F(StartupDirectories, DataIniDirectoryWithoutDataDbSkipsCommonFolder)
{
    makeRoot(commonRoot());
    writeDataIni(tmp_.path() + u"/nowhere"_s);
    const Directories d = find(common());
    EXPECT_TRUE(d.notFound);
    EXPECT_EQ(d.dataRoot, program());
    EXPECT_EQ(d.localDataRoot, program());
    EXPECT_EQ(QDir::currentPath(), savedCwd_);
}

TEST_F(StartupDirectories, EmptyDataIniValueFallsBackToCommonFolder)
{
    makeRoot(commonRoot());
    writeDataIni(QString());
    const Directories d = find(common());
    EXPECT_FALSE(d.notFound);
    EXPECT_EQ(d.dataRoot, commonRoot());
}

// The first start creates the data root where --install-data puts it, but only in a folder
// that is missing or empty, and never when Data.ini names a directory or the common folder
// is unknown.
TEST_F(StartupDirectories, FirstStartCreatesDataRootInCommonFolder)
{
    Directories d = find(common());
    ASSERT_TRUE(d.notFound);
    EXPECT_EQ(defaultDataRoot(common()), commonRoot());
    ASSERT_TRUE(createFirstDataRoot(d));
    EXPECT_FALSE(d.notFound);
    EXPECT_EQ(d.localDataRoot, commonRoot());
    EXPECT_EQ(d.dataRoot, commonRoot());
    EXPECT_EQ(canonical(QDir::currentPath()), canonical(commonRoot()));
    for (const char16_t *file : {u"Data.DB", u"Uziv.DB", u"Dph.ini", u"Data/Verze.ini", u"Data/Dtabn1.DB"})
        EXPECT_TRUE(QFile::exists(commonRoot() + QString::fromUtf16(file))) << QString::fromUtf16(file).toStdString();
    EXPECT_EQ(readDataVersion(commonRoot()), 1700);
    // The next start finds it as any data root.
    QDir::setCurrent(savedCwd_);
    EXPECT_FALSE(find(common()).notFound);
    EXPECT_FALSE(createFirstDataRoot(d));  // found already: nothing to create

    // An empty folder left by someone is used too.
    QTemporaryDir other;
    ASSERT_TRUE(QDir().mkpath(other.path() + u"/Tervik/RUR 2018"_s));
    Directories e = findDirectories(program(), other.path(), QString());
    EXPECT_TRUE(createFirstDataRoot(e));
    EXPECT_TRUE(QFile::exists(other.path() + u"/Tervik/RUR 2018/Data.DB"_s));
}

TEST_F(StartupDirectories, FirstStartLeavesOtherDataAlone)
{
    // A folder with something in it but no catalogue: not ours to fill.
    ASSERT_TRUE(QDir().mkpath(commonRoot() + u"D1"_s));
    Directories d = find(common());
    EXPECT_FALSE(createFirstDataRoot(d));
    EXPECT_TRUE(d.notFound);
    EXPECT_FALSE(QFile::exists(commonRoot() + u"Data.DB"_s));
    EXPECT_EQ(QDir(commonRoot()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{u"D1"_s});

    // Data.ini names a directory without Data.DB: start-up fails as before.
    QTemporaryDir clean;
    const QString program2 = clean.path() + u"/prg/"_s;
    ASSERT_TRUE(QDir().mkpath(program2));
    ASSERT_TRUE(IniFile(program2 + u"Data.ini"_s).writeString(u"Data"_s, u"Dph"_s, clean.path() + u"/nowhere"_s));
    Directories withIni = findDirectories(program2, clean.path() + u"/common"_s, QString());
    EXPECT_FALSE(createFirstDataRoot(withIni));
    EXPECT_FALSE(QFileInfo::exists(clean.path() + u"/common"_s));

    // No common data folder: nowhere to create it.
    Directories noCommon = find(QString());
    EXPECT_FALSE(createFirstDataRoot(noCommon));
    EXPECT_TRUE(noCommon.notFound);
}

TEST_F(StartupDirectories, FirstStartThatCannotWriteLeavesNothing)
{
    // A file where the folder Tervik should be: the data root can't be made.
    ASSERT_TRUE(touch(common() + u"/Tervik"_s));
    Directories d = find(common());
    EXPECT_FALSE(createFirstDataRoot(d));
    EXPECT_TRUE(d.notFound);
    EXPECT_EQ(d.dataRoot, program());
    EXPECT_EQ(QDir::currentPath(), savedCwd_);
}

TEST(StartupVersion, DataVersionAgainstProgram)
{
    const rur::testing::TestRoot root;
    ASSERT_TRUE(root.valid());
    EXPECT_EQ(readDataVersion(root.path()), kProgramVersion);
    EXPECT_EQ(versionMismatchMessage(readDataVersion(root.path())), QString());
    EXPECT_EQ(versionMismatchMessage(1600), u"Máte novější verzi programu než adresář Data.\nNainstalujte program znovu."_s);
    EXPECT_EQ(versionMismatchMessage(1800), u"Máte starší verzi programu než adresář Data.\nNainstalujte program znovu."_s);

    ASSERT_TRUE(QFile::remove(root.path() + u"Data/Verze.ini"_s));
    EXPECT_EQ(readDataVersion(root.path()), 0);
}

class StartupSettings : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(tmp_.isValid()); }
    QString root() const { return tmp_.path() + u'/'; }
    IniFile dph() const { return IniFile(root() + u"Dph.ini"_s); }
    int read(const QString &key) const { return dph().readInteger(u"Dph"_s, key, -99); }

    QTemporaryDir tmp_;
};

TEST_F(StartupSettings, DefaultGeometryByScreenSize)
{
    struct Case {
        QSize screen;
        int width, height;
    };
    for (const Case &c : {Case{{640, 480}, 640, 453}, Case{{641, 481}, 800, 573}, Case{{1024, 480}, 800, 453},
                          Case{{640, 768}, 640, 573}}) {
        const WindowGeometry g = defaultGeometry(c.screen);
        EXPECT_EQ(g.top, 0);
        EXPECT_EQ(g.left, 0);
        EXPECT_EQ(g.width, c.width) << c.screen.width();
        EXPECT_EQ(g.height, c.height) << c.screen.height();
        EXPECT_FALSE(g.maximized);
    }
}

TEST_F(StartupSettings, StoredGeometryWithoutMaximized)
{
    const WindowGeometry current = defaultGeometry({1024, 768});
    const WindowGeometry wide = storedGeometry(dph(), current, {1024, 768});
    EXPECT_FALSE(wide.maximized);
    EXPECT_EQ(wide.top, 0);
    EXPECT_EQ(wide.left, 0);
    EXPECT_EQ(wide.width, 800);
    EXPECT_EQ(wide.height, 573);
    EXPECT_TRUE(storedGeometry(dph(), current, {800, 600}).maximized);
    EXPECT_FALSE(storedGeometry(dph(), current, {801, 600}).maximized);

    // Geometry keys alone do not count.
    ASSERT_TRUE(dph().writeInteger(u"Dph"_s, u"Width"_s, 700));
    const WindowGeometry g = storedGeometry(dph(), current, {1024, 768});
    EXPECT_EQ(g.width, 800);
}

TEST_F(StartupSettings, StoredGeometryWithMaximized)
{
    IniFile ini = dph();
    ASSERT_TRUE(ini.writeInteger(u"Dph"_s, u"Top"_s, 30));
    ASSERT_TRUE(ini.writeInteger(u"Dph"_s, u"Left"_s, 40));
    ASSERT_TRUE(ini.writeInteger(u"Dph"_s, u"Width"_s, 700));
    ASSERT_TRUE(ini.writeInteger(u"Dph"_s, u"Maximized"_s, 0));
    WindowGeometry current;
    current.height = 444;
    WindowGeometry g = storedGeometry(ini, current, {800, 600});
    EXPECT_FALSE(g.maximized);
    EXPECT_EQ(g.top, 30);
    EXPECT_EQ(g.left, 40);
    EXPECT_EQ(g.width, 700);
    EXPECT_EQ(g.height, 444);

    ASSERT_TRUE(ini.writeInteger(u"Dph"_s, u"Maximized"_s, 1));
    g = storedGeometry(ini, current, {1920, 1080});
    EXPECT_TRUE(g.maximized);
    EXPECT_EQ(g.width, 700);
}

TEST_F(StartupSettings, UserSettingsRead)
{
    UserSettings s = readUserSettings(dph());
    EXPECT_EQ(s.typPisma, 0);
    EXPECT_EQ(s.kodovani, 0);
    EXPECT_TRUE(s.radky);
    IniFile ini = dph();
    ASSERT_TRUE(ini.writeInteger(u"Dph"_s, u"TypPisma"_s, 1));
    ASSERT_TRUE(ini.writeInteger(u"Dph"_s, u"Kodovani"_s, 3));
    ASSERT_TRUE(ini.writeInteger(u"Dph"_s, u"Radky"_s, 0));
    s = readUserSettings(dph());
    EXPECT_EQ(s.typPisma, 1);
    EXPECT_EQ(s.kodovani, 3);
    EXPECT_FALSE(s.radky);
}

TEST_F(StartupSettings, CloseWritesNormalGeometry)
{
    const WindowGeometry g{12, 34, 700, 500, false};
    ASSERT_TRUE(saveOnClose(root(), g, UserSettings{1, 2, true}));
    EXPECT_EQ(read(u"Top"_s), 12);
    EXPECT_EQ(read(u"Left"_s), 34);
    EXPECT_EQ(read(u"Width"_s), 700);
    EXPECT_EQ(read(u"Height"_s), 500);
    EXPECT_EQ(read(u"Maximized"_s), 0);
    EXPECT_EQ(read(u"TypPisma"_s), 1);
    EXPECT_EQ(read(u"Kodovani"_s), 2);
    EXPECT_FALSE(QFile::exists(root() + u"Verze.txt"_s));

    // Read back, the file gives the same window.
    const WindowGeometry back = storedGeometry(dph(), defaultGeometry({1024, 768}), {1024, 768});
    EXPECT_EQ(back.top, 12);
    EXPECT_EQ(back.left, 34);
    EXPECT_FALSE(back.maximized);
}

TEST_F(StartupSettings, CloseMaximizedKeepsLastNormalGeometry)
{
    ASSERT_TRUE(saveOnClose(root(), WindowGeometry{12, 34, 700, 500, false}, {}));
    ASSERT_TRUE(saveOnClose(root(), WindowGeometry{0, 0, 1920, 1080, true}, UserSettings{0, 4, true}));
    EXPECT_EQ(read(u"Maximized"_s), 1);
    EXPECT_EQ(read(u"Top"_s), 12);
    EXPECT_EQ(read(u"Left"_s), 34);
    EXPECT_EQ(read(u"Width"_s), 700);
    EXPECT_EQ(read(u"Height"_s), 500);
    EXPECT_EQ(read(u"Kodovani"_s), 4);
}

TEST_F(StartupSettings, FailedWriteReportsAndProbesRoot)
{
    EXPECT_FALSE(saveOnClose(root() + u"missing/"_s, WindowGeometry{}, {}));
    EXPECT_FALSE(QFile::exists(root() + u"missing"_s));

    ASSERT_TRUE(QDir().mkpath(root() + u"Dph.ini"_s));
    EXPECT_FALSE(saveOnClose(root(), WindowGeometry{}, {}));
    EXPECT_TRUE(QFile::exists(root() + u"Verze.txt"_s));
    EXPECT_EQ(QFileInfo(root() + u"Verze.txt"_s).size(), 0);
}

// A local data root and a network one, both made by the installer.
class StartupNetwork : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(local_.valid());
        ASSERT_TRUE(network_.valid());
        dirs_.localDataRoot = dirs_.dataRoot = local_.path();
        dirs_.dataVersion = readDataVersion(local_.path());
        ASSERT_EQ(dirs_.dataVersion, kProgramVersion);
    }
    void setNet(const QString &net, const QString &path) const
    {
        IniFile dph(local_.path() + u"Dph.ini"_s);
        ASSERT_TRUE(dph.writeString(u"Dph"_s, u"Net"_s, net));
        ASSERT_TRUE(dph.writeString(u"Dph"_s, u"Path"_s, path));
    }
    QString networkTemplates() const { return network_.path() + u"Data/"_s; }
    void setNetworkVersion(int version) const
    {
        ASSERT_TRUE(IniFile(networkTemplates() + u"Verze.ini"_s).writeInteger(u"Verze"_s, u"Data"_s, version));
    }
    // Spoils network templates of every group so that a copy shows.
    void spoilNetworkTemplates() const
    {
        ASSERT_TRUE(QFile::remove(networkTemplates() + u"Dcis.DB"_s));
        for (const QString &file : {u"Prp.DB"_s, u"Data.DB"_s, u"Uziv.DB"_s}) {
            QFile f(networkTemplates() + file);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write("stale");
        }
    }
    // Every template of the local root is on the network, byte for byte.
    void expectTemplatesCopied() const
    {
        const auto localFiles = rur::testing::snapshot(local_.path() + u"Data/"_s);
        const auto networkFiles = rur::testing::snapshot(networkTemplates());
        const QStringList copied =
            rur::data::catalogueFiles() + rur::data::passwordFiles() + rur::data::dataFileList();
        int compared = 0;
        for (auto it = localFiles.cbegin(); it != localFiles.cend(); ++it) {
            if (!copied.contains(it.key()))
                continue;
            ++compared;
            EXPECT_EQ(networkFiles.value(it.key()), it.value()) << it.key().toStdString();
        }
        EXPECT_GT(compared, 20);
        EXPECT_TRUE(localFiles.contains(u"Data.DB"_s));
        EXPECT_TRUE(localFiles.contains(u"Uziv.DB"_s));
        EXPECT_EQ(readDataVersion(network_.path()), dirs_.dataVersion);
    }

    rur::testing::TestRoot local_;
    rur::testing::TestRoot network_;
    Directories dirs_;
    ScriptedPrompter prompter_;
};

TEST_F(StartupNetwork, NetworkPathBecomesDataRoot)
{
    QString path = network_.path();
    path.chop(1);
    setNet(u"1"_s, path);
    EXPECT_TRUE(applyNetworkDataRoot(dirs_, prompter_));
    EXPECT_EQ(dirs_.dataRoot, network_.path());
    EXPECT_EQ(dirs_.localDataRoot, local_.path());
    EXPECT_TRUE(prompter_.messages.isEmpty());
}

TEST_F(StartupNetwork, UnreachableNetworkPathKeepsLocalRoot)
{
    const QString path = network_.path() + u"chybi/"_s;
    setNet(u"1"_s, path);
    applyNetworkDataRoot(dirs_, prompter_);
    EXPECT_EQ(dirs_.dataRoot, local_.path());
    EXPECT_EQ(prompter_.errors(),
              QStringList{u"Adresář "_s + path + u"\nneexistuje, nebo není dostupný na síťové jednotce."_s});
    // The stored choice stays.
    EXPECT_EQ(IniFile(local_.path() + u"Dph.ini"_s).readString(u"Dph"_s, u"Path"_s), path);
}

TEST_F(StartupNetwork, LocalChoiceOrNoPathChangesNothing)
{
    for (const auto &[net, path] : {std::pair{u"0"_s, network_.path()}, std::pair{QString(), network_.path()},
                                    std::pair{u"1"_s, QString()}}) {
        setNet(net, path);
        EXPECT_FALSE(applyNetworkDataRoot(dirs_, prompter_)) << net.toStdString();
        EXPECT_EQ(dirs_.dataRoot, local_.path());
    }
    EXPECT_TRUE(prompter_.messages.isEmpty());
}

TEST_F(StartupNetwork, OlderNetworkTemplatesAreReplaced)
{
    setNetworkVersion(1600);
    spoilNetworkTemplates();
    dirs_.dataRoot = network_.path();
    refreshNetworkTemplates(dirs_, prompter_);
    expectTemplatesCopied();
    EXPECT_TRUE(prompter_.messages.isEmpty());
}

TEST_F(StartupNetwork, MissingNetworkTemplateFolderIsCreated)
{
    ASSERT_TRUE(QDir(networkTemplates()).removeRecursively());
    dirs_.dataRoot = network_.path();
    refreshNetworkTemplates(dirs_, prompter_);
    EXPECT_TRUE(QFileInfo(networkTemplates()).isDir());
    expectTemplatesCopied();
}

TEST_F(StartupNetwork, CurrentOrNewerNetworkTemplatesStay)
{
    spoilNetworkTemplates();
    const auto before = rur::testing::snapshot(networkTemplates());
    dirs_.dataRoot = network_.path();
    refreshNetworkTemplates(dirs_, prompter_);
    EXPECT_EQ(rur::testing::snapshot(networkTemplates()), before);
    EXPECT_TRUE(prompter_.messages.isEmpty());

    setNetworkVersion(1800);
    const auto newer = rur::testing::snapshot(networkTemplates());
    refreshNetworkTemplates(dirs_, prompter_);
    EXPECT_EQ(rur::testing::snapshot(networkTemplates()), newer);
    EXPECT_EQ(prompter_.errors(), QStringList{u"Nainstalujte na tento počítač nejnovější verzi programu."_s});
}

TEST_F(StartupNetwork, OnlyAnotherRootWithCatalogueIsRefreshed)
{
    setNetworkVersion(1600);
    const auto before = rur::testing::snapshot(networkTemplates());

    // The data root is the local one (the local templates are never their own copy).
    ASSERT_TRUE(IniFile(local_.path() + u"Data/Verze.ini"_s).writeInteger(u"Verze"_s, u"Data"_s, 1600));
    refreshNetworkTemplates(dirs_, prompter_);
    EXPECT_EQ(readDataVersion(local_.path()), 1600);

    // A network root without its catalogue.
    ASSERT_TRUE(QFile::remove(network_.path() + u"Data.DB"_s));
    dirs_.dataRoot = network_.path();
    refreshNetworkTemplates(dirs_, prompter_);
    EXPECT_EQ(rur::testing::snapshot(networkTemplates()), before);
    EXPECT_TRUE(prompter_.messages.isEmpty());
}

}  // namespace
