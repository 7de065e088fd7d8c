#include "transfer/forms/TransferWindows.h"

#include "transfer/forms/EsdForm.h"
#include "transfer/forms/EspForm.h"
#include "ui/Commands.h"
#include "ui/MainWindow.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>

namespace rur::transfer {

namespace {

using ui::Command;

template <typename Window>
bool showWindow(ui::MainWindow &form, platform::Prompter &prompter)
{
    TransferWindowContext ctx{form.dataModule(), form.directories(), prompter};
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        ctx.screenWidth = screen->geometry().width();
    bool done = false;
    {
        Window window(ctx, form.widget());
        done = window.exec() == QDialog::Accepted;
    }
    form.TypDp1();
    return done;
}

}  // namespace

void registerTransferWindows(ui::MainWindow &form, platform::Prompter &prompter)
{
    ui::MainWindow *main = &form;
    platform::Prompter *ask = &prompter;
    main->setCommandHandler(Command::PrenosDenik, [main, ask] {
        if (showWindow<TEsdForm>(*main, *ask))
            main->Dpp1(1);
    });
    const auto openTaxpayer = [main] {
        if (QAction *taxpayer = main->commandAction(Command::UdajeOPoplatnikovi); taxpayer && taxpayer->isEnabled())
            taxpayer->trigger();
    };
    main->setCommandHandler(Command::PrenosPo, [main, ask, openTaxpayer] {
        if (showWindow<TEspForm>(*main, *ask))
            openTaxpayer();
    });
    main->setCommandHandler(Command::PrenosSz, [main, ask, openTaxpayer] {
        if (showWindow<TEsfForm>(*main, *ask))
            openTaxpayer();
    });
}

}  // namespace rur::transfer
