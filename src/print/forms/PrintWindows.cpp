#include "print/forms/PrintWindows.h"

#include "base/Directories.h"
#include "base/UserSettings.h"
#include "check/forms/ReturnCheckForm.h"
#include "data/DataM1.h"
#include "engine/EngineError.h"
#include "platform/Prompter.h"
#include "print/PaymentOrder.h"
#include "print/forms/EmtfForm.h"
#include "print/forms/PrintServices.h"
#include "ui/Commands.h"
#include "ui/MainWindow.h"
#include "vat/forms/FormParts.h"
#include "vat/forms/VatWindows.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace rur::print {

PrintServices &printServices(ui::MainWindow &form, platform::Prompter &prompter)
{
    return printServicesOf(*form.widget(), form.dataModule(), prompter);
}

void VyberTisku1(ui::MainWindow &form, platform::Prompter &prompter, int mode, int komfortNode)
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
        TEmtfForm window(ctx, mode, form.widget());
        if (QTreeWidgetItem *printout = komfortNode > 0 ? window.node(window.komfortTree(), komfortNode) : nullptr)
            window.komfortTree()->setCurrentItem(printout);
        window.exec();
    }
    form.TypDp1();
}

void registerPrintWindows(ui::MainWindow &form, platform::Prompter &prompter)
{
    ui::MainWindow *main = &form;
    platform::Prompter *ask = &prompter;
    printServices(form, prompter);
    main->setCommandHandler(ui::Command::Tisk, [main, ask] { VyberTisku1(*main, *ask, 1); });
    main->setCommandHandler(ui::Command::TiskRur, [main, ask] { VyberTisku1(*main, *ask, 2); });
    main->setCommandHandler(ui::Command::TiskKomfort, [main, ask] { VyberTisku1(*main, *ask, 3); });
    main->setReturnWindowOpener(5, [main, ask] { VyberTisku1(*main, *ask, 2); });
    // The check of the print centre's "&Kontrola", also offered by the working area.
    main->setCommandHandler(ui::Command::Kontrola, [main, ask] {
        check::showReturnCheck(main->widget(), vat::windowContextOf(*main, *ask), main->userSettings().kodovani);
    });
    main->setCommandHandler(ui::Command::NastaveniTisku, [main, ask] {
        const base::Directories &dirs = main->directories();
        printServices(*main, *ask).VyberTisk1(1, main->widget(), dirs.dataSetDir,
                                               dirs.dataSetDir.isEmpty() ? QString() : dirs.dataSetIni());
    });
}

}  // namespace rur::print
