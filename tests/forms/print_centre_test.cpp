// The print centre "Tisk": its modes and the page it remembers, the trees and what their nodes
// allow, the print range and the copy rule counted as print jobs (one printed into a real
// PDF), page browsing, F6, a failed printout, the Komfort page, the printer and font settings
// of the data set, the filing file's buttons, and the main window's commands that open it.
#include "app/Directories.h"
#include "app/Startup.h"
#include "app/forms/MainForm.h"
#include "data/DataM1.h"
#include "data/Templates.h"
#include "datasets/DataSetAccess.h"
#include "datasets/forms/Auto1Form.h"
#include "datasets/Catalogue.h"
#include "engine/EngineError.h"
#include "engine/Table.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "print/PrintMessages.h"
#include "print/forms/EmtfForm.h"
#include "print/forms/PrevForm.h"
#include "print/forms/PrintServices.h"
#include "print/forms/PrintWindows.h"
#include "report/Printing.h"
#include "report/Render.h"
#include "support/filled_return.h"
#include "support/pdf_text.h"
#include "support/test_root.h"
#include "forms/window_script.h"
#include "ui/forms/DBComboBoxz.h"
#include "ui/forms/DBEditz.h"
#include "ui/forms/WindowPlacer.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace rur;
using print::TEmtfForm;
using rur::testing::setRow;
using rur::testing::WindowScript;

namespace {

// Where the print centre's jobs go: counted, and written into PDF files through QPrinter
// when a folder is given, as a printer driver would get them.
class JobSink : public report::PrintTarget {
public:
    struct Job {
        QString caption;
        QString printer;
        int copies;
        QString font;  // of the first text item
        QString pdf;
    };
    bool print(const report::PreparedReport &report, const report::PrintJob &job) override
    {
        Job j{report.caption, job.printerName, job.copies, {}, {}};
        for (const report::PlacedItem &item : report.pages.value(0).items)
            if (item.kind == report::PlacedItem::Kind::Text && !item.text.isEmpty()) {
                j.font = item.font.family;
                break;
            }
        if (!pdfFolder.isEmpty()) {
            j.pdf = pdfFolder + u"/job"_s + QString::number(jobs.size() + 1) + u".pdf"_s;
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(j.pdf);
            printer.setFullPage(true);
            printer.setCopyCount(job.copies);
            printer.setDocName(report.caption);
            if (!report::renderPages(report, printer))
                return false;
        }
        jobs.append(j);
        return ok;
    }
    QStringList captions() const
    {
        QStringList out;
        for (const Job &j : jobs)
            out.append(j.caption + u" ×"_s + QString::number(j.copies));
        return out;
    }
    QList<Job> jobs;
    bool ok = true;
    QString pdfFolder;
};

class PrintCentre : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.valid());
        root.createDataSet();
        dirs.localDataRoot = dirs.dataRoot = root.path();
        dirs.notFound = false;
        datasets::openDataSet(dm, dirs, u"D1"_s);
        services = std::make_unique<print::PrintServices>(dm, prompter, nullptr);
        services->installedPrinters = [this] { return printers; };
        services->defaultPrinter = [this] { return defaultPrinter; };
        services->showPreview = [this](const print::PreviewRequest &r) {
            previews.append(r.report->caption);
            statusTexts.append(r.statusText);
            if (onPreview)
                onPreview(r);
        };
        auto sink = std::make_unique<JobSink>();
        jobs = sink.get();
        services->setPrintTarget(std::move(sink));
    }
    void TearDown() override
    {
        form.reset();
        services.reset();
        dm.closeAll();
        QDir::setCurrent(savedCwd);
    }

    TEmtfForm &open(int mode)
    {
        form.reset();
        ctx = std::make_unique<print::PrintCentreContext>(
            print::PrintCentreContext{dm, prompter, *services, dirs, user, vat::WindowContext{dm, prompter}});
        ctx->windows.dataSetIni = dirs.dataSetIni();
        ctx->windows.section = dirs.dataSetDir;
        form = std::make_unique<TEmtfForm>(*ctx, mode);
        return *form;
    }
    // Shown and active, so that its keys work.
    void show()
    {
        form->show();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    void close()
    {
        form->reject();
        form.reset();
    }
    void select(QTreeWidget *tree, int node) { tree->setCurrentItem(form->node(tree, node)); }
    QPushButton *button(const QString &name) const { return form->button(name); }
    platform::IniFile ini() const { return platform::IniFile(dirs.dataSetIni()); }
    void type(QWidget *control, const QString &text)
    {
        auto *edit = qobject_cast<QLineEdit *>(control);
        ASSERT_NE(edit, nullptr);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    rur::testing::TestRoot root;
    const QString savedCwd = QDir::currentPath();
    app::Directories dirs;
    app::UserSettings user;
    data::TDM1 dm;
    platform::ScriptedPrompter prompter;
    std::unique_ptr<print::PrintServices> services;
    std::unique_ptr<print::PrintCentreContext> ctx;
    std::unique_ptr<TEmtfForm> form;
    JobSink *jobs = nullptr;
    QStringList printers = {u"Kancelář"_s, u"Sklad"_s};
    QString defaultPrinter = u"Kancelář"_s;
    QStringList previews, statusTexts;
    std::function<void(const print::PreviewRequest &)> onPreview;
};

const QString kPage1 = u"RUR strana 1"_s, kPage2 = u"RUR strana 2"_s, kOrder = u"Příkaz k úhradě - Daň (doplatek)"_s;

}  // namespace

