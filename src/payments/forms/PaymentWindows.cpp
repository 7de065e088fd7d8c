#include "payments/forms/PaymentWindows.h"

#include "payments/forms/EbanForm.h"
#include "payments/forms/EbzpForm.h"
#include "platform/ExecuteFile.h"
#include "print/forms/PrevForm.h"
#include "print/forms/PrintServices.h"
#include "print/forms/PrintWindows.h"
#include "ui/MainWindow.h"
#include "vat/forms/VatWindows.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace rur::payments {

namespace {

BankWindowServices servicesOf(ui::MainWindow &form, platform::Prompter &prompter)
{
    BankWindowServices s;
    s.dirs = form.directories();
    print::PrintServices *services = &print::printServices(form, prompter);
    const QString dataSetIni = s.dirs.dataSetIni();
    const QString dataSetDir = s.dirs.dataSetDir;
    s.preview = [services, dataSetIni, dataSetDir](const report::PreparedReport &list) {
        print::PreviewRequest request;
        request.report = &list;
        request.statusText = u"Budou vytištěny všechny stránky."_s;
        request.printerName = services->currentPrinter(dataSetDir);
        request.dataSetIni = dataSetIni;
        services->showPreview(request);
    };
    const QString dataRoot = s.dirs.dataRoot;
    s.startProgram = [dataRoot](const QString &program) {
        // A program given with its folder starts in that folder.
        const QFileInfo info(program);
        if (info.isAbsolute())
            QDir::setCurrent(info.absolutePath());
        platform::ExecuteFile(program);
        if (!dataRoot.isEmpty())
            QDir::setCurrent(dataRoot);
    };
    s.chooseFile = [](QWidget *parent, const QString &folder, const QString &filter) {
        return QFileDialog::getSaveFileName(parent, QString(), folder, filter, nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    };
    s.chooseProgram = [](QWidget *parent, const QString &folder, const QString &filter) {
        return QFileDialog::getOpenFileName(parent, QString(), folder, filter);
    };
    return s;
}

}  // namespace

void registerPaymentWindows(ui::MainWindow &form, platform::Prompter &prompter)
{
    ui::MainWindow *main = &form;
    platform::Prompter *ask = &prompter;
    print::KomfortActions &komfort = print::printServices(form, prompter).komfort;
    komfort.bankData = [main, ask](QWidget *parent) { PrenosBanky1(parent, vat::windowContextOf(*main, *ask)); };
    komfort.bank = [main, ask](QWidget *parent) {
        BankaOtevrit(parent, vat::windowContextOf(*main, *ask), servicesOf(*main, *ask));
    };
    komfort.transferToBank = [main, ask](QWidget *parent) {
        transferPaymentOrder(parent, vat::windowContextOf(*main, *ask), servicesOf(*main, *ask));
    };
}

}  // namespace rur::payments
