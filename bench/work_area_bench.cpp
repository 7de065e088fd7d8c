// The working area of the main window: opening a data set with the area shown (the tables,
// the overview with the check of the return, the labels painted), and the refresh that
// follows every entry window, on a filled return with 3 and with 999 lines of attachment.
#include "app/forms/MainForm.h"
#include "app/forms/WorkArea.h"
#include "data/Templates.h"
#include "datasets/Catalogue.h"
#include "datasets/forms/Auto1Form.h"
#include "platform/Prompter.h"
#include "support/filled_return.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

using namespace Qt::StringLiterals;
using namespace rur;

namespace {

struct MainWindowWithDataSet {
    explicit MainWindowWithDataSet(int attachmentLines)
    {
        data::installDataRoot(tmp.path() + u"/common/Tervik/RUR 2018/"_s);
        const app::TMainForm::Environment env{tmp.path() + u"/prg"_s, tmp.path() + u"/common"_s,
                                              tmp.path() + u"/docs"_s, QSize(1024, 768)};
        form = std::make_unique<app::TMainForm>(env, prompter);
        form->catalogue()->beginNew();
        form->catalogue()->finishNew(u"Firma"_s);
        form->selectionRunner = [] { return int(datasets::TAuto1Form::ResultOpen); };
        form->VyberDanoveho();
        testing::fillValidReturn(form->dataModule(), attachmentLines);
        form->resize(1024, 600);
        form->show();
        QCoreApplication::processEvents();
    }
    ~MainWindowWithDataSet()
    {
        form.reset();
        QDir::setCurrent(savedCwd);
    }
    void refresh()
    {
        form->refreshWorkArea();
        form->workArea()->repaint();
    }

    const QString savedCwd = QDir::currentPath();
    QTemporaryDir tmp;
    platform::ScriptedPrompter prompter;
    std::unique_ptr<app::TMainForm> form;
};

// "Výběr RUR" choosing the data set that is open: its tables closed and opened again, then
// the area computed and painted.
void OpenDataSetWithWorkArea(benchmark::State &state)
{
    MainWindowWithDataSet window(3);
    for (auto _ : state) {
        window.form->VyberDanoveho();
        window.refresh();
        if (!window.form->workArea()->showsOverview())
            state.SkipWithError("the data set did not open");
    }
}
BENCHMARK(OpenDataSetWithWorkArea)->Unit(benchmark::kMillisecond);

void RefreshWorkAreaAfterEntryWindow(benchmark::State &state)
{
    MainWindowWithDataSet window(int(state.range(0)));
    for (auto _ : state)
        window.refresh();
}
BENCHMARK(RefreshWorkAreaAfterEntryWindow)->Arg(3)->Arg(999)->Unit(benchmark::kMillisecond);

}  // namespace