TEST_F(PrintCentre, OpensOnThePageOfItsModeAndRemembersRurOrKomfort)
{
    TEmtfForm &w = open(1);
    EXPECT_EQ(w.windowTitle(), u"Tisk"_s);
    QStringList tabs;
    for (int i = 0; i < w.pages()->count(); ++i)
        tabs.append(w.pages()->tabText(i));
    EXPECT_EQ(tabs, (QStringList{u"RUR"_s, u"Komfort"_s, u"Tiskárna"_s}));
    EXPECT_EQ(w.pages()->currentIndex(), TEmtfForm::PageRur);  // nothing stored yet
    EXPECT_EQ(w.focusWidget(), w.rurTree());
    // The first place on a wide screen (moved left as far as this screen needs to hold the
    // window), then the place stored on closing.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(ui::framePlace(w).x(), std::max(0, std::min(95, screen.width() - w.frameGeometry().width())));
    EXPECT_EQ(ui::framePlace(w).y(), std::max(0, std::min(82, screen.height() - w.frameGeometry().height())));
    w.move(0, 40);
    w.pages()->setCurrentIndex(TEmtfForm::PageKomfort);
    const QPoint place = ui::framePlace(w);
    close();
    EXPECT_EQ(ini().readInteger(u"Tisk"_s, u"AktivniStranka"_s, 0), 2);
    EXPECT_EQ(ini().readInteger(u"Tisk"_s, u"Tisk1Left"_s, -1), place.x());
    EXPECT_EQ(ini().readInteger(u"Tisk"_s, u"Tisk1Top"_s, -1), place.y());

    EXPECT_EQ(open(1).pages()->currentIndex(), TEmtfForm::PageKomfort);
    EXPECT_EQ(ui::framePlace(*form), place);
    EXPECT_EQ(form->focusWidget(), form->komfortTree());
    // The "Tiskárna" page is not remembered.
    form->pages()->setCurrentIndex(TEmtfForm::PagePrinter);
    close();
    EXPECT_EQ(ini().readInteger(u"Tisk"_s, u"AktivniStranka"_s, 0), 2);
    EXPECT_EQ(open(2).pages()->currentIndex(), TEmtfForm::PageRur);
    EXPECT_EQ(form->focusWidget(), form->rurTree());
    close();
    EXPECT_EQ(ini().readInteger(u"Tisk"_s, u"AktivniStranka"_s, 0), 1);
    EXPECT_EQ(open(3).pages()->currentIndex(), TEmtfForm::PageKomfort);
}

