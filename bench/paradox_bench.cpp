// Timings of the data of the earlier Windows editions and the sibling programs as Paradox
// files: taking over an earlier data root of 200 data sets, and reading a cash journal of
// 100,000 entries.
#include "bench_support.h"
#include "data/DataM1.h"
#include "datasets/Catalogue.h"
#include "datasets/Conversion.h"
#include "datasets/DataSetAccess.h"
#include "engine/Table.h"
#include "platform/Prompter.h"
#include "support/paradox_files.h"
#include "support/sibling_files.h"
#include "support/test_root.h"
#include "transfer/JournalTransfer.h"
#include "transfer/SiblingData.h"
#include "transfer/SiblingTables.h"

#include <QDate>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

using namespace Qt::StringLiterals;
using namespace rur;
using rur::bench::directoriesOf;

namespace {

// The conversion of an earlier edition whose catalogue, passwords and every table of its 200
// data sets are Paradox files: each table read and checked, converted into a table file,
// checked again as opening it would, and put in place with its data set. Each run gets a
// fresh data root (made outside the timing).
void ConvertParadoxEditionOf200DataSets(benchmark::State &state)
{
    QTemporaryDir tmp;
    const QString earlier = tmp.path() + u"/RUR 2017/"_s;
    QStringList names;
    for (int i = 1; i <= 200; ++i)
        names.append(u"Firma %1"_s.arg(i));
    testing::makeParadoxEdition(earlier, names);
    std::vector<std::unique_ptr<testing::TestRoot>> roots;
    for (auto _ : state) {
        state.PauseTiming();
        auto &root = roots.emplace_back(std::make_unique<testing::TestRoot>());
        base::Directories dirs = directoriesOf(*root);
        platform::ScriptedPrompter prompter;
        datasets::Catalogue catalogue(dirs, prompter);
        catalogue.prepare();
        state.ResumeTiming();
        const datasets::ConversionResult result = datasets::KontrolaInst2(catalogue, dirs, earlier + u"Data.DB"_s, prompter);
        state.PauseTiming();
        if (result.converted.size() != 200)
            state.SkipWithError("not every data set was taken over");
        state.ResumeTiming();
    }
}
BENCHMARK(ConvertParadoxEditionOf200DataSets)->Unit(benchmark::kMillisecond)->Iterations(3);

// A cash journal of 100,000 entries of a year in Paradox files, every column code among
// them.
class ParadoxJournal {
public:
    ParadoxJournal() : folder_(tmp_.path() + u"/Rizavuv uvaro 2018"_s, u"Pen.ini"_s)
    {
        QStringList codes = transfer::journalColumnCodes();
        codes += {u"K40"_s, u"99"_s};
        QList<testing::JournalEntry> entries;
        entries.reserve(100000);
        for (int i = 0; i < 100000; ++i)
            entries.append({QDate(2018, 1, 1).addDays(i % 365).toString(Qt::ISODate), 100.0 + (i % 997) * 0.37,
                            21.0 + (i % 89) * 0.07, codes[i % codes.size()]});
        const QString set = folder_.addJournal(1, u"D1"_s, u"2018-01-01"_s, u"2018-12-31"_s, entries);
        testing::rewriteAsParadox(folder_.catalogue(), transfer::siblingCatalogueDef());
        testing::rewriteAsParadox(set + u"Dosu.DB"_s, transfer::journalTaxpayerDef());
        testing::rewriteAsParadox(set + u"Dmt.DB"_s, transfer::journalSettingsDef());
        testing::rewriteAsParadox(set + u"Pdev.DB"_s, transfer::journalEntriesDef());
    }
    QString catalogue() const { return folder_.catalogue(); }

private:
    QTemporaryDir tmp_;
    testing::SiblingFolder folder_;
};

// Reading the journal: its catalogue and data set shown, the 100,000 entries read from the
// Paradox file (every structure and value checked) and summed by column code.
void ReadParadoxJournalOf100000Entries(benchmark::State &state)
{
    const ParadoxJournal journal;
    for (auto _ : state) {
        transfer::SiblingData data(transfer::SiblingKind::Journal);
        if (!data.show(journal.catalogue(), 1)) {
            state.SkipWithError("the journal was not shown");
            break;
        }
        const engine::Table &entries = data.openEntries();
        const transfer::JournalSums sums = transfer::sumJournalEntries(entries, QDate(2018, 1, 1), QDate(2018, 12, 31));
        if (entries.recordCount() != 100000 || sums.base.value(u"1"_s) <= 0)
            state.SkipWithError("the entries were not read");
    }
}
BENCHMARK(ReadParadoxJournalOf100000Entries)->Unit(benchmark::kMillisecond);

// "Přenos údajů z Peněžního deníku" from that journal: the reading, the sums and the
// current return replaced in one transaction.
void TransferParadoxJournalOf100000Entries(benchmark::State &state)
{
    testing::TestRoot root;
    root.createDataSet();
    base::Directories dirs = directoriesOf(root);
    data::TDM1 dm;
    datasets::openDataSet(dm, dirs, u"D1"_s);
    const ParadoxJournal journal;
    platform::ScriptedPrompter prompter;
    for (auto _ : state) {
        transfer::SiblingData data(transfer::SiblingKind::Journal);
        if (!data.show(journal.catalogue(), 1) || transfer::transferJournal(dm, data, prompter) != transfer::TransferResult::Done)
            state.SkipWithError("the transfer failed");
        prompter.messages.clear();
    }
}
BENCHMARK(TransferParadoxJournalOf100000Entries)->Unit(benchmark::kMillisecond);

}  // namespace
