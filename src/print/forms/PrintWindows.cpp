#include "print/forms/PrintWindows.h"

#include "app/MainMenu.h"
#include "app/forms/MainForm.h"
#include "check/forms/ReturnCheckForm.h"
#include "engine/EngineError.h"
#include "platform/Prompter.h"
#include "print/PaymentOrder.h"
#include "print/forms/EmtfForm.h"
#include "print/forms/PrintServices.h"
#include "vat/forms/FormParts.h"
#include "vat/forms/VatWindows.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace rur::print {

PrintServices &printServices(app::TMainForm &form, platform::Prompter &prompter)
{
    return printServicesOf(form, form.dataModule(), prompter);
}

void VyberTisku1(app::TMainForm &form, platform::Prompter &prompter, int mode, int komfortNode)
{
    data::TDM1 &dm = form.dataModule();
    try {
        platform::BusyGuard busy(prompter);
        dm.Obnovit1();
        takeTaxIntoPaymentOrder(dm);
    } catch (const engine::EngineError &e) {
        vat::reportError(prompter, e);
        form.TypDp1();
        return;
    }
    for (int panel = 0; panel < 4; ++panel)
        form.setStatusText(panel, QString());
    PrintCentreContext ctx{dm, prompter, printServices(form, prompter), form.directories(), form.userSettings(),
                           vat::windowContextOf(form, prompter)};
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        ctx.screenWidth = screen->geometry().width();
    {
        TEmtfForm window(ctx, mode, &form);
        if (QTreeWidgetItem *printout = komfortNode > 0 ? window.node(window.komfortTree(), komfortNode) : nullptr)
            window.komfortTree()->setCurrentItem(printout);
        window.exec();
    }
    form.TypDp1();
}

void registerPrintWindows(app::TMainForm &form, platform::Prompter &prompter)
{
    app::TMainForm *main = &form;
    platform::Prompter *ask = &prompter;
    printServices(form, prompter);
    main->setCommandHandler(app::Command::Tisk, [main, ask] { VyberTisku1(*main, *ask, 1); });
    main->setCommandHandler(app::Command::TiskRur, [main, ask] { VyberTisku1(*main, *ask, 2); });
    main->setCommandHandler(app::Command::TiskKomfort, [main, ask] { VyberTisku1(*main, *ask, 3); });
    main->setReturnWindowOpener(5, [main, ask] { VyberTisku1(*main, *ask, 2); });
    // The check of the print centre's "&Kontrola", also offered by the working area.
    main->setCommandHandler(app::Command::Kontrola, [main, ask] {
        check::showReturnCheck(main, vat::windowContextOf(*main, *ask), main->userSettings().kodovani);
    });
    main->setCommandHandler(app::Command::NastaveniTisku, [main, ask] {
        const base::Directories &dirs = main->directories();
        printServices(*main, *ask).VyberTisk1(1, main, dirs.dataSetDir,
                                               dirs.dataSetDir.isEmpty() ? QString() : dirs.dataSetIni());
    });
}

}  // namespace rur::print
