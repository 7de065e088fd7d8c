#include "backup/ZipArchive.h"
#include "support/files.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <zip.h>

using namespace Qt::StringLiterals;
using namespace rur;
using rur::testing::writeFile;

namespace {

// Every file under a folder by its relative path.
QMap<QString, QByteArray> tree(const QString &dir)
{
    QMap<QString, QByteArray> out;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        if (f.open(QIODevice::ReadOnly))
            out.insert(QDir(dir).relativeFilePath(path), f.readAll());
    }
    return out;
}

// An archive written member by member, as another program might have made it.
void writeRawArchive(const QString &path, const QStringList &names)
{
    int code = 0;
    zip_t *za = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    ASSERT_NE(za, nullptr);
    for (const QString &name : names) {
        static const char text[] = "obsah";
        zip_source_t *src = zip_source_buffer(za, text, sizeof text - 1, 0);
        ASSERT_GE(zip_file_add(za, name.toUtf8().constData(), src, ZIP_FL_ENC_UTF_8), 0);
    }
    ASSERT_EQ(zip_close(za), 0);
}

class ZipArchive : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(work.isValid());
        source = work.path() + u"/D1/"_s;
        target = work.path() + u"/out/"_s;
        zipPath = work.path() + u"/D1.zip"_s;
        writeFile(source + u"Dcis.DB"_s, QByteArray(20000, 'x'));
        writeFile(source + u"Prp.DB"_s, "taxpayer");
        writeFile(source + u"d1.INI"_s, "[D1]");
        writeFile(source + u"Pdoxusrs.lck"_s, "");
        writeFile(source + u"Zaloha/Starý přehled.txt"_s, "nested");
    }

    QTemporaryDir work;
    QString source, target, zipPath;
};

}  // namespace

TEST_F(ZipArchive, ADirectoryGoesIntoTheArchiveAndComesBackWhole)
{
    QString error;
    int members = -1;
    ASSERT_TRUE(backup::writeDirectoryArchive(source, zipPath, {u"D1.ini"_s, u"Pdoxusrs.lck"_s}, &error, &members))
        << error.toStdString();
    EXPECT_EQ(members, 3);
    EXPECT_EQ(backup::archiveMembers(zipPath),
              (QStringList{u"Dcis.DB"_s, u"Prp.DB"_s, u"Zaloha/Starý přehled.txt"_s}));

    // Extraction overwrites what is there and leaves other files alone.
    writeFile(target + u"Prp.DB"_s, "older and longer content");
    writeFile(target + u"Jiny.DB"_s, "other");
    ASSERT_TRUE(backup::extractArchive(zipPath, target, &error, &members)) << error.toStdString();
    EXPECT_EQ(members, 3);
    auto expected = tree(source);
    expected.remove(u"d1.INI"_s);
    expected.remove(u"Pdoxusrs.lck"_s);
    expected.insert(u"Jiny.DB"_s, "other");
    EXPECT_EQ(tree(target), expected);
}

TEST_F(ZipArchive, OnlyTheRequestedMembersAreExtracted)
{
    ASSERT_TRUE(backup::writeDirectoryArchive(source, zipPath, {}, nullptr, nullptr));
    int members = -1;
    EXPECT_TRUE(backup::extractArchive(zipPath, target, nullptr, &members, {u"prp.db"_s, u"Mdp.DB"_s}));
    EXPECT_EQ(members, 1);
    EXPECT_EQ(tree(target).keys(), QStringList{u"Prp.DB"_s});
    EXPECT_TRUE(backup::extractArchive(zipPath, target, nullptr, &members, {u"Maz.DB"_s}));
    EXPECT_EQ(members, 0);
}

TEST_F(ZipArchive, ANewArchiveReplacesTheOldOneOnlyWhenItIsComplete)
{
    ASSERT_TRUE(backup::writeDirectoryArchive(source, zipPath, {}, nullptr, nullptr));
    QFile::remove(source + u"Dcis.DB"_s);
    int members = -1;
    ASSERT_TRUE(backup::writeDirectoryArchive(source, zipPath, {}, nullptr, &members));
    EXPECT_EQ(members, 4);
    EXPECT_FALSE(backup::archiveMembers(zipPath).contains(u"Dcis.DB"_s));

    // A folder without files makes no archive; the last good one stays.
    QDir().mkpath(work.path() + u"/empty"_s);
    EXPECT_FALSE(backup::writeDirectoryArchive(work.path() + u"/empty/"_s, zipPath, {}, nullptr, &members));
    EXPECT_EQ(members, 0);
    EXPECT_EQ(backup::archiveMembers(zipPath).size(), 4);
}

TEST_F(ZipArchive, MembersReachingOutsideTheTargetRefuseTheWholeArchive)
{
    for (const QString &bad : {u"../evil.txt"_s, u"sub/../../evil.txt"_s, u"/tmp/evil.txt"_s, u"C:/evil.txt"_s,
                               u"..\\evil.txt"_s}) {
        writeRawArchive(zipPath, {u"Prp.DB"_s, bad});
        QString error;
        int members = -1;
        EXPECT_FALSE(backup::extractArchive(zipPath, target, &error, &members)) << bad.toStdString();
        EXPECT_EQ(members, 0);
        EXPECT_TRUE(tree(work.path()).keys().filter(u"evil"_s).isEmpty());
        EXPECT_TRUE(tree(target).isEmpty()) << bad.toStdString();
    }
    // Names that merely contain two dots are fine.
    writeRawArchive(zipPath, {u"a..b.txt"_s, u"sub/x..DB"_s});
    int members = -1;
    EXPECT_TRUE(backup::extractArchive(zipPath, target, nullptr, &members));
    EXPECT_EQ(members, 2);
}
