#include "kh/forms/KhWindows.h"

#include "app/MainMenu.h"
#include "app/forms/MainForm.h"
#include "kh/forms/EkhForm.h"
#include "kh/forms/KhPrintPage.h"
#include "print/forms/EmtfForm.h"
#include "print/forms/PrintServices.h"
#include "print/forms/PrintWindows.h"
#include "vat/forms/VatWindows.h"

#include <QFileDialog>

using namespace Qt::StringLiterals;

namespace rur::kh {

void registerStatementWindows(app::TMainForm &form, platform::Prompter &prompter)
{
    app::TMainForm *main = &form;
    platform::Prompter *ask = &prompter;
    StatementWindowServices services;
    services.chooseCsv = [](QWidget *parent, const QString &folder) {
        return QFileDialog::getOpenFileName(parent, u"Načíst doklady do rejstříku"_s, folder,
                                            u"soubory CSV (*.csv *.txt);;všechny soubory (*)"_s);
    };
    main->setCommandHandler(app::Command::KontrolniHlaseni, [main, ask, services] {
        openStatement(main, vat::windowContextOf(*main, *ask), services);
    });
    print::printServices(form, prompter).pages.append(
        {u"Kontrolní hlášení"_s,
         [](print::PrintCentreContext &ctx, print::TEmtfForm &centre) { return new KhPrintPage(ctx, centre); }});
}

}  // namespace rur::kh
