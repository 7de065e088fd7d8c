// Timings of opening an up-to-date data set, upgrading an older one and installing a data
// root. Run with `make bench`.
#include "app/Directories.h"
#include "data/DataM1.h"
#include "data/Schemas.h"
#include "data/SchemaUpgrade.h"
#include "data/Templates.h"
#include "datasets/DataSetAccess.h"
#include "engine/LocalSql.h"
#include "support/test_root.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;
using namespace rur;

namespace {

app::Directories directoriesOf(const testing::TestRoot &root)
{
    app::Directories dirs;
    dirs.localDataRoot = dirs.dataRoot = root.path();
    dirs.notFound = false;
    return dirs;
}

QStringList columnsOf(const QStringList &statements)
{
    QStringList out;
    for (const QString &s : statements)
        for (const engine::FieldDef &f : engine::parseAlterTable(s).columns)
            out.append(f.name);
    return out;
}

void OpenUpToDateDataSet(benchmark::State &state)
{
    testing::TestRoot root;
    root.createDataSet();
    app::Directories dirs = directoriesOf(root);
    for (auto _ : state) {
        data::TDM1 dm;
        datasets::openDataSet(dm, dirs, u"D1"_s);
        benchmark::DoNotOptimize(dm.tablesOpen());
    }
}
BENCHMARK(OpenUpToDateDataSet)->Unit(benchmark::kMillisecond);

// A data set of an early edition: the taxpayer row lacks every later column, the return and
// print tables lack theirs, and the address book and letters are not there at all.
void UpgradeOldDataSet(benchmark::State &state)
{
    testing::TestRoot root;
    app::Directories dirs = directoriesOf(root);
    for (auto _ : state) {
        state.PauseTiming();
        root.createDataSet();
        root.writeOldTable(u"D1"_s, data::prpDef(), columnsOf(data::statementsP()),
                           {{{u"M"_s, u"březen"_s}, {u"Cislo"_s, 3}, {u"R"_s, u"2010"_s}, {u"Oj1"_s, u"Firma"_s}}});
        root.writeOldTable(u"D1"_s, data::dtabn1Def(),
                           columnsOf({data::statementU3(u"Dtabn1"_s), data::statementU4(u"Dtabn1"_s)}),
                           {{{u"C210"_s, 1000.0}}});
        root.writeOldTable(u"D1"_s, data::dmtDef(), columnsOf({data::statementD1(), data::statementD2()}),
                           {{{u"Kop"_s, 1}}});
        root.writeOldTable(u"D1"_s, data::dtabsDef(), columnsOf({data::statementS1(), data::statementS2()}), {{}});
        for (const char16_t *file : {u"Maz.DB", u"Mdp.DB", u"Dzal1.DB", u"Prppz.DB", u"Dpsn1.DB", u"Dpsn2.DB"})
            QFile::remove(root.dataSet() + QString::fromUtf16(file));
        state.ResumeTiming();
        data::TDM1 dm;
        datasets::openDataSet(dm, dirs, u"D1"_s);
        benchmark::DoNotOptimize(dm.tablesOpen());
    }
}
BENCHMARK(UpgradeOldDataSet)->Unit(benchmark::kMillisecond);

void InstallDataRoot(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        state.ResumeTiming();
        data::installDataRoot(dir.path() + u"/root"_s);
    }
}
BENCHMARK(InstallDataRoot)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
