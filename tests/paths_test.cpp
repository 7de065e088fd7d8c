// Path templates, folder-browse starting folders, the taxpayer file stem and the text splits.
#include "base/Paths.h"
#include "data/DataM1.h"
#include "data/FileStem.h"
#include "data/TextSplits.h"
#include "support/printers.h"
#include "support/test_root.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>

using namespace Qt::StringLiterals;
using namespace rur::base;

namespace {

const QString kSetDrive = u"Nastavte písmeno disku (např. F:)."_s;
const QString kSetPath = u"Nastavte správně cestu."_s;

Directories sampleDirs()
{
    Directories d;
    d.localDataRoot = d.dataRoot = u"/opt/rur/"_s;
    d.commonDataFolder = u"/a/share"_s;
    d.documentsFolder = u"/a/docs"_s;
    return d;
}

TEST(PathsTemplate, DefaultTemplatesByTypeAndKind)
{
    Directories d = sampleDirs();
    EXPECT_EQ(CestyTyp1(d, 1, KindXml, u"DPHDP3 - "_s, u"D1"_s), u"%AdresarDat%/Tervik/RUR 2018/XML/DPHDP3 - D1.xml"_s);
    EXPECT_EQ(CestyTyp1(d, 2, KindKpc, u"Banka - "_s, u"D1"_s), u"%AdresarUziv%/Tervik/RUR 2018/KPC/Banka - D1.kpc"_s);
    EXPECT_EQ(CestyTyp1(d, 3, KindBackup, {}, u"D1"_s), u"%Disk%/Tervik/RUR 2018/Zaloha/D1.zip"_s);
    EXPECT_EQ(CestyTyp1(d, 4, KindBackup, {}, u"D1"_s), u"D1.zip"_s);
    EXPECT_EQ(CestyTyp1(d, 1, KindNone, u"x"_s, u"D1"_s), u"%AdresarDat%/Tervik/RUR 2018/"_s);

    // A Data.ini directory replaces the whole base of type 1 only.
    d.dataIniDir = u"/srv/rur/"_s;
    EXPECT_EQ(CestyTyp1(d, 1, KindXml, u"DPHDP3 - "_s, u"D1"_s), u"/srv/rur/XML/DPHDP3 - D1.xml"_s);
    EXPECT_EQ(CestyTyp1(d, 2, KindBackup, {}, u"D1"_s), u"%AdresarUziv%/Tervik/RUR 2018/Zaloha/D1.zip"_s);
}

TEST(PathsTemplate, ExpansionOfMarkersAndRelativePaths)
{
    Directories d = sampleDirs();
    EXPECT_EQ(CestyTyp2(d, u"Zaloha2"_s, KindBackup), u"/opt/rur/Zaloha/Zaloha2"_s);
    EXPECT_EQ(CestyTyp2(d, u"\\f.kpc"_s, KindKpc), u"/opt/rur/KPC/f.kpc"_s);
    EXPECT_EQ(CestyTyp2(d, CestyTyp1(d, 4, KindXml, {}, u"D1"_s), KindXml), u"/opt/rur/XML/D1.xml"_s);
    EXPECT_EQ(CestyTyp2(d, u"%adresardat%x"_s, KindXml), u"/a/share/x"_s);
    EXPECT_EQ(CestyTyp2(d, CestyTyp1(d, 1, KindXml, u"DPHDP3 - "_s, u"D1"_s), KindXml),
              u"/a/share/Tervik/RUR 2018/XML/DPHDP3 - D1.xml"_s);
    EXPECT_EQ(CestyTyp2(d, u"%ADRESARUZIV%/Tervik/f.zip"_s, KindBackup), u"/a/docs/Tervik/f.zip"_s);
    EXPECT_EQ(CestyTyp2(d, u"/mnt/x/f.zip"_s, KindNone), u"/mnt/x/f.zip"_s);

    EXPECT_EQ(CestyTyp2(d, u"%Disk%/Tervik/RUR 2018/Zaloha/D1.zip"_s, KindBackup), kSetDrive);
    EXPECT_EQ(CestyTyp2(d, u"Denik/Data.DB"_s, KindNone), kSetPath);
    EXPECT_EQ(CestyTyp2(d, u"%Jinde%/f.zip"_s, KindBackup), kSetPath);
    EXPECT_EQ(CestyTyp2(d, {}, KindBackup), kSetPath);
    d.commonDataFolder.clear();
    d.documentsFolder.clear();
    EXPECT_EQ(CestyTyp2(d, u"%AdresarDat%/x"_s, KindXml), kSetPath);
    EXPECT_EQ(CestyTyp2(d, u"%AdresarUziv%/x"_s, KindXml), kSetPath);

    EXPECT_TRUE(isPathMessage(kSetDrive));
    EXPECT_TRUE(isPathMessage(kSetPath));
    EXPECT_FALSE(isPathMessage(u"/opt/rur/Zaloha/Zaloha2"_s));
}

TEST(PathsTemplate, BackslashesOfEarlierEditionsSeparateFolders)
{
    const Directories d = sampleDirs();
    EXPECT_EQ(CestyTyp2(d, u"XML2\\DPHDP3.xml"_s, KindXml), u"/opt/rur/XML/XML2/DPHDP3.xml"_s);
    EXPECT_EQ(CestyTyp2(d, u"\\XML2\\DPHDP3.xml"_s, KindXml), u"/opt/rur/XML/XML2/DPHDP3.xml"_s);
    EXPECT_EQ(CestyTyp2(d, u"%AdresarDat%\\Tervik\\RUR 2018\\Zaloha\\D1.zip"_s, KindBackup),
              u"/a/share/Tervik/RUR 2018/Zaloha/D1.zip"_s);
    EXPECT_EQ(CestyTyp2(d, u"%AdresarUziv%\\f.kpc"_s, KindKpc), u"/a/docs/f.kpc"_s);
    EXPECT_EQ(CestyTyp2(d, u"%Disk%\\Tervik\\f.zip"_s, KindBackup), kSetDrive);
    // A drive letter of a Windows path names nothing here.
    EXPECT_EQ(CestyTyp2(d, u"F:\\Zaloha\\D1.zip"_s, KindBackup), kSetPath);
    EXPECT_EQ(CestyTyp3(d, u"/a/share\\Tervik\\f.zip"_s), u"%AdresarDat%/Tervik/f.zip"_s);
    EXPECT_EQ(DirTyp2(d, u"%AdresarDat%\\Tervik\\RUR 2018\\XML\\x.xml"_s, u"/jinam/"_s), u"/a/share/Tervik/"_s);
}

TEST(PathsTemplate, RealPathsBecomeTemplatesAtFolderBoundaries)
{
    const Directories d = sampleDirs();
    EXPECT_EQ(CestyTyp3(d, u"/a/share/Tervik/f.zip"_s), u"%AdresarDat%/Tervik/f.zip"_s);
    EXPECT_EQ(CestyTyp3(d, u"/A/Share/f.zip"_s), u"/A/Share/f.zip"_s);  // another folder on this file system
    EXPECT_EQ(CestyTyp3(d, u"/a/docs/f.kpc"_s), u"%AdresarUziv%/f.kpc"_s);
    EXPECT_EQ(CestyTyp3(d, u"/a/share2/x"_s), u"/a/share2/x"_s);
    EXPECT_EQ(CestyTyp3(d, u"/a/docsx/f"_s), u"/a/docsx/f"_s);
    EXPECT_EQ(CestyTyp3(Directories(), u"/a/share/x"_s), u"/a/share/x"_s);

    for (const QString &path : {u"/a/share/Tervik/RUR 2018/XML/DPHDP3 - D1.xml"_s, u"/a/docs/Banka - D1.kpc"_s,
                                u"/a/share2/x"_s, u"/mnt/usb/D1.zip"_s})
        EXPECT_EQ(CestyTyp2(d, CestyTyp3(d, path), KindBackup), path);
}

TEST(PathsDirectories, SlashesCaseAndDataSetFiles)
{
    EXPECT_EQ(withSlash(u"/a/b"_s), u"/a/b/"_s);
    EXPECT_EQ(withSlash(u"/a/b/"_s), u"/a/b/"_s);
    EXPECT_EQ(withSlash(QString()), QString());
    EXPECT_TRUE(samePath(u"/Data/RUR"_s, u"/data/rur/"_s));
    EXPECT_FALSE(samePath(u"/data/rur"_s, u"/data/rur2"_s));

    Directories d = sampleDirs();
    EXPECT_EQ(d.dataSetIni(), QString());
    EXPECT_EQ(d.dataSetPath(), QString());
    d.dataRoot = u"/net/rur/"_s;
    d.dataSetDir = u"D12"_s;
    EXPECT_EQ(d.dataSetPath(), u"/net/rur/D12/"_s);
    EXPECT_EQ(d.dataSetIni(), u"/net/rur/D12/D12.ini"_s);
}

class PathsBrowse : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp_.isValid());
        base_ = tmp_.path();
        for (const QString &dir : {u"/local/root"_s, u"/common/Tervik"_s, u"/docs"_s, u"/ini"_s})
            ASSERT_TRUE(QDir().mkpath(base_ + dir));
        dirs_.localDataRoot = dirs_.dataRoot = base_ + u"/local/root/"_s;
        dirs_.commonDataFolder = base_ + u"/common"_s;
        dirs_.documentsFolder = base_ + u"/docs"_s;
        dirs_.dataIniDir = base_ + u"/ini/"_s;
    }

    QTemporaryDir tmp_;
    QString base_;
    Directories dirs_;
};

