// Benchmark of the ABO file: orders of 100 payer accounts written as "&Přenést" writes them
// (read, checked, grouped, the file written beside its target and renamed, Rd and M1 stored).
#include "bench_support.h"

#include "data/DataM1.h"
#include "data/Schemas.h"
#include "datasets/DataSetAccess.h"
#include "engine/Table.h"
#include "engine/TableFile.h"
#include "payments/AboFile.h"
#include "platform/Prompter.h"
#include "support/test_root.h"

#include <QDate>
#include <QFile>
#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;
using namespace rur;
using rur::bench::directoriesOf;

namespace {

void WriteAboFileOf100Groups(benchmark::State &state)
{
    const int orders = int(state.range(0));
    testing::TestRoot root;
    root.createDataSet();
    QList<QVariantMap> rows;
    rows.reserve(orders);
    for (int i = 0; i < orders; ++i)
        rows.append({{u"ID"_s, i + 1}, {u"Cu1"_s, u"19-%1"_s.arg(2000145300 + i % 100)}, {u"Kodi"_s, u"0800"_s},
                     {u"Cu2"_s, QString::number(100000000 + i)}, {u"Kod"_s, u"0300"_s},
                     {u"Vs"_s, QString::number(1000000 + i)}, {u"Ks"_s, u"0308"_s}, {u"Ss"_s, u"99"_s},
                     {u"Ca"_s, 100.5 + i % 1000}, {u"Ds"_s, QDate(2099, 4, 30)}, {u"Tp"_s, u"1"_s}});
    const engine::TableDef def = data::mbanDef();
    QFile::remove(root.dataSet() + def.fileName);
    engine::createTableFile(root.dataSet() + def.fileName, def, rows);
    base::Directories dirs = directoriesOf(root);
    data::TDM1 dm;
    datasets::openDataSet(dm, dirs, u"D1"_s);
    dm.Mban->open();
    platform::ScriptedPrompter prompter;
    const payments::AboWrite request{root.path() + u"KPC/Banka - D1.kpc"_s, QDate(2018, 4, 25),
                                     root.dataSet() + u"D1.ini"_s};
    for (auto _ : state) {
        if (!payments::writeAboFile(dm, request, prompter)) {
            state.SkipWithError("the file was not written");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * orders);
}
BENCHMARK(WriteAboFileOf100Groups)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
