#include "kh/forms/KhWindows.h"

#include "kh/forms/EkhForm.h"
#include "kh/forms/KhPrintPage.h"
#include "print/forms/EmtfForm.h"
#include "print/forms/PrintServices.h"
#include "print/forms/PrintWindows.h"
#include "ui/Commands.h"
#include "ui/MainWindow.h"
#include "vat/forms/VatWindows.h"

#include <QFileDialog>

using namespace Qt::StringLiterals;

namespace rur::kh {

void registerStatementWindows(ui::MainWindow &form, platform::Prompter &prompter)
{
    ui::MainWindow *main = &form;
    platform::Prompter *ask = &prompter;
    StatementWindowServices services;
    services.chooseCsv = [](QWidget *parent, const QString &folder) {
        return QFileDialog::getOpenFileName(parent, u"Načíst doklady do rejstříku"_s, folder,
                                            u"soubory CSV (*.csv *.txt);;všechny soubory (*)"_s);
    };
    main->setCommandHandler(ui::Command::KontrolniHlaseni, [main, ask, services] {
        openStatement(main->widget(), vat::windowContextOf(*main, *ask), services);
    });
    print::printServices(form, prompter).pages.append(
        {u"Kontrolní hlášení"_s,
         [](print::PrintCentreContext &ctx, print::TEmtfForm &centre) { return new KhPrintPage(ctx, centre); }});
}

}  // namespace rur::kh