TEST_F(PathsBrowse, FolderByType)
{
    const QString local = dirs_.localDataRoot;
    EXPECT_EQ(DirTyp(dirs_, 1, {}), base_ + u"/local/"_s);
    EXPECT_EQ(DirTyp(dirs_, 3, {}), u"/"_s);
    EXPECT_EQ(DirTyp(dirs_, 4, {}), local);
    EXPECT_EQ(DirTyp(dirs_, 5, {}), u"/"_s);
    EXPECT_EQ(DirTyp(dirs_, 9, {}), local);

    EXPECT_EQ(DirTyp(dirs_, 2, u"/mnt/x/f.zip"_s), u"/"_s);
    EXPECT_EQ(DirTyp(dirs_, 2, u"f.zip"_s), local);
    EXPECT_EQ(DirTyp(dirs_, 2, base_ + u"/common/Tervik/RUR 2018/f.zip"_s), base_ + u"/common/Tervik/"_s);
    EXPECT_EQ(DirTyp(dirs_, 2, base_ + u"/ini/XML/f.xml"_s), base_ + u"/ini/"_s);
    // The documents folder without its Tervik folder, then with it.
    EXPECT_EQ(DirTyp(dirs_, 2, base_ + u"/docs/f.kpc"_s), base_ + u"/docs/"_s);
    ASSERT_TRUE(QDir().mkpath(base_ + u"/docs/Tervik"_s));
    EXPECT_EQ(DirTyp(dirs_, 2, base_ + u"/docs/f.kpc"_s), base_ + u"/docs/Tervik/"_s);
}