TEST_F(PrintCentre, TreesStayExpandedAndOnlyTheirBranchesPrint)
{
    TEmtfForm &w = open(2);
    show();
    // Node numbers in display order, everything expanded; folding a branch is refused.
    QStringList rur;
    for (int n = 0; n < 3; ++n)
        rur.append(w.node(w.rurTree(), n)->text(0));
    EXPECT_EQ(rur, (QStringList{u"RUR"_s, u"Tisk strany 1"_s, u"Tisk strany 2"_s}));
    QTreeWidgetItem *bank = w.node(w.komfortTree(), 0);
    w.komfortTree()->collapseItem(bank);
    EXPECT_TRUE(bank->isExpanded());
    EXPECT_TRUE(w.node(w.rurTree(), 0)->isExpanded());

    // A root: no preview, no print, and F6 does nothing.
    select(w.rurTree(), 0);
    EXPECT_FALSE(button(u"NahledButton"_s)->isEnabled());
    EXPECT_FALSE(button(u"TiskButton"_s)->isEnabled());
    QTest::keyClick(&w, Qt::Key_F6);
    EXPECT_TRUE(previews.isEmpty());
    EXPECT_TRUE(jobs->jobs.isEmpty());

    // A page: F6 previews while "Náhled" is chosen, prints when "Tisk" is.
    select(w.rurTree(), 2);
    EXPECT_TRUE(button(u"NahledButton"_s)->isEnabled());
    QTest::keyClick(&w, Qt::Key_F6);
    EXPECT_EQ(previews, QStringList{kPage2});
    EXPECT_EQ(statusTexts, QStringList{QString::fromUtf16(print::kShownPageWillPrint)});
    w.f6PrintButton()->setChecked(true);
    QTest::keyClick(&w, Qt::Key_F6);
    EXPECT_EQ(jobs->captions(), QStringList{kPage2 + u" ×1"_s});
    // A double click on a page previews it, on a root nothing.
    const auto doubleClick = [&](QTreeWidget *tree, int n) {
        const QRect r = tree->visualItemRect(w.node(tree, n));
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, r.center());
    };
    doubleClick(w.rurTree(), 1);
    doubleClick(w.rurTree(), 0);
    EXPECT_EQ(previews, (QStringList{kPage2, kPage1}));

    // Komfort: the roots switch the panels; the later printouts are there but disabled.
    w.pages()->setCurrentIndex(TEmtfForm::PageKomfort);
    select(w.komfortTree(), 4);
    EXPECT_EQ(w.komfortPanels()->currentWidget()->objectName(), u"Obalky"_s);
    EXPECT_FALSE(button(u"KomNahledButton"_s)->isEnabled());
    for (int n : {3, 5, 6})
        EXPECT_FALSE(w.node(w.komfortTree(), n)->flags() & Qt::ItemIsEnabled) << n;
    EXPECT_FALSE(button(u"BankaButton"_s)->isEnabled());
    EXPECT_FALSE(button(u"AdresarButton"_s)->isEnabled());
    EXPECT_FALSE(w.label(u"LabelBai0"_s)->isEnabled());
    select(w.komfortTree(), 2);
    EXPECT_EQ(w.komfortPanels()->currentWidget()->objectName(), u"Dokumenty"_s);
    select(w.komfortTree(), 1);
    EXPECT_EQ(w.komfortPanels()->currentWidget()->objectName(), u"Dan"_s);
    QTest::keyClick(&w, Qt::Key_F6);
    EXPECT_EQ(jobs->jobs.last().caption, kOrder);
    EXPECT_EQ(statusTexts.last(), QString::fromUtf16(print::kShownPageWillPrint));
    // The order's pop-up menu takes the keys until it is closed.
    auto *menu = w.findChild<QMenu *>(u"PrenosMenu"_s);
    ASSERT_NE(menu, nullptr);
    QTest::keyClick(menu, Qt::Key_Escape);
    QApplication::setActiveWindow(&w);
    w.f6PreviewButton()->setChecked(true);
    QTest::keyClick(&w, Qt::Key_F6);
    EXPECT_EQ(previews.last(), kOrder);
    EXPECT_EQ(statusTexts.last(), QString::fromUtf16(print::kAllPagesWillPrint));
}

