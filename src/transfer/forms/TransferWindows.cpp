#include "transfer/forms/TransferWindows.h"

#include "app/MainMenu.h"
#include "app/forms/MainForm.h"
#include "transfer/forms/EsdForm.h"
#include "transfer/forms/EspForm.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>

namespace rur::transfer {

namespace {

using app::Command;

template <typename Window>
bool showWindow(app::TMainForm &form, platform::Prompter &prompter)
{
    TransferWindowContext ctx{form.dataModule(), form.directories(), prompter};
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        ctx.screenWidth = screen->geometry().width();
    bool done = false;
    {
        Window window(ctx, &form);
        done = window.exec() == QDialog::Accepted;
    }
    form.TypDp1();
    return done;
}

}  // namespace

void registerTransferWindows(app::TMainForm &form, platform::Prompter &prompter)
{
    app::TMainForm *main = &form;
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
