#pragma once

// What the print centre takes from the program around it for the whole run: the printers
// and the one chosen, the preview window, where print jobs go, and the Komfort actions whose
// windows other parts of the program bring. A test replaces any of them.

#include "print/PrintJobs.h"
#include "print/PrintSettings.h"
#include "report/PreparedReport.h"

#include <QHash>
#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>

class QWidget;

namespace rur::data {
class TDM1;
}
namespace rur::platform {
class Prompter;
}
namespace rur::report {
class PrintTarget;
}

namespace rur::print {

class TEmtfForm;
class TPrevForm;
struct PreviewRequest;
struct PrintCentreContext;

// A page that another part of the program adds to the print centre after "Tiskárna": made
// each time the print centre opens, with its context and the window it belongs to.
struct PrintCentrePage {
    QString title;
    std::function<QWidget *(PrintCentreContext &ctx, TEmtfForm &centre)> build;
};

// A printout of a Komfort node that another part of the program lays out (letters,
// envelopes): nothing when there is nothing to print (the user has been told why). Throws
// report::ReportError or engine::EngineError.
using KomfortPrintout = std::function<std::optional<report::PreparedReport>(data::TDM1 &dm, int typPisma)>;

// The Komfort page's actions that open windows of other parts of the program. An action that
// is not set leaves its node, button or label disabled.
struct KomfortActions {
    // Printouts by node of the Komfort tree (3 letters, 5 and 6 envelopes); node 1, the
    // payment order, is the print centre's own.
    QHash<int, KomfortPrintout> printouts;
    // "&Přenést příkaz do elektronického styku ?" after the payment order: the order becomes a
    // bank order and the ABO window opens.
    std::function<void(QWidget *parent)> transferToBank;
    // "&Banka": the ABO window.
    std::function<void(QWidget *parent)> bank;
    // "Bance:" and Shift+F7 in the payer's bank fields: the payer's accounts, copied into Mtt.
    std::function<void(QWidget *parent)> bankData;
    // "Daň:" and Shift+F7 in the amount: the VAT paid ledger.
    std::function<void(QWidget *parent)> taxPaid;
    // "Název dokumentu - dopisu:", Shift+F7 in the name and "&Editace": the letters.
    std::function<void(QWidget *parent)> documents;
    // "&Adresář" and "&Odesílatel".
    std::function<void(QWidget *parent)> addressBook;
    std::function<void(QWidget *parent)> sender;
    // The calendar of the date fields: the date picked, or an invalid one.
    std::function<QDate(QWidget *parent, const QDate &shown)> calendar;
};

class PrintServices : public QObject {
    Q_OBJECT

public:
    PrintServices(data::TDM1 &dm, platform::Prompter &prompter, QWidget *window);
    ~PrintServices() override;

    // The system's printers unless a test gives its own.
    std::function<QStringList()> installedPrinters;
    std::function<QString()> defaultPrinter;
    // The printer set-up dialog starting at `current`: the printer chosen as the dialog lists
    // it, or empty when the user cancelled.
    std::function<QString(QWidget *parent, const QString &current)> printerSetup;
    // Shows a preview and returns when it closes: the preview window unless a test gives its own.
    std::function<void(const PreviewRequest &request)> showPreview;

    void setPrintTarget(std::unique_ptr<report::PrintTarget> target);
    report::PrintTarget &printTarget() { return *target_; }
    // The preview window, made on first use and kept; it prints through printTarget().
    TPrevForm &previewForm();

    KomfortActions komfort;
    QList<PrintCentrePage> pages;

    // The printer chosen for this run (empty: the system's default). When another data set
    // is open than the last time, the default printer is chosen first.
    QString currentPrinter(const QString &dataSetDir);
    void setCurrentPrinter(const QString &name) { current_ = name; }

    // VyberTisk1: applies the data set's stored printer (mode 2) or, in mode 1, shows the
    // printer set-up dialog first and stores the chosen printer when the data set keeps its
    // own. The settings come from and go to the data-set ini.
    void VyberTisk1(int mode, QWidget *parent, const QString &dataSetDir, const QString &dataSetIni);

private:
    data::TDM1 &dm_;
    platform::Prompter &prompter_;
    QWidget *window_;
    std::unique_ptr<report::PrintTarget> target_;
    TPrevForm *preview_ = nullptr;
    QString current_;
    QString currentDataSet_;
    bool chosen_ = false;
};

// The services of the main window (or any window): made on first use as its child.
PrintServices &printServicesOf(QWidget &window, data::TDM1 &dm, platform::Prompter &prompter);

}  // namespace rur::print
