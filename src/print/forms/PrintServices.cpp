#include "print/forms/PrintServices.h"

#include "platform/IniFile.h"
#include "print/forms/PrevForm.h"
#include "report/Printing.h"
#include "report/printing/QtPrintTarget.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace rur::print {

namespace {

// The preview prints where the print centre prints.
class SharedTarget : public report::PrintTarget {
public:
    explicit SharedTarget(PrintServices &services) : services_(services) {}
    bool print(const report::PreparedReport &report, const report::PrintJob &job) override
    {
        return services_.printTarget().print(report, job);
    }

private:
    PrintServices &services_;
};

QString systemPrinterSetup(QWidget *parent, const QString &current)
{
    QPrinter printer;
    if (!current.isEmpty())
        printer.setPrinterName(current);
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(u"Nastavení tisku"_s);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return printer.printerName();
}

}  // namespace

PrintServices::PrintServices(data::TDM1 &dm, platform::Prompter &prompter, QWidget *window)
    : QObject(window), dm_(dm), prompter_(prompter), window_(window),
      target_(std::make_unique<report::QtPrintTarget>())
{
    setObjectName(u"PrintServices"_s);
    installedPrinters = report::installedPrinters;
    defaultPrinter = report::defaultPrinterName;
    printerSetup = systemPrinterSetup;
    showPreview = [this](const PreviewRequest &request) { previewForm().ShowPreview(request); };
}

PrintServices::~PrintServices()
{
    // Without a window to own it, the preview goes with the services.
    if (preview_ && !preview_->parent())
        delete preview_;
}

void PrintServices::setPrintTarget(std::unique_ptr<report::PrintTarget> target)
{
    target_ = std::move(target);
}

TPrevForm &PrintServices::previewForm()
{
    if (!preview_) {
        preview_ = new TPrevForm(dm_, prompter_, window_);
        preview_->setPrintTarget(std::make_unique<SharedTarget>(*this));
    }
    return *preview_;
}

QString PrintServices::currentPrinter(const QString &dataSetDir)
{
    if (!chosen_ || dataSetDir != currentDataSet_) {
        current_ = defaultPrinter();
        currentDataSet_ = dataSetDir;
        chosen_ = true;
    }
    return current_;
}

void PrintServices::VyberTisk1(int mode, QWidget *parent, const QString &dataSetDir, const QString &dataSetIni)
{
    const QString before = currentPrinter(dataSetDir);
    const QStringList installed = installedPrinters();
    platform::IniFile ini(dataSetIni);
    const PrintSettings settings = readPrintSettings(ini);
    // 1. The data set's own printer, or the default one when it is gone.
    current_ = choosePrinter(settings, installed, defaultPrinter(), before);
    if (mode != 1)
        return;
    // 2. The set-up dialog; the chosen printer is the data set's own unless it uses the default.
    const QString listed = printerSetup(parent, current_);
    if (listed.isEmpty())
        return;
    current_ = printerFromSetup(listed, installed);
    if (!settings.useDefault && !dataSetIni.isEmpty())
        ini.writeString(u"Tisk"_s, u"Tiskarna"_s, current_);
}

PrintServices &printServicesOf(QWidget &window, data::TDM1 &dm, platform::Prompter &prompter)
{
    if (auto *services = window.findChild<PrintServices *>(u"PrintServices"_s, Qt::FindDirectChildrenOnly))
        return *services;
    return *new PrintServices(dm, prompter, &window);
}

}  // namespace rur::print