TEST_F(PathsBrowse, MissingFolderFallsBackToLocalRoot)
{
    ASSERT_TRUE(QDir(base_ + u"/common/Tervik"_s).removeRecursively());
    EXPECT_EQ(DirTyp(dirs_, 2, base_ + u"/common/f.zip"_s), dirs_.localDataRoot);
    ASSERT_TRUE(QDir(base_ + u"/docs"_s).removeRecursively());
    EXPECT_EQ(DirTyp(dirs_, 2, base_ + u"/docs/f.kpc"_s), dirs_.localDataRoot);
}

TEST_F(PathsBrowse, TemplateUnderCommonTervikFolder)
{
    const QString fallback = u"/fallback/"_s;
    EXPECT_EQ(DirTyp2(dirs_, u"%adresardat%/TERVIK/RUR 2018/Denik/Data.DB"_s, fallback), base_ + u"/common/Tervik/"_s);
    EXPECT_EQ(DirTyp2(dirs_, u"%AdresarUziv%/Tervik/Data.DB"_s, fallback), fallback);
    EXPECT_EQ(DirTyp2(dirs_, base_ + u"/common/Tervik/Data.DB"_s, fallback), fallback);
    dirs_.commonDataFolder.clear();
    EXPECT_EQ(DirTyp2(dirs_, u"%AdresarDat%/Tervik/Data.DB"_s, fallback), fallback);
}

TEST(PathsFileStem, NamesMadeSafeForFileNames)
{
    EXPECT_EQ(fileStemFromNames({}, {}, {}, u"A/B: s.r.o."_s, {}), u"AB s.r.o."_s);
    EXPECT_EQ(fileStemFromNames({}, {}, {}, u" x\\y/z:*?\"<>| "_s, {}), u"xyz"_s);
    EXPECT_EQ(fileStemFromNames(u"Ing."_s, u"Jan"_s, u"Novák"_s, {}, {}), u"Ing. Jan Novák"_s);
    EXPECT_EQ(fileStemFromNames({}, u"Jan"_s, u"Novák "_s, {}, {}), u"Jan Novák"_s);
    EXPECT_EQ(fileStemFromNames({}, {}, u"Novák"_s, {}, {}), u"Novák"_s);
    // Both kinds of name, or none: no stem.
    EXPECT_EQ(fileStemFromNames({}, u"Jan"_s, {}, u"Firma"_s, {}), QString());
    EXPECT_EQ(fileStemFromNames({}, {}, {}, {}, {}), QString());

    // The long company name wins and is cut to 130 characters before trimming.
    EXPECT_EQ(fileStemFromNames({}, {}, {}, u"Krátký"_s, u" Dlouhý název "_s), u"Dlouhý název"_s);
    const QString longName = QString(129, u'x') + u' ' + QString(20, u'y');
    EXPECT_EQ(fileStemFromNames({}, {}, {}, {}, longName), QString(129, u'x'));
    EXPECT_EQ(fileStemFromNames({}, {}, {}, {}, u"  "_s + QString(200, u'z')), QString(128, u'z'));
}