TEST_F(PrintCentre, PrintRangeAndCopiesAsPrintJobs)
{
    QTemporaryDir pdfs;
    TEmtfForm &w = open(2);
    select(w.rurTree(), 1);
    // "sudé stránky" with page 1 chosen prints page 2 only; the choice is the window's.
    auto *range = qobject_cast<ui::TDBComboBoxz *>(w.control(u"Dmt"_s, u"Trh1"_s));
    ASSERT_NE(range, nullptr);
    range->setCurrentIndex(range->findText(u"sudé stránky"_s));
    emit range->activated(range->currentIndex());
    button(u"TiskButton"_s)->click();
    EXPECT_EQ(jobs->captions(), QStringList{kPage2 + u" ×1"_s});
    EXPECT_EQ(jobs->jobs[0].printer, u"Kancelář"_s);

    // Three copies typed into the window and not stored yet: three jobs of one copy each...
    setRow(*dm.Dmt, {{u"Trh1"_s, u"vybranou stránku"_s}});
    jobs->jobs.clear();
    type(w.control(u"Dmt"_s, u"Kop"_s), u"3"_s);
    button(u"TiskButton"_s)->click();
    EXPECT_EQ(jobs->captions(), QStringList(3, kPage1 + u" ×1"_s));
    EXPECT_EQ(dm.Dmt->field(u"Kop"_s).asInteger(), 3);
    // ... and one job of three copies when the printer makes them, into a real PDF.
    jobs->jobs.clear();
    jobs->pdfFolder = pdfs.path();
    qobject_cast<QCheckBox *>(w.control(u"Dmt"_s, u"Pk"_s))->click();
    button(u"TiskButton"_s)->click();
    EXPECT_EQ(jobs->captions(), QStringList{kPage1 + u" ×3"_s});
    const rur::testing::PdfText pdf(jobs->jobs[0].pdf);
    ASSERT_TRUE(pdf.valid()) << pdf.error().toStdString();
    EXPECT_GE(pdf.pageCount(), 1);
    bool title = false;
    for (const rur::testing::PdfWord &word : pdf.words(0))
        title = title || word.text == u"PŘIZNÁNÍ"_s;
    EXPECT_TRUE(title);

    // All pages: both, each with the copy rule.
    jobs->jobs.clear();
    jobs->pdfFolder.clear();
    setRow(*dm.Dmt, {{u"Trh1"_s, u"všechny stránky"_s}, {u"Kop"_s, 2}, {u"Pk"_s, false}});
    select(w.rurTree(), 2);
    button(u"TiskButton"_s)->click();
    EXPECT_EQ(jobs->captions(), (QStringList{kPage1 + u" ×1"_s, kPage1 + u" ×1"_s, kPage2 + u" ×1"_s, kPage2 + u" ×1"_s}));
}

TEST_F(PrintCentre, BrowsingPagesFromThePreviewAndTheCeFontNames)
{
    TEmtfForm &w = open(2);
    select(w.rurTree(), 1);
    // Without browsing one preview; with it, ">" in the preview shows page 2, closing ends.
    button(u"NahledButton"_s)->click();
    EXPECT_EQ(previews, QStringList{kPage1});
    previews.clear();
    setRow(*dm.Dmt, {{u"Prh1"_s, true}});
    int shown = 0;
    onPreview = [&](const print::PreviewRequest &r) {
        ASSERT_NE(r.browse, nullptr);
        print::PreviewPaging paging;
        paging.start(1, r.browse);
        EXPECT_FALSE(button(u"NahledButton"_s)->isEnabled());  // while the command runs
        if (++shown == 1)
            EXPECT_TRUE(paging.go(print::PreviewPaging::Step::Next));
        else
            paging.hidden();
    };
    button(u"NahledButton"_s)->click();
    EXPECT_EQ(previews, (QStringList{kPage1, kPage2}));
    EXPECT_TRUE(button(u"NahledButton"_s)->isEnabled());

    // The CE font names are the window's choice, used from the next printout on.
    onPreview = nullptr;
    w.ceFontButton()->setChecked(true);
    button(u"TiskButton"_s)->click();
    EXPECT_EQ(jobs->jobs.last().font, u"Arial CE"_s);
    EXPECT_EQ(user.typPisma, 1);
    w.plainFontButton()->setChecked(true);
    button(u"TiskButton"_s)->click();
    EXPECT_EQ(jobs->jobs.last().font, u"Arial"_s);
    EXPECT_EQ(user.typPisma, 0);
}

