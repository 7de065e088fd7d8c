// Which data set a command reaches: only a catalogue number or a data-set directory of the
// data root, always through the password and in-use checks.
#include "support/printers.h"
#include "support/run_cli.h"
#include "support/test_root.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

using Result = rur::testing::CliResult;

// rur-cli, as the user nobody when the tests run as root (so that file permissions count).
Result cliMaybeAsNobody(const QStringList &args, bool unprivileged = false)
{
    rur::testing::CliOptions options;
    options.unprivileged = unprivileged;
    Result r = rur::testing::cli(args, options);
    r.err = r.err.trimmed();
    return r;
}

class CliDataSet : public ::testing::Test {
protected:
    void SetUp() override
    {
        root.createDataSet(u"D1"_s);
        root.addCatalogueRow(1, u"První"_s);
    }
    Result run(QStringList args, bool unprivileged = false)
    {
        return cliMaybeAsNobody(QStringList{u"--root"_s, root.path()} + args, unprivileged);
    }

    rur::testing::TestRoot root;
};

TEST_F(CliDataSet, OnlyNumbersAndDataSetDirectoriesOfTheRootAreDataSets)
{
    rur::testing::TestRoot other;
    other.createDataSet(u"D1"_s);
    other.addCatalogueRow(1, u"Cizí"_s);
    ASSERT_EQ(cliMaybeAsNobody({u"--root"_s, other.path(), u"password"_s, u"1"_s, u"Tajne"_s}).exitCode, 0);
    const auto before = rur::testing::snapshot(root.path(), true);
    const auto otherBefore = rur::testing::snapshot(other.path(), true);

    const QString outside = QDir(root.path()).relativeFilePath(other.dataSet());
    for (const QString &set : {u"./D1"_s, u"D1/"_s, u"../D1"_s, outside, other.dataSet(), u"Data"_s, u"."_s, u""_s,
                               u"d1"_s, u"D1 "_s}) {
        for (const QStringList &command : {QStringList{u"show"_s, set, u"Prp"_s},
                                           QStringList{u"set"_s, set, u"Dtabn1"_s, u"C210=5555"_s}}) {
            const Result r = run(command);
            EXPECT_EQ(r.exitCode, 1) << set.toStdString() << " " << command[0].toStdString();
            EXPECT_EQ(r.err, u"„"_s + set + u"“ není číslo ani adresář RUR (například 1 nebo D1)."_s);
            EXPECT_TRUE(r.out.isEmpty());
        }
    }
    EXPECT_EQ(rur::testing::snapshot(root.path(), true), before);
    EXPECT_EQ(rur::testing::snapshot(other.path(), true), otherBefore);

    // A directory name reaches the catalogue row with its password; one without a row is
    // still checked for another user.
    ASSERT_EQ(run({u"password"_s, u"1"_s, u"Heslo1"_s}).exitCode, 0);
    EXPECT_EQ(run({u"show"_s, u"D1"_s, u"Prp"_s}).err, u"Neplatné heslo pro toto RUR."_s);
    EXPECT_EQ(run({u"--password"_s, u"Heslo1"_s, u"show"_s, u"D1"_s, u"Prp"_s}).exitCode, 0);
    EXPECT_EQ(run({u"show"_s, u"D9"_s, u"Prp"_s}).err, u"RUR D9 není v seznamu."_s);
}

TEST_F(CliDataSet, ACatalogueRowPointingOutsideTheRootIsRefused)
{
    const QString victim = QDir::cleanPath(root.path() + u"../victim"_s);
    ASSERT_TRUE(QDir().mkpath(victim));
    QFile keep(victim + u"/Prp.DB"_s);
    ASSERT_TRUE(keep.open(QIODevice::WriteOnly));
    keep.write("keep me");
    keep.close();
    root.addCatalogueRow(2, u"Podvržený"_s, u"../victim"_s);
    root.addCatalogueRow(3, u"Šablony"_s, u"Data"_s);
    const auto before = rur::testing::snapshot(root.path(), true);

    for (const QString &set : {u"2"_s, u"3"_s}) {
        for (const QString &command : {u"delete"_s, u"open"_s, u"show"_s, u"new-year"_s}) {
            QStringList args{command, set};
            if (command == u"show"_s)
                args << u"Prp"_s;
            const Result r = run(args);
            EXPECT_EQ(r.exitCode, 1) << command.toStdString();
            EXPECT_EQ(r.err, u"Adresář "_s + (set == u"2"_s ? u"../victim"_s : u"Data"_s) + u" není platný adresář RUR."_s)
                << command.toStdString();
        }
    }
    EXPECT_TRUE(QFile::exists(victim + u"/Prp.DB"_s));
    EXPECT_EQ(rur::testing::snapshot(root.path(), true), before);
    QDir(victim).removeRecursively();
}

TEST_F(CliDataSet, AReadOnlyDataSetIsNotInUseButCannotBeWritten)
{
    // Everything writable for the unprivileged user except the data-set directory.
    for (const QString &path : {root.path(), root.path() + u"Data"_s, root.dataSet()}) {
        ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                                    | QFileDevice::ReadOther | QFileDevice::WriteOther
                                                    | QFileDevice::ExeOther | QFileDevice::ReadGroup
                                                    | QFileDevice::WriteGroup | QFileDevice::ExeGroup));
        QDir dir(path);
        for (const QString &f : dir.entryList(QDir::Files))
            QFile::setPermissions(path + u'/' + f, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                      | QFileDevice::ReadOther | QFileDevice::WriteOther);
    }
    for (QString p = root.path(); p.size() > 1; p = QFileInfo(p.endsWith(u'/') ? p.chopped(1) : p).path())
        QFile::setPermissions(p, QFile::permissions(p) | QFileDevice::ExeOther);
    ASSERT_EQ(run({u"show"_s, u"1"_s, u"Prp"_s}, true).exitCode, 0) << run({u"show"_s, u"1"_s, u"Prp"_s}, true).err.toStdString();

    ASSERT_TRUE(QFile::setPermissions(root.dataSet(), QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther
                                                          | QFileDevice::ExeOther));
    const auto before = rur::testing::snapshot(root.dataSet());
    const QString expected = u"Do adresáře "_s + root.dataSet().chopped(1) + u" nelze zapisovat."_s;
    for (const QString &command : {u"set"_s, u"open"_s}) {
        QStringList args{command, u"1"_s};
        if (command == u"set"_s)
            args << u"Prp"_s << u"Tel=123"_s;
        const Result r = run(args, true);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, expected) << command.toStdString();
    }
    EXPECT_EQ(rur::testing::snapshot(root.dataSet()), before);
}

}  // namespace
