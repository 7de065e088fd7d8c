// Envelopes for every marked address of a large address book, laid out and written as PDF:
// 1,250, 2,500 and 5,000 addresses, so that the figures show whether the time grows linearly.
#include "bench_support.h"

#include "correspondence/Printouts.h"
#include "data/DataM1.h"
#include "data/Schemas.h"
#include "datasets/DataSetAccess.h"
#include "engine/TableFile.h"
#include "platform/Prompter.h"
#include "report/Render.h"
#include "support/test_root.h"

#include <QFile>
#include <QFileInfo>
#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;
using namespace rur;

namespace {

struct MarkedAddresses {
    explicit MarkedAddresses(int count)
    {
        root.createDataSet();
        QList<QVariantMap> rows;
        for (int i = 1; i <= count; ++i)
            rows.append({{u"ID"_s, i}, {u"Fa"_s, u"Odběratel číslo %1 s.r.o."_s.arg(count - i + 1)},
                         {u"Jm"_s, u"Ing. Jana Dvořáková"_s}, {u"Ul"_s, u"Dlouhá %1"_s.arg(i)}, {u"Psc"_s, u"60200"_s},
                         {u"Mi"_s, u"Brno"_s}, {u"O"_s, true}});
        const engine::TableDef def = data::mazDef();
        QFile::remove(root.dataSet() + def.fileName);
        engine::createTableFile(root.dataSet() + def.fileName, def, rows);
        dirs = bench::directoriesOf(root);
        datasets::openDataSet(dm, dirs, u"D1"_s);
        pdf = root.path() + u"obalky.pdf"_s;
    }
    testing::TestRoot root;
    base::Directories dirs;
    data::TDM1 dm;
    QString pdf;
};

void EnvelopesDlToPdf(benchmark::State &state)
{
    MarkedAddresses set(int(state.range(0)));
    platform::ScriptedPrompter prompter;
    for (auto _ : state) {
        const auto prepared = correspondence::prepareEnvelopes(set.dm, prompter, correspondence::Envelope::DL, 0);
        if (!prepared || prepared->pageCount() != state.range(0) || !report::writePdf(*prepared, set.pdf)) {
            state.SkipWithError("the envelopes were not written");
            break;
        }
    }
    state.counters["pages"] = double(state.range(0));
    state.counters["bytes"] = double(QFileInfo(set.pdf).size());
}
BENCHMARK(EnvelopesDlToPdf)->Arg(1250)->Arg(2500)->Arg(5000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
