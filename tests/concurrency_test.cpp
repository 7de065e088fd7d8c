// Several rur-cli processes at once on one data root, as a team sharing it works: every
// creation succeeds with a number of its own, and a backup never archives a data set that
// another process is changing.
#include "backup/ArchiveReader.h"
#include "backup/ZipArchive.h"
#include "data/Schemas.h"
#include "engine/TableCheck.h"
#include "engine/TableFile.h"
#include "support/test_root.h"

#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

using namespace Qt::StringLiterals;
using namespace rur;

namespace {

std::unique_ptr<QProcess> startCli(const QString &root, const QStringList &args)
{
    auto p = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"XDG_DATA_HOME"_s, u"/nonexistent-rur-test"_s);
    p->setProcessEnvironment(env);
    p->start(QString::fromUtf8(RUR_CLI_PATH), QStringList{u"--root"_s, root} + args);
    return p;
}

struct Finished {
    int exitCode;
    QString out, err;
};

Finished finish(QProcess &p)
{
    p.waitForFinished(120000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()).trimmed(),
            QString::fromUtf8(p.readAllStandardError()).trimmed()};
}

TEST(Concurrency, TwentyCreationsAtOnceAllSucceedWithNumbersOfTheirOwn)
{
    rur::testing::TestRoot root;
    std::vector<std::unique_ptr<QProcess>> running;
    for (int i = 1; i <= 20; ++i)
        running.push_back(startCli(root.path(), {u"create"_s, u"Firma %1"_s.arg(i)}));
    QSet<QString> directories;
    for (auto &p : running) {
        const Finished f = finish(*p);
        EXPECT_EQ(f.exitCode, 0) << f.err.toStdString();
        directories.insert(f.out);
    }
    // Each printed its own directory, and the catalogue names each once with its folder.
    EXPECT_EQ(directories.size(), 20);
    auto sets = startCli(root.path(), {u"sets"_s});
    const QStringList rows = finish(*sets).out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 20);
    QSet<QString> numbers;
    for (const QString &row : rows) {
        const QStringList cells = row.split(u'\t');
        ASSERT_EQ(cells.size(), 3) << row.toStdString();
        numbers.insert(cells[0]);
        EXPECT_EQ(cells[2], u"D"_s + cells[0]);
        EXPECT_TRUE(directories.contains(cells[2])) << row.toStdString();
        EXPECT_TRUE(QFileInfo::exists(root.path() + cells[2] + u"/Prp.DB"_s)) << row.toStdString();
    }
    EXPECT_EQ(numbers.size(), 20);
}

TEST(Concurrency, ABackupNeverArchivesADataSetBeingChanged)
{
    rur::testing::TestRoot root;
    root.createDataSet();
    root.addCatalogueRow(1, u"Firma"_s);
    QTemporaryDir work;
    for (int round = 0; round < 10; ++round) {
        SCOPED_TRACE(round);
        const QString archive = work.path() + u"/zaloha%1.zip"_s.arg(round);
        const QString phone = u"%1"_s.arg(100000 + round);
        auto backup = startCli(root.path(), {u"backup"_s, u"1"_s, archive});
        auto change = startCli(root.path(), {u"set"_s, u"1"_s, u"Prp"_s, u"Tel="_s + phone});
        const Finished b = finish(*backup), c = finish(*change);
        // One may have to wait its turn and be refused, never both go on at once.
        for (const Finished *f : {&b, &c})
            EXPECT_TRUE(f->exitCode == 0 || (f->out + f->err).contains(u"Toto RUR právě zpracovává jiný uživatel."_s))
                << (f->out + f->err).toStdString();
        if (b.exitCode != 0)
            continue;
        // What was archived is whole: no journal, and the table the other process changes
        // as its opening takes it.
        const QStringList members = backup::archiveMembers(archive);
        for (const QString &m : members)
            EXPECT_FALSE(engine::isWorkFile(m)) << m.toStdString();
        backup::ArchiveReader reader;
        ASSERT_TRUE(reader.open(archive));
        const QString unpacked = work.path() + u"/rozbaleno%1/"_s.arg(round);
        QDir().mkpath(unpacked);
        qint64 budget = backup::kMaxArchiveBytes;
        ASSERT_TRUE(reader.extract(reader.find(u"Prp.DB"_s), unpacked + u"Prp.DB"_s, &budget));
        EXPECT_EQ(engine::tableFileDamage(unpacked + u"Prp.DB"_s, data::prpDef()), QString());
    }
}

}  // namespace
