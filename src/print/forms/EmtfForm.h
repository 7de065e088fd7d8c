#pragma once

#include "print/FilingFile.h"
#include "print/PreviewRules.h"
#include "print/PrintCentreLayout.h"
#include "print/PrintJobs.h"
#include "print/PrintSettings.h"
#include "vat/forms/WindowContext.h"

#include <QDialog>
#include <QHash>
#include <functional>
#include <optional>

class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QBoxLayout;
class QCheckBox;
class QGridLayout;
class QStackedWidget;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace rur::base {
struct Directories;
struct UserSettings;
}  // namespace rur::base

namespace rur::print {

class PrintServices;

// What the print centre works with: the tables, the questions, the data set's directories and
// settings, the services of the run, and the context of the return's windows (the check opens
// them).
struct PrintCentreContext {
    data::TDM1 &dm;
    platform::Prompter &prompter;
    PrintServices &services;
    const base::Directories &dirs;
    base::UserSettings &user;
    vat::WindowContext windows;
    int screenWidth = 1024;
};

// "Tisk": the print centre. Page "RUR" previews and prints the return's two pages and writes
// the filing file; page "Komfort" the payment order (and what other parts of the program
// register: letters, envelopes, bank orders); page "Tiskárna" chooses the printer, the action
// of F6 and the font names of printouts.
class TEmtfForm : public QDialog {
    Q_OBJECT

public:
    enum Page { PageRur = 0, PageKomfort = 1, PagePrinter = 2 };

    // Mode 1: the page last used ([Tisk] AktivniStranka), 2: "RUR", 3: "Komfort".
    TEmtfForm(PrintCentreContext &ctx, int mode, QWidget *parent = nullptr);
    ~TEmtfForm() override;

    QTabWidget *pages() const { return pages_; }
    QTreeWidget *rurTree() const { return rurTree_; }
    QTreeWidget *komfortTree() const { return komfortTree_; }
    QTreeWidgetItem *node(QTreeWidget *tree, int number) const;
    int selectedNode(QTreeWidget *tree) const;  // -1 without a selection
    QStackedWidget *komfortPanels() const { return panels_; }
    QPushButton *button(const QString &objectName) const;
    // The control of a table's field (on the "Komfort" page of the given panel when the
    // field is on several pages; the "RUR" page otherwise).
    QWidget *control(const QString &table, const QString &field, int panel = -1) const;
    QLabel *label(const QString &objectName) const;
    QListWidget *printerList() const { return printerList_; }
    QRadioButton *f6PrintButton() const { return f6Print_; }
    QRadioButton *f6PreviewButton() const { return f6Preview_; }
    QRadioButton *plainFontButton() const { return fontPlain_; }
    QRadioButton *ceFontButton() const { return fontCe_; }
    QCheckBox *defaultPrinterBox() const { return useDefault_; }
    const XmlPathSettings &xmlSettings() const { return xml_; }

    // "&Náhled" and "&Tisk" of the "RUR" page.
    void VyberTypuNahledDp();
    void VyberTypuTiskDp();
    // Preview (1) or print (2) of return page 1 or 2.
    bool PickReport(int action, int page);
    // Preview (1) or print (2) of the selected Komfort node.
    bool PickReportKom(int action);
    // F6: the selected node of the page shown, previewed or printed as the "Klávesa F6"
    // buttons say.
    void F6Key();
    void Ulozit1();
    void Nacist1();
    // The printer chosen in "Výběr tiskárny pro tisk:".
    void choosePrinter(const QString &name);
    void NastaveniTiskarnyClick();
    // The filing file: "&Uložit data" (with the check of the written file), "N&astavení" and
    // "&Kontrola" (the check of the return).
    void UlozitDataClick();
    void NastaveniClick();
    void KontrolaClick();
    // One printout previewed (1) or printed (2) with the print settings and the printer chosen,
    // as the trees' printouts are; also for the pages other parts of the program add.
    bool produce(int action, const QString &statusText, BrowseState *browse,
                 const std::function<std::optional<report::PreparedReport>()> &make);

    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QWidget *buildRurPage();
    QWidget *buildKomfortPage();
    QWidget *buildPrinterPage();
    QWidget *buildPanel(KomfortPanel panel);
    QTreeWidget *buildTree(const QList<PrintNode> &nodes, const QString &name);
    void addFields(QWidget *parent, QGridLayout *grid, const QList<PanelField> &fields, int panel);
    void addFilingGroup(QWidget *page, QBoxLayout *layout);
    void updateButtons();
    void fillPrinters();
    void runAction(PanelAction action, const QString &field);
    void runKomfort(const std::function<void(QWidget *)> &action);
    void markAddresses(bool marked);
    QString dataSetIni() const;
    bool output(int action, Printout printout, const QString &statusText, BrowseState *browse);
    void offerBankTransfer();
    FilingContext filingContext();

    PrintCentreContext &ctx_;
    PrintSettings settings_;
    XmlPathSettings xml_;
    QTabWidget *pages_ = nullptr;
    QTreeWidget *rurTree_ = nullptr;
    QTreeWidget *komfortTree_ = nullptr;
    QStackedWidget *panels_ = nullptr;
    QListWidget *printerList_ = nullptr;
    QRadioButton *f6Print_ = nullptr, *f6Preview_ = nullptr, *fontPlain_ = nullptr, *fontCe_ = nullptr;
    QCheckBox *useDefault_ = nullptr;
    // Controls by "Table.Field" and panel (-1 for the "RUR" page); what a label or a field
    // opens.
    QHash<QString, QWidget *> controls_;
    struct FieldAction {
        PanelAction action;
        QString field;
    };
    QHash<QObject *, FieldAction> actions_;
    bool filling_ = false;
    bool running_ = false;
    BrowseState *browse_ = nullptr;  // page browsing of one "&Náhled", or none
};

}  // namespace rur::print
