// Timings of opening an up-to-date data set, upgrading an older one, installing a data root,
// the procedures of the return, its check, its printouts, backup and restore, and converting
// the data of an earlier edition. Run with `make bench`.
#include "app/Subsystems.h"
#include "base/Directories.h"
#include "bench_support.h"
#include "check/ReturnCheck.h"
#include "data/DataM1.h"
#include "data/SchemaUpgrade.h"
#include "data/Schemas.h"
#include "data/Templates.h"
#include "datasets/Catalogue.h"
#include "datasets/Conversion.h"
#include "datasets/DataSetAccess.h"
#include "datasets/YearProcedures.h"
#include "datasets/forms/Auto1Form.h"
#include "engine/LocalSql.h"
#include "engine/TableFile.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "print/FilingFile.h"
#include "print/PaymentOrder.h"
#include "print/PrintJobs.h"
#include "print/ReturnPages.h"
#include "print/XmlText.h"
#include "report/Render.h"
#include "support/editions.h"
#include "support/filled_return.h"
#include "support/sibling_files.h"
#include "support/test_root.h"
#include "transfer/JournalTransfer.h"
#include "transfer/SiblingData.h"
#include "vat/Saving.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace rur;
using rur::bench::directoriesOf;

namespace {

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
    base::Directories dirs = directoriesOf(root);
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
    base::Directories dirs = directoriesOf(root);
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

// The selection window over a catalogue of 2,000 data sets: preparing the catalogue, reading
// it in the stored ordering and showing the grid.
void ShowSelectionOf2000DataSets(benchmark::State &state)
{
    testing::TestRoot root;
    QList<QVariantMap> rows;
    for (int i = 1; i <= 2000; ++i)
        rows.append({{u"Cislo"_s, i}, {u"Pozice"_s, i}, {u"Nazev"_s, u"Plátce č. %1"_s.arg(2001 - i)},
                     {u"Adresar"_s, u"D%1"_s.arg(i)}});
    QFile::remove(root.path() + u"Data.DB"_s);
    engine::createTableFile(root.path() + u"Data.DB"_s, data::catalogueDef(), rows);
    platform::IniFile(root.path() + u"Dph.ini"_s).writeInteger(u"Dph"_s, u"Razeni"_s, datasets::OrderByName);
    base::Directories dirs = directoriesOf(root);
    platform::ScriptedPrompter prompter;
    for (auto _ : state) {
        datasets::Catalogue catalogue(dirs, prompter);
        catalogue.prepare();
        datasets::TAuto1Form form(catalogue, prompter);
        QTimer::singleShot(0, &form, [&form] {
            form.grid()->viewport()->repaint();
            form.reject();
        });
        form.execSelection();
        benchmark::DoNotOptimize(catalogue.currentNumber());
    }
}
BENCHMARK(ShowSelectionOf2000DataSets)->Unit(benchmark::kMillisecond);

void CreateDataSet(benchmark::State &state)
{
    testing::TestRoot root;
    base::Directories dirs = directoriesOf(root);
    platform::ScriptedPrompter prompter;
    datasets::Catalogue catalogue(dirs, prompter);
    catalogue.prepare();
    catalogue.showSelection();
    for (auto _ : state) {
        catalogue.beginNew();
        if (!catalogue.finishNew(u"Nový plátce"_s))
            state.SkipWithError("the data set was not created");
    }
}
BENCHMARK(CreateDataSet)->Unit(benchmark::kMillisecond);

// The year-end procedure's archive and the emptying of the year, on a data set with a
// year of finished returns.
void YearEndOfADataSet(benchmark::State &state)
{
    testing::TestRoot root;
    base::Directories dirs = directoriesOf(root);
    platform::ScriptedPrompter prompter;
    for (auto _ : state) {
        state.PauseTiming();
        root.createDataSet();
        data::TDM1 dm;
        datasets::openDataSet(dm, dirs, u"D1"_s);
        for (int month = 1; month <= 12; ++month) {
            dm.Dtabn1s->append();
            dm.Dtabn1s->field(u"Cislo"_s).setValue(month);
            dm.Dtabn1s->field(u"C210"_s).setValue(1000.0 * month);
            dm.Dtabn1s->post();
        }
        state.ResumeTiming();
        if (!datasets::NovyRok(dm, dirs, prompter))
            state.SkipWithError("the year-end procedure failed");
    }
}
BENCHMARK(YearEndOfADataSet)->Unit(benchmark::kMillisecond);

// "&Uložit data": the filing file of a filled return with the longest attachment (999 lines),
// written in UTF-8 with line layout, the tables posted and re-read first as on every save.
void WriteFilingFile(benchmark::State &state)
{
    testing::TestRoot root;
    root.createDataSet();
    base::Directories dirs = directoriesOf(root);
    data::TDM1 dm;
    datasets::openDataSet(dm, dirs, u"D1"_s);
    const auto set = [](engine::Table &t, const QVariantMap &values) {
        t.edit();
        for (auto it = values.begin(); it != values.end(); ++it)
            t.field(it.key()).setValue(it.value());
        t.post();
    };
    set(*dm.Prp, {{u"Ojp3"_s, u"Alfa & Beta „Šťastná“ s.r.o."_s}, {u"Ob"_s, u"Brno"_s}, {u"Dic"_s, u"CZ12345678"_s}});
    QStringList lines;
    for (int i = 1; i <= 999; ++i)
        lines.append(u"Řádek přílohy č. %1 – důvody podání \"%2\" & další"_s.arg(i).arg(i * 7));
    set(*dm.Prppz, {{u"Poz"_s, lines.join(u"\r\n"_s)}});
    set(*dm.Dtabn1, {{u"C210"_s, 100000.0}, {u"C210a"_s, 21000.0}});
    set(*dm.Dtabn2, {{u"C310a"_s, 10500.0}, {u"C550"_s, 0.85}});
    const QString path = root.path() + u"XML/DPHDP3 - D1.xml"_s;
    platform::ScriptedPrompter prompter;
    for (auto _ : state) {
        if (!print::DphXml1(dm, path, print::KodUtf8, true, prompter))
            state.SkipWithError("the filing file could not be written");
        prompter.messages.clear();
    }
    state.counters["bytes"] = double(QFileInfo(path).size());
}
BENCHMARK(WriteFilingFile)->Unit(benchmark::kMillisecond);

// Every calculated field of the current return: the three rows read again and recomputed
// from their stored values, the rates and the taxpayer options, as window 4 does when it
// opens.
void RecomputeCurrentReturn(benchmark::State &state)
{
    testing::TestRoot root;
    root.createDataSet();
    base::Directories dirs = directoriesOf(root);
    data::TDM1 dm;
    datasets::openDataSet(dm, dirs, u"D1"_s);
    dm.Dtabn1->edit();
    dm.Dtabn1->field(u"C210"_s).setValue(123456.0);
    dm.Dtabn1->field(u"C210a"_s).setValue(25926.0);
    dm.Dtabn1->post();
    dm.Dtabn2->edit();
    dm.Dtabn2->field(u"C310b"_s).setValue(5000.0);
    dm.Dtabn2->field(u"C550"_s).setValue(0.85);
    dm.Dtabn2->post();
    for (auto _ : state) {
        for (engine::Table *t : {dm.Dtabn1.get(), dm.Dtabn2.get(), dm.Dtabn3.get()})
            t->refresh();
        benchmark::DoNotOptimize(dm.Dtabn3->field(u"C753"_s).asFloat());
    }
}
BENCHMARK(RecomputeCurrentReturn)->Unit(benchmark::kMicrosecond);

// "Uložení RUR": both finished-return rows in one transaction, line 53 cleared, the period
// moved on.
void SaveReturn(benchmark::State &state)
{
    testing::TestRoot root;
    root.createDataSet();
    base::Directories dirs = directoriesOf(root);
    platform::ScriptedPrompter prompter;
    data::TDM1 dm;
    datasets::openDataSet(dm, dirs, u"D1"_s);
    int saved = 0;
    for (auto _ : state) {
        if (++saved > 12) {
            state.PauseTiming();
            dm.Dtabn1s->emptyTable();
            dm.Dtabn2s->emptyTable();
            saved = 1;
            state.ResumeTiming();
        }
        if (!vat::UlozeniRur(dm, prompter))
            state.SkipWithError("the return was not saved");
    }
}
BENCHMARK(SaveReturn)->Unit(benchmark::kMillisecond);

// "&Kontrola": the check of a fully filled return with the longest attachment (999 lines):
// the rows re-read, the filing file built in UTF-8 and validated against the schema, the
// content rules. The schema is compiled once per run, before the timing.
void CheckFilledReturn(benchmark::State &state)
{
    testing::TestRoot root;
    root.createDataSet();
    base::Directories dirs = directoriesOf(root);
    data::TDM1 dm;
    datasets::openDataSet(dm, dirs, u"D1"_s);
    testing::fillValidReturn(dm, 999);
    if (!check::KontrolaRur(dm, print::KodUtf8, testing::kValidReturnToday).isEmpty())
        state.SkipWithError("the filled return is not valid");
    for (auto _ : state)
        benchmark::DoNotOptimize(check::KontrolaRur(dm, print::KodUtf8, testing::kValidReturnToday));
}
BENCHMARK(CheckFilledReturn)->Unit(benchmark::kMillisecond);

// The conversion of an earlier edition with 200 data sets into an empty data root: every
// table copied, checked and put in place, the data-set settings cleared, the catalogue and
// the passwords written. Each run gets a fresh data root (made outside the timing).
void ConvertEditionOf200DataSets(benchmark::State &state)
{
    QTemporaryDir tmp;
    const QString earlier = tmp.path() + u"/RUR 2017/"_s;
    QStringList names;
    for (int i = 1; i <= 200; ++i)
        names.append(u"Firma %1"_s.arg(i));
    testing::makeEdition(earlier, names);
    testing::setPassword(earlier, 7, u"heslo"_s);
    for (int i = 1; i <= 200; ++i) {
        platform::IniFile ini(earlier + u"D%1/D%1.ini"_s.arg(i));
        ini.writeString(u"D%1"_s.arg(i), u"Denik"_s, u"/stara/cesta"_s);
        ini.writeString(u"Cesty"_s, u"Zaloha"_s, u"/stara/zaloha"_s);
    }
    // The data roots stay until the end: deleting thousands of files right before the next
    // run would slow the file system's allocation of new ones down for a while.
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
BENCHMARK(ConvertEditionOf200DataSets)->Unit(benchmark::kMillisecond)->Iterations(3);

// The two pages of the return as "rur-cli print" makes them: each page filled from the
// taxpayer row and the return, laid out and written as a PDF file with embedded fonts. The
// first variant lays the pages out only.
void ReturnPages(benchmark::State &state, bool toPdf)
{
    testing::TestRoot root;
    root.createDataSet();
    base::Directories dirs = directoriesOf(root);
    data::TDM1 dm;
    datasets::openDataSet(dm, dirs, u"D1"_s);
    dm.Prp->edit();
    for (const auto &[field, value] : {std::pair{u"Dic"_s, u"CZ12345678"_s}, {u"Oj1a"_s, u"Demo stavební s.r.o."_s},
                                        {u"Ob"_s, u"Praha"_s}, {u"Psc"_s, u"14000"_s}, {u"Zjm"_s, u"Jana Nováková"_s}})
        dm.Prp->field(field).setValue(value);
    dm.Prp->post();
    dm.Dtabn1->edit();
    dm.Dtabn1->field(u"C210"_s).setValue(123456.0);
    dm.Dtabn1->field(u"C210a"_s).setValue(25926.0);
    dm.Dtabn1->post();
    QTemporaryDir out;
    qint64 bytes = 0;
    for (auto _ : state) {
        for (int page : {1, 2}) {
            const report::PreparedReport prepared = print::prepareReturnPage(dm, page, 0);
            if (!toPdf) {
                benchmark::DoNotOptimize(prepared.pages.size());
                continue;
            }
            const QString path = out.filePath(u"strana%1.pdf"_s.arg(page));
            if (!report::writePdf(prepared, path))
                state.SkipWithError("the PDF was not written");
            bytes = QFileInfo(path).size();
        }
    }
    if (toPdf)
        state.counters["bytes of page 2"] = double(bytes);
}
void LayOutReturnPages(benchmark::State &state)
{
    ReturnPages(state, false);
}
void WriteReturnPagesAsPdf(benchmark::State &state)
{
    ReturnPages(state, true);
}
BENCHMARK(LayOutReturnPages)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteReturnPagesAsPdf)->Unit(benchmark::kMillisecond);

// One printout of the print centre from the click to the printer, with a PDF file standing
// in for the printer: the tax of line 64 taken into the payment order (as when the print
// centre opens), the print tables posted, closed and opened again, the order laid out and
// written.
void PrintPaymentOrder(benchmark::State &state)
{
    testing::TestRoot root;
    root.createDataSet();
    base::Directories dirs = directoriesOf(root);
    data::TDM1 dm;
    datasets::openDataSet(dm, dirs, u"D1"_s);
    testing::fillValidReturn(dm);
    platform::ScriptedPrompter prompter;
    QTemporaryDir out;
    const QString path = out.filePath(u"prikaz.pdf"_s);
    for (auto _ : state) {
        print::takeTaxIntoPaymentOrder(dm);
        const bool sent = print::producePrintout(
            dm, prompter, print::Output::Print,
            [&] { return std::optional(print::preparePrintout(dm, print::Printout::PaymentOrder, 0)); },
            [&](const report::PreparedReport &r) { return report::writePdf(r, path); });
        if (!sent)
            state.SkipWithError("the payment order was not written");
    }
    state.counters["bytes"] = double(QFileInfo(path).size());
}
BENCHMARK(PrintPaymentOrder)->Unit(benchmark::kMillisecond);


// "Přenos údajů z Peněžního deníku" of a journal with 100,000 entries of a year, every column
// code and some codes of no line among them: the journal's tables shown, the entries of the
// whole year summed, and the current return replaced in one transaction.
void TransferJournalOf100000Entries(benchmark::State &state)
{
    testing::TestRoot root;
    root.createDataSet();
    base::Directories dirs = directoriesOf(root);
    data::TDM1 dm;
    datasets::openDataSet(dm, dirs, u"D1"_s);
    QTemporaryDir folders;
    testing::SiblingFolder journal(folders.path() + u"/Rizavuv uvaro 2018"_s, u"Pen.ini"_s);
    QStringList codes = transfer::journalColumnCodes();
    codes += {u"K40"_s, u"99"_s};
    QList<testing::JournalEntry> entries;
    entries.reserve(100000);
    for (int i = 0; i < 100000; ++i)
        entries.append({QDate(2018, 1, 1).addDays(i % 365).toString(Qt::ISODate), 100.0 + (i % 997) * 0.37,
                        21.0 + (i % 89) * 0.07, codes[i % codes.size()]});
    journal.addJournal(1, u"D1"_s, u"2018-01-01"_s, u"2018-12-31"_s, entries);
    platform::ScriptedPrompter prompter;
    for (auto _ : state) {
        transfer::SiblingData data(transfer::SiblingKind::Journal);
        if (!data.show(journal.catalogue(), 1) || transfer::transferJournal(dm, data, prompter) != transfer::TransferResult::Done)
            state.SkipWithError("the transfer failed");
        prompter.messages.clear();
    }
}
BENCHMARK(TransferJournalOf100000Entries)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    rur::app::addSubsystemTableRules();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
