#include "vat/forms/VatWindows.h"

#include "base/Directories.h"
#include "base/UserSettings.h"
#include "engine/EngineError.h"
#include "platform/Prompter.h"
#include "ui/Commands.h"
#include "ui/HelpRequests.h"
#include "ui/MainWindow.h"
#include "vat/Saving.h"
#include "vat/forms/EcisForm.h"
#include "vat/forms/EprpForm.h"
#include "vat/forms/FinishedForm.h"
#include "vat/forms/FormParts.h"
#include "vat/forms/ReturnEntryForm.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>

using namespace Qt::StringLiterals;

namespace rur::vat {

namespace {

using ui::Command;

WindowContext contextOf(ui::MainWindow &form, platform::Prompter &prompter)
{
    const base::Directories &dirs = form.directories();
    WindowContext ctx{form.dataModule(), prompter};
    if (!dirs.dataSetDir.isEmpty()) {
        ctx.dataSetIni = dirs.dataSetIni();
        ctx.section = dirs.dataSetDir;
    }
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        ctx.screenWidth = screen->geometry().width();
    ctx.help = form.help();
    ctx.typPisma = form.userSettings().typPisma;
    ctx.printAvailable = [&form] {
        const QAction *print = form.commandAction(Command::TiskRur);
        return print && print->isEnabled();
    };
    return ctx;
}

void save(ui::MainWindow &form, platform::Prompter &prompter, bool last)
{
    try {
        if (last)
            UlozeniPoslednihoRur(form.dataModule(), prompter);
        else
            UlozeniRur(form.dataModule(), prompter);
    } catch (const engine::EngineError &e) {
        reportError(prompter, e);
    }
}

void showFinished(ui::MainWindow &form, platform::Prompter &prompter, int n)
{
    {
        const std::unique_ptr<TFinishedForm> window = makeFinishedWindow(n, contextOf(form, prompter), form.widget());
        window->exec();
    }
    form.setStatusText(1, QString());
}

}  // namespace

WindowContext windowContextOf(ui::MainWindow &form, platform::Prompter &prompter)
{
    return contextOf(form, prompter);
}

void runReturnWindows(ui::MainWindow &form, platform::Prompter &prompter, int n)
{
    while (n >= 1 && n <= 4) {
        const std::unique_ptr<TReturnEntryForm> window = makeReturnWindow(n, contextOf(form, prompter), form.widget());
        window->exec();
        n = window->nextWindow();
    }
    if (n == 5)
        form.Dpp1(5);
}

void registerVatWindows(ui::MainWindow &form, platform::Prompter &prompter)
{
    ui::MainWindow *main = &form;
    platform::Prompter *ask = &prompter;
    main->setCommandHandler(Command::UdajeOPoplatnikovi,
                            [main, ask] { Udaje1(contextOf(*main, *ask), main->widget(), [main] { main->Dpp1(5); }); });
    main->setCommandHandler(Command::SazbyRur, [main, ask] { SazbyRur(contextOf(*main, *ask), main->widget()); });
    const Command returnCommands[] = {Command::Priznani1, Command::Priznani2, Command::Priznani3, Command::Priznani4};
    for (int n = 1; n <= 4; ++n) {
        main->setReturnWindowOpener(n, [main, ask, n] { runReturnWindows(*main, *ask, n); });
        main->setCommandHandler(returnCommands[n - 1], [main, n] { main->Dpp1(n); });
    }
    main->setCommandHandler(Command::UlozeniRur, [main, ask] { save(*main, *ask, false); });
    main->setCommandHandler(Command::UlozeniPoslednihoRur, [main, ask] { save(*main, *ask, true); });
    const Command finishedCommands[] = {Command::Hotova1, Command::Hotova2, Command::Hotova3};
    for (int n = 1; n <= 3; ++n)
        main->setCommandHandler(finishedCommands[n - 1], [main, ask, n] { showFinished(*main, *ask, n); });
}

}  // namespace rur::vat