TEST_F(PrintCentre, AFailedPrintoutSaysSoAndTheWindowWorksOn)
{
    TEmtfForm &w = open(2);
    select(w.rurTree(), 1);
    setRow(*dm.Dmt, {{u"Trh1"_s, u"všechny stránky"_s}});
    jobs->ok = false;
    type(w.control(u"Dmt"_s, u"Dpt"_s), u"7"_s);
    button(u"TiskButton"_s)->click();
    // The first refused page ends the command: one job, one message.
    EXPECT_EQ(jobs->jobs.size(), 1);
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_EQ(prompter.messages[0].text, QString::fromUtf16(print::kPrintFailed));
    for (engine::Table *t : {dm.Dmt.get(), dm.Mtt.get(), dm.Prp.get()}) {
        EXPECT_TRUE(t->isActive());
        EXPECT_FALSE(t->isEditing());
    }
    EXPECT_EQ(dm.Dmt->field(u"Dpt"_s).asInteger(), 7);
    EXPECT_TRUE(button(u"TiskButton"_s)->isEnabled());
    // A value the field refuses is not printed: the user is told and corrects it first.
    prompter.messages.clear();
    jobs->ok = true;
    jobs->jobs.clear();
    type(w.control(u"Dmt"_s, u"Dpl"_s), u"1000"_s);
    button(u"TiskButton"_s)->click();
    EXPECT_TRUE(jobs->jobs.isEmpty());
    ASSERT_EQ(prompter.errors().size(), 1);
    EXPECT_TRUE(prompter.errors()[0].contains(u"Levý okraj"_s)) << prompter.errors()[0].toStdString();
}

TEST_F(PrintCentre, PrinterAndFontSettingsOfTheDataSet)
{
    TEmtfForm &w = open(1);
    w.pages()->setCurrentIndex(TEmtfForm::PagePrinter);
    // The default printer is shown as chosen.
    ASSERT_NE(w.printerList()->currentItem(), nullptr);
    EXPECT_EQ(w.printerList()->currentItem()->text(), u"Kancelář"_s);
    EXPECT_TRUE(w.f6PreviewButton()->isChecked());
    EXPECT_TRUE(w.defaultPrinterBox()->isChecked());
    EXPECT_TRUE(w.plainFontButton()->isChecked());

    w.f6PrintButton()->setChecked(true);
    w.defaultPrinterBox()->setChecked(false);
    w.ceFontButton()->setChecked(true);
    w.printerList()->setCurrentRow(1);
    EXPECT_EQ(services->currentPrinter(u"D1"_s), u"Sklad"_s);
    EXPECT_EQ(ini().readString(u"Tisk"_s, u"Tiskarna"_s), u"Sklad"_s);
    close();
    EXPECT_EQ(ini().readString(u"Tisk"_s, u"Tisk"_s), u"1"_s);
    EXPECT_EQ(ini().readString(u"Tisk"_s, u"Vychozi"_s), u"0"_s);
    EXPECT_EQ(user.typPisma, 1);

    // Another run: the data set's own printer comes back with everything else.
    services->setCurrentPrinter(u"Kancelář"_s);
    open(1);
    EXPECT_EQ(form->printerList()->currentItem()->text(), u"Sklad"_s);
    EXPECT_TRUE(form->f6PrintButton()->isChecked());
    EXPECT_FALSE(form->defaultPrinterBox()->isChecked());
    EXPECT_TRUE(form->ceFontButton()->isChecked());
    select(form->rurTree(), 1);
    button(u"TiskButton"_s)->click();
    EXPECT_EQ(jobs->jobs.last().printer, u"Sklad"_s);
    close();

    // The printer is gone: the default one is chosen and shown.
    printers = {u"Kancelář"_s};
    open(1);
    EXPECT_EQ(form->printerList()->currentItem()->text(), u"Kancelář"_s);
    // The set-up dialog may list the printer with its port; the data set keeps its name.
    printers = {u"Kancelář"_s, u"Sklad"_s};
    services->printerSetup = [](QWidget *, const QString &current) {
        EXPECT_EQ(current, u"Kancelář"_s);
        return u"Sklad on usb://Sklad"_s;
    };
    button(u"NastaveniTiskarnyButton"_s)->click();
    EXPECT_EQ(form->printerList()->currentItem()->text(), u"Sklad"_s);
    EXPECT_EQ(ini().readString(u"Tisk"_s, u"Tiskarna"_s), u"Sklad"_s);
    close();

    // No printer at all: the list says so instead of showing nothing.
    printers.clear();
    defaultPrinter.clear();
    open(1);
    ASSERT_EQ(form->printerList()->count(), 1);
    EXPECT_EQ(form->printerList()->item(0)->text(), u"Není nainstalována žádná tiskárna."_s);
    EXPECT_EQ(form->printerList()->item(0)->flags(), Qt::NoItemFlags);
}