TEST(PathsFileStem, TaxpayerTableOrDataSetName)
{
    const rur::testing::TestRoot root;
    ASSERT_TRUE(root.valid());
    root.createDataSet();
    Directories dirs;
    dirs.dataRoot = dirs.localDataRoot = root.path();
    dirs.dataSetDir = u"D1"_s;

    rur::data::TDM1 dm;
    dm.Danove.setDirectory(root.dataSet());
    EXPECT_EQ(rur::data::NazevSb1(dm, dirs), u"D1"_s);  // the template row holds no name
    ASSERT_TRUE(dm.Prp->isActive());
    dm.Prp->edit();
    dm.Prp->field(u"Oj1a"_s).setValue(u"A/B: s.r.o."_s);
    dm.Prp->post();
    EXPECT_EQ(rur::data::NazevSb1(dm, dirs), u"AB s.r.o."_s);

    // A table that cannot be opened gives the data-set name.
    rur::data::TDM1 broken;
    broken.Danove.setDirectory(root.path() + u"D9/"_s);
    EXPECT_EQ(rur::data::NazevSb1(broken, dirs), u"D1"_s);
}

TEST(TextSplits, VatNumberNationalPart)
{
    using rur::data::Dicp2;
    EXPECT_EQ(Dicp2(u"CZ12345678"_s), u"12345678"_s);
    EXPECT_EQ(Dicp2(u"12345678"_s), u"12345678"_s);
    EXPECT_EQ(Dicp2(u"CZ"_s), u"CZ"_s);
    EXPECT_EQ(Dicp2(u"C1234"_s), u"1234"_s);
    EXPECT_EQ(Dicp2(u"1:345"_s), u"345"_s);  // ':' is the lowest code dropped in second place
    EXPECT_EQ(Dicp2(u"19345"_s), u"19345"_s);
    EXPECT_EQ(Dicp2(QString()), QString());
}

TEST(TextSplits, StreetAndHouseNumber)
{
    using rur::data::Ulcd2;
    struct Case {
        QString text, street, number;
    };
    const Case cases[] = {
        {u"Dlouhá 12/5"_s, u"Dlouhá"_s, u"12/5"_s},
        {u"Nádražní 12a"_s, u"Nádražní"_s, u"12a"_s},
        {u"Ulice 9x"_s, u"Ulice"_s, u"9x"_s},
        {u"Na Příkopě 12345678"_s, u"Na Příkopě"_s, u"12345678"_s},
        {u"Nádražní"_s, u"Nádražní"_s, {}},
        {u"Nádražní 123456789"_s, u"Nádražní 123456789"_s, {}},
        {u"Nádražní 1234567890"_s, u"Nádražní 1234567890"_s, {}},
        {u"Nádražní a12"_s, u"Nádražní a12"_s, {}},
        {u"Nádražní "_s, u"Nádražní "_s, {}},
        {u" 12"_s, u" 12"_s, {}},
        {QString(), QString(), {}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(Ulcd2(c.text, 1), c.street) << c.text.toStdString();
        EXPECT_EQ(Ulcd2(c.text, 0), c.number) << c.text.toStdString();
    }
}

TEST(TextSplits, SplitAtFirstSeparator)
{
    using rur::data::Ulcd3;
    EXPECT_EQ(Ulcd3(u"1234/5"_s, 1, u"/"_s), u"1234"_s);
    EXPECT_EQ(Ulcd3(u"1234/5"_s, 0, u"/"_s), u"5"_s);
    EXPECT_EQ(Ulcd3(u"1/2/3"_s, 1, u"/"_s), u"1"_s);
    EXPECT_EQ(Ulcd3(u"1/2/3"_s, 0, u"/"_s), u"2/3"_s);
    EXPECT_EQ(Ulcd3(u"a - b"_s, 0, u" - "_s), u"b"_s);
    EXPECT_EQ(Ulcd3(u"1234"_s, 1, u"/"_s), u"1234"_s);
    EXPECT_EQ(Ulcd3(u"1234"_s, 0, u"/"_s), QString());
}

}  // namespace
