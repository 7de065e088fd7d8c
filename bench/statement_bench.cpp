// The control statement over a register of 100,000 documents: the CSV imported, the file
// DPHKH1 written, the check (the rules and the published schema) and the window's grid opened.
#include "bench_support.h"

#include "data/DataM1.h"
#include "datasets/DataSetAccess.h"
#include "engine/Table.h"
#include "kh/CsvImport.h"
#include "kh/StatementCheck.h"
#include "kh/StatementFile.h"
#include "kh/forms/EkhForm.h"
#include "platform/Prompter.h"
#include "print/XmlText.h"
#include "support/filled_return.h"
#include "support/test_root.h"
#include "ui/forms/DBGrid.h"

#include <QApplication>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;
using namespace rur;

namespace {

constexpr int kDocuments = 100000;

// A month of a large company: issued and received invoices of many partners, most above the
// limit, some below it, a few reverse-charge and EU documents.
QByteArray registerCsv(int documents)
{
    QByteArray csv = "oddil;dic;stat;vatid;doklad;datum;zaklad1;dan1;zaklad2;dan2;zaklad3;dan3;kod;rezim;oprava;pomer;radek\n";
    csv.reserve(documents * 90);
    for (int i = 0; i < documents; ++i) {
        const QByteArray partner = QByteArray::number(27000000 + i % 5000);
        const QByteArray day = QByteArray::number(1 + i % 31) + ".3.2018";
        const int base = 2000 + (i * 37) % 60000;
        const QByteArray amounts = QByteArray::number(base) + ";" + QByteArray::number(base * 21 / 100) + ";";
        const QByteArray number = QByteArray::number(i);
        switch (i % 20) {
        case 0: csv += "A1;" + partner + ";;;A1-" + number + ";" + day + ";" + QByteArray::number(base) + ";;;;;;4;;;;\n"; break;
        case 1: csv += "B1;" + partner + ";;;B1-" + number + ";" + day + ";" + amounts + ";;;;4;;;;\n"; break;
        case 2: csv += "A2;;DE;" + QByteArray::number(100000000 + i) + ";A2-" + number + ";" + day + ";" + amounts + ";;;;;;;;3\n"; break;
        default:
            csv += (i % 2 ? "A4;" : "B2;") + partner + ";;;FV-" + number + ";" + day + ";" + amounts + ";;;;;;;;\n";
        }
    }
    return csv;
}

struct LargeRegister {
    LargeRegister()
    {
        root.createDataSet();
        dirs = bench::directoriesOf(root);
        datasets::openDataSet(dm, dirs, u"D1"_s);
        rur::testing::fillValidReturn(dm);
        csv = root.path() + u"doklady.csv"_s;
        QFile f(csv);
        f.open(QIODevice::WriteOnly);
        f.write(registerCsv(kDocuments));
    }
    bool load()
    {
        const kh::ImportResult r = kh::importRegisterCsv(dm, csv, true);
        return r.error.isEmpty() && r.rows == kDocuments;
    }
    testing::TestRoot root;
    base::Directories dirs;
    data::TDM1 dm;
    QString csv;
};

void ImportStatementCsvOf100000Documents(benchmark::State &state)
{
    LargeRegister set;
    for (auto _ : state) {
        if (!set.load()) {
            state.SkipWithError("the file was not imported");
            break;
        }
    }
    state.counters["bytes"] = double(QFileInfo(set.csv).size());
}
BENCHMARK(ImportStatementCsvOf100000Documents)->Unit(benchmark::kMillisecond);

void WriteStatementFileOf100000Documents(benchmark::State &state)
{
    LargeRegister set;
    if (!set.load()) {
        state.SkipWithError("the file was not imported");
        return;
    }
    platform::ScriptedPrompter prompter;
    const QString path = set.root.path() + u"XML/DPHKH - D1.xml"_s;
    for (auto _ : state) {
        if (!kh::writeStatementFile(set.dm, path, {}, print::KodUtf8, true, prompter)) {
            state.SkipWithError("the file was not written");
            break;
        }
    }
    state.counters["bytes"] = double(QFileInfo(path).size());
}
BENCHMARK(WriteStatementFileOf100000Documents)->Unit(benchmark::kMillisecond);

void CheckStatementOf100000Documents(benchmark::State &state)
{
    LargeRegister set;
    if (!set.load()) {
        state.SkipWithError("the file was not imported");
        return;
    }
    qsizetype findings = 0;
    for (auto _ : state)
        findings = kh::KontrolaKh(set.dm, {}, print::KodUtf8, rur::testing::kValidReturnToday).size();
    state.counters["findings"] = double(findings);
}
BENCHMARK(CheckStatementOf100000Documents)->Unit(benchmark::kMillisecond);

// One document typed into a large register and saved: the table writes the row and reads its
// rows again.
void SaveDocumentIn100000Documents(benchmark::State &state)
{
    LargeRegister set;
    if (!set.load()) {
        state.SkipWithError("the file was not imported");
        return;
    }
    engine::Table &dkh = *set.dm.Dkh;
    int number = 0;
    for (auto _ : state) {
        dkh.append();
        dkh.field(u"Oddil"_s).setValue(u"A4"_s);
        dkh.field(u"Dic"_s).setValue(u"27082440"_s);
        dkh.field(u"Doklad"_s).setValue(u"FV-N"_s + QString::number(++number));
        dkh.field(u"Datum"_s).setValue(QDate(2018, 3, 31));
        dkh.field(u"Zaklad1"_s).setValue(20000.0);
        dkh.field(u"Dan1"_s).setValue(4200.0);
        dkh.post();
    }
}
BENCHMARK(SaveDocumentIn100000Documents)->Unit(benchmark::kMillisecond);

// From the closed register to the window shown with its grid painted.
void OpenStatementWindowOf100000Documents(benchmark::State &state)
{
    LargeRegister set;
    if (!set.load()) {
        state.SkipWithError("the file was not imported");
        return;
    }
    platform::ScriptedPrompter prompter;
    vat::WindowContext ctx{set.dm, prompter};
    for (auto _ : state) {
        set.dm.Dkh->close();
        set.dm.Dkh->open();
        kh::TEkhForm window(ctx, {});
        window.show();
        window.grid()->viewport()->repaint();
        QApplication::processEvents();
        state.PauseTiming();
        if (window.grid()->tableModel()->rowCount() != kDocuments)
            state.SkipWithError("the grid lacks rows");
        window.hide();
        state.ResumeTiming();
    }
}
BENCHMARK(OpenStatementWindowOf100000Documents)->Unit(benchmark::kMillisecond);

}  // namespace