TEST_F(PrintCentre, KomfortPagePrintsThePaymentOrderAndOffersWhatIsRegistered)
{
    setRow(*dm.Mtt, {{u"Vh"_s, 10}});
    int bankData = 0, taxPaid = 0, transferred = 0;
    services->komfort.bankData = [&](QWidget *) { ++bankData; };
    services->komfort.taxPaid = [&](QWidget *) { ++taxPaid; };
    services->komfort.transferToBank = [&](QWidget *) { ++transferred; };
    services->komfort.printouts.insert(print::kNodeEnvelopesDl,
                                       [](data::TDM1 &, int) { return std::optional<report::PreparedReport>(); });
    TEmtfForm &w = open(3);
    show();
    select(w.komfortTree(), 1);
    EXPECT_TRUE(w.node(w.komfortTree(), 5)->flags() & Qt::ItemIsEnabled);
    EXPECT_FALSE(w.node(w.komfortTree(), 6)->flags() & Qt::ItemIsEnabled);

    // Before the bank orders are registered, the command after the order is there, disabled.
    {
        services->komfort.transferToBank = nullptr;
        TEmtfForm early(*ctx, 3);
        early.komfortTree()->setCurrentItem(early.node(early.komfortTree(), 1));
        ASSERT_TRUE(early.PickReportKom(2));
        auto *menu = early.findChild<QMenu *>(u"PrenosMenu"_s);
        ASSERT_NE(menu, nullptr);
        EXPECT_FALSE(menu->actions().value(0)->isEnabled());
        menu->close();
        services->komfort.transferToBank = [&](QWidget *) { ++transferred; };
        jobs->jobs.clear();
    }

    // The amount typed in "Daň:" is rounded on its way to the printout.
    type(w.control(u"Mtt"_s, u"Cad1"_s, 0), u"1234,5"_s);
    report::PreparedReport shown;
    onPreview = [&](const print::PreviewRequest &r) { shown = *r.report; };
    button(u"KomNahledButton"_s)->click();
    EXPECT_EQ(previews, QStringList{kOrder});
    ASSERT_NE(shown.find(u"QRDBTextCad1"_s), nullptr);
    EXPECT_EQ(shown.find(u"QRDBTextCad1"_s)->text, u"1235,00"_s);
    EXPECT_DOUBLE_EQ(shown.find(u"QRDBTextCui"_s)->rect.top(), 102 + 38);  // Vh 10 mm
    EXPECT_EQ(dm.Mtt->field(u"Cad1"_s).asFloat(), 1235.0);
    // Then the order may become a bank order.
    auto *menu = w.findChild<QMenu *>(u"PrenosMenu"_s);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions()[0]->text(), u"&Přenést příkaz do elektronického styku ?"_s);
    EXPECT_TRUE(menu->actions()[0]->isEnabled());
    menu->actions()[0]->trigger();
    EXPECT_EQ(transferred, 1);
    menu->close();

    // "Bance:" and Shift+F7 in the payer's fields; Shift+F7 in "Daň:".
    QTest::mouseClick(w.label(u"LabelBai0"_s), Qt::LeftButton);
    QTest::keyClick(w.control(u"Mtt"_s, u"Kbi"_s, 0), Qt::Key_F7, Qt::ShiftModifier);
    QTest::keyClick(w.control(u"Mtt"_s, u"Cad1"_s, 0), Qt::Key_F7, Qt::ShiftModifier);
    EXPECT_EQ(bankData, 2);
    EXPECT_EQ(taxPaid, 1);
    EXPECT_EQ(w.control(u"Mtt"_s, u"D1s"_s, 0)->property("readOnly").toBool(), true);

    // An envelope printout with nothing to print goes nowhere, without a failure.
    select(w.komfortTree(), 5);
    EXPECT_EQ(w.komfortPanels()->currentWidget()->objectName(), u"Obalky"_s);
    button(u"KomTiskButton"_s)->click();
    EXPECT_TRUE(jobs->jobs.isEmpty());
    EXPECT_TRUE(prompter.messages.isEmpty());

    // "Vybrat vše" after its question; "Zrušit vše" asked and answered No.
    dm.Maz->open();
    dm.Maz->append();
    dm.Maz->field(u"Fa"_s).setValue(u"Finanční úřad"_s);
    dm.Maz->post();
    button(u"VybratVseButton"_s)->click();
    EXPECT_TRUE(dm.Maz->field(u"O"_s).asBoolean());
    prompter.answers = {platform::Prompter::Answer::No};
    button(u"ZrusitVseButton"_s)->click();
    EXPECT_TRUE(dm.Maz->field(u"O"_s).asBoolean());
    EXPECT_EQ(prompter.texts(), (QStringList{u"Opravdu vybrat vše pro tisk ?"_s, u"Opravdu zrušit výběr pro tisk ?"_s}));
}

