#include "ledger/forms/LedgerWindows.h"

#include "ledger/forms/Ezal1sForm.h"
#include "print/forms/PrintServices.h"
#include "print/forms/PrintWindows.h"
#include "ui/MainWindow.h"
#include "ui/forms/KalendarForm.h"
#include "vat/forms/VatWindows.h"

namespace rur::ledger {

void registerLedgerWindows(ui::MainWindow &form, platform::Prompter &prompter)
{
    ui::MainWindow *main = &form;
    platform::Prompter *ask = &prompter;
    print::KomfortActions &komfort = print::printServices(form, prompter).komfort;
    komfort.taxPaid = [main, ask](QWidget *parent) { openLedger(parent, vat::windowContextOf(*main, *ask)); };
    komfort.calendar = [main, ask](QWidget *parent, const QDate &shown) {
        const vat::WindowContext ctx = vat::windowContextOf(*main, *ask);
        return ui::pickDate(parent, shown, {ctx.dataSetIni, ctx.section, ctx.screenWidth});
    };
}

}  // namespace rur::ledger
