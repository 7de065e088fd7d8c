// Benchmarks of backup and restore, each beside the zip or unzip command of the same folder.
#include "bench_support.h"

#include "backup/Backup.h"
#include "backup/Restore.h"
#include "base/Directories.h"
#include "data/DataM1.h"
#include "data/Schemas.h"
#include "data/Templates.h"
#include "datasets/DataSetAccess.h"
#include "engine/TableFile.h"
#include "platform/Prompter.h"
#include "support/filled_return.h"
#include "support/test_root.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;
using namespace rur;
using rur::bench::directoriesOf;

namespace {

// Backup and restore of a data set with a year of returns and 5,000 addresses, beside zip -r
// and unzip of the same folder in the same run.
struct YearDataSet {
    YearDataSet()
    {
        root.createDataSet();
        QList<QVariantMap> months1, months2;
        for (int month = 1; month <= 12; ++month) {
            months1.append({{u"Cislo"_s, month}, {u"C210"_s, 100000.0 + month}, {u"C210a"_s, 21000.0 + month},
                            {u"C220"_s, 5000.0 * month}, {u"C220a"_s, 750.0 * month}});
            months2.append({{u"Cislo"_s, month}, {u"C310"_s, 40000.0 + month}, {u"C310a"_s, 8400.0 + month},
                            {u"C550"_s, 0.85}});
        }
        replaceTable(data::dtabn1sDef(), months1);
        replaceTable(data::dtabn2sDef(), months2);
        QList<QVariantMap> addresses;
        for (int i = 1; i <= 5000; ++i)
            addresses.append({{u"ID"_s, i}, {u"Ico"_s, QString::number(10000000 + i)},
                              {u"Fa"_s, u"Odběratel číslo %1 s.r.o."_s.arg(i)}, {u"Ul"_s, u"Dlouhá %1"_s.arg(i)},
                              {u"Psc"_s, u"602 00"_s}, {u"Mi"_s, u"Brno"_s}, {u"Email"_s, u"info%1@example.cz"_s.arg(i)}});
        replaceTable(data::mazDef(), addresses);
        dirs = directoriesOf(root);
        datasets::openDataSet(dm, dirs, u"D1"_s);
        archive = root.path() + u"Zaloha/D1.zip"_s;
    }
    void replaceTable(const engine::TableDef &def, const QList<QVariantMap> &rows)
    {
        QFile::remove(root.dataSet() + def.fileName);
        engine::createTableFile(root.dataSet() + def.fileName, def, rows);
    }

    testing::TestRoot root;
    base::Directories dirs;
    data::TDM1 dm;
    platform::ScriptedPrompter prompter;
    backup::ArchiveJob job{dm, dirs, prompter};
    QString archive;
};

bool runTool(const QString &program, const QStringList &args, const QString &dir)
{
    QProcess p;
    p.setWorkingDirectory(dir);
    p.start(program, args);
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

void BackupOfAYearWith5000Addresses(benchmark::State &state)
{
    YearDataSet set;
    for (auto _ : state) {
        state.PauseTiming();
        ::sync();
        state.ResumeTiming();
        if (!backup::Zalohovat(set.job, set.archive, false))
            state.SkipWithError("the backup failed");
        set.prompter.messages.clear();
    }
    state.counters["bytes"] = double(QFileInfo(set.archive).size());
}
BENCHMARK(BackupOfAYearWith5000Addresses)->Unit(benchmark::kMillisecond);

void ZipCommandOfTheSameFolder(benchmark::State &state)
{
    const QString zip = QStandardPaths::findExecutable(u"zip"_s);
    if (zip.isEmpty()) {
        state.SkipWithError("zip is not installed");
        return;
    }
    YearDataSet set;
    const QString out = set.root.path() + u"zip-r.zip"_s;
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(out);
        ::sync();
        state.ResumeTiming();
        if (!runTool(zip, {u"-r"_s, u"-q"_s, out, u"."_s}, set.root.dataSet()))
            state.SkipWithError("zip failed");
    }
}
BENCHMARK(ZipCommandOfTheSameFolder)->Unit(benchmark::kMillisecond);

void RestoreOfAYearWith5000Addresses(benchmark::State &state)
{
    YearDataSet set;
    if (!backup::Zalohovat(set.job, set.archive, false)) {
        state.SkipWithError("the backup failed");
        return;
    }
    for (auto _ : state) {
        // Each run starts from files on the disk, as a user's data set is; freeing the blocks
        // of the replaced files is part of the work, for unzip too.
        state.PauseTiming();
        ::sync();
        state.ResumeTiming();
        if (!backup::Obnovit(set.job, set.archive, backup::ObnovitVse))
            state.SkipWithError("the restore failed");
        set.prompter.messages.clear();
    }
}
BENCHMARK(RestoreOfAYearWith5000Addresses)->Unit(benchmark::kMillisecond);

void UnzipCommandOfTheSameArchive(benchmark::State &state)
{
    const QString unzip = QStandardPaths::findExecutable(u"unzip"_s);
    if (unzip.isEmpty()) {
        state.SkipWithError("unzip is not installed");
        return;
    }
    YearDataSet set;
    if (!backup::Zalohovat(set.job, set.archive, false)) {
        state.SkipWithError("the backup failed");
        return;
    }
    // Over the data set's own folder, as a restore writes.
    const QString out = set.root.dataSet();
    for (auto _ : state) {
        state.PauseTiming();
        ::sync();
        state.ResumeTiming();
        if (!runTool(unzip, {u"-o"_s, u"-q"_s, set.archive, u"-d"_s, out}, set.root.path()))
            state.SkipWithError("unzip failed");
    }
}
BENCHMARK(UnzipCommandOfTheSameArchive)->Unit(benchmark::kMillisecond);
}  // namespace