TEST_F(PrintCentre, FilingFileButtonsWriteCheckAndKeepTheirSettings)
{
    QTemporaryDir out;
    const QString path = out.filePath(u"DPHDP3.xml"_s);
    {
        platform::IniFile settings = ini();
        ASSERT_TRUE(settings.writeString(u"XML"_s, u"Dph"_s, path));
    }
    TEmtfForm &w = open(2);
    EXPECT_EQ(w.xmlSettings().pathTemplate, path);
    // The empty return has faults: the check of the written file shows them.
    {
        WindowScript script({});
        button(u"UlozitDataButton"_s)->click();
        EXPECT_TRUE(QFile::exists(path));
        EXPECT_EQ(script.shown, QStringList{u"TReturnCheckForm"_s});
    }
    {
        WindowScript script({});
        button(u"KontrolaButton"_s)->click();
        EXPECT_EQ(script.shown, QStringList{u"TReturnCheckForm"_s});
    }
    {
        WindowScript script({[](QDialog &d) {
            auto *edit = d.findChild<QLineEdit *>(u"DphEdit"_s);
            edit->setText(u"XML/Jiny.xml"_s);
            d.accept();
        }});
        button(u"NastaveniButton"_s)->click();
        EXPECT_EQ(script.shown, QStringList{u"TEpodForm"_s});
    }
    EXPECT_EQ(ini().readString(u"XML"_s, u"Dph"_s), u"XML/Jiny.xml"_s);
    close();
    EXPECT_EQ(ini().readString(u"XML"_s, u"Dph"_s), u"XML/Jiny.xml"_s);
}

// The main window's commands open the print centre after taking the return's tax into the
// payment order.
TEST(PrintCentreCommands, MenuItemsAndTheReturnWindowsPrintButtonOpenIt)
{
    QTemporaryDir tmp;
    const QString savedCwd = QDir::currentPath();
    const QString common = tmp.path() + u"/common"_s;
    data::installDataRoot(common + u"/Tervik/RUR 2018/"_s);
    platform::ScriptedPrompter prompter;
    const app::TMainForm::Environment env{tmp.path() + u"/prg"_s, common, tmp.path() + u"/docs"_s, QSize(1280, 1024)};
    {
        app::TMainForm main(env, prompter);
        EXPECT_FALSE(main.commandAction(app::Command::TiskRur)->isEnabled());
        main.catalogue()->beginNew();
        ASSERT_TRUE(main.catalogue()->finishNew(u"Firma"_s));
        main.selectionRunner = [] { return int(datasets::TAuto1Form::ResultOpen); };
        main.VyberDanoveho();
        ASSERT_TRUE(main.dataSetOpen());
        rur::testing::fillValidReturn(main.dataModule());
        const double tax = main.dataModule().Dtabn3->field(u"C753"_s).asFloat();
        print::PrintServices &services = print::printServices(main, prompter);
        services.installedPrinters = [] { return QStringList{u"Kancelář"_s, u"Sklad"_s}; };
        services.defaultPrinter = [] { return u"Kancelář"_s; };

        const struct {
            app::Command command;
            int page;
        } commands[] = {{app::Command::TiskRur, TEmtfForm::PageRur}, {app::Command::TiskKomfort, TEmtfForm::PageKomfort},
                        {app::Command::Tisk, TEmtfForm::PageKomfort}};
        for (const auto &c : commands) {
            ASSERT_TRUE(main.commandAction(c.command)->isEnabled());
            main.setStatusText(1, u"Uloženo"_s);
            int page = -1;
            WindowScript script({[&](QDialog &d) {
                page = static_cast<TEmtfForm &>(d).pages()->currentIndex();
                EXPECT_EQ(main.statusText(1), QString());
                EXPECT_EQ(main.dataModule().Mtt->field(u"Cad1"_s).asFloat(), tax);
                d.reject();
            }});
            main.commandAction(c.command)->trigger();
            EXPECT_EQ(script.shown, QStringList{u"TEmtfForm"_s});
            EXPECT_EQ(page, c.page);
        }
        // Dpp1(5): the return's windows print on the "RUR" page; its preview is the program's
        // preview window, which says what its "Tisk" prints.
        WindowScript script({[&](QDialog &d) {
                                 auto &centre = static_cast<TEmtfForm &>(d);
                                 EXPECT_EQ(centre.pages()->currentIndex(), TEmtfForm::PageRur);
                                 centre.rurTree()->setCurrentItem(centre.node(centre.rurTree(), 2));
                                 centre.button(u"NahledButton"_s)->click();
                                 d.reject();
                             },
                             [&](QDialog &d) {
                                 auto &preview = static_cast<print::TPrevForm &>(d);
                                 EXPECT_EQ(preview.statusPanel()->text(), QString::fromUtf16(print::kShownPageWillPrint));
                                 EXPECT_EQ(main.statusText(0), QString::fromUtf16(print::kPreparingPreview));
                                 d.reject();
                             }});
        main.Dpp1(5);
        EXPECT_EQ(script.shown, (QStringList{u"TEmtfForm"_s, u"TPrevForm"_s}));
        EXPECT_EQ(main.statusText(0), QString());
        // "Nastavení tisku ...": the printer set-up, whose choice the data set keeps when it
        // doesn't use the default printer.
        QString offered;
        services.printerSetup = [&](QWidget *, const QString &current) {
            offered = current;
            return u"Sklad"_s;
        };
        main.commandAction(app::Command::NastaveniTisku)->trigger();
        const platform::IniFile ini(main.directories().dataSetIni());
        EXPECT_EQ(offered, u"Kancelář"_s);
        EXPECT_EQ(services.currentPrinter(u"D1"_s), u"Sklad"_s);
        EXPECT_EQ(ini.readString(u"Tisk"_s, u"Tiskarna"_s), QString());
        {
            platform::IniFile writable(ini.path());
            ASSERT_TRUE(writable.writeInteger(u"Tisk"_s, u"Vychozi"_s, 0));
        }
        services.printerSetup = [](QWidget *, const QString &) { return u"sklad on usb://Sklad"_s; };
        main.commandAction(app::Command::NastaveniTisku)->trigger();
        EXPECT_EQ(platform::IniFile(ini.path()).readString(u"Tisk"_s, u"Tiskarna"_s), u"Sklad"_s);
        // The font names chosen are the program's, written when the main window closes.
        main.userSettings().typPisma = 1;
        main.close();
    }
    EXPECT_EQ(platform::IniFile(common + u"/Tervik/RUR 2018/Dph.ini"_s).readInteger(u"Dph"_s, u"TypPisma"_s, -1), 1);
    QDir::setCurrent(savedCwd);
}
