// The print centre "Tisk": its modes and the page it remembers, the trees and what their nodes
// allow, the print range and the copy rule counted as print jobs (one printed into a real
// PDF), page browsing, F6, a failed printout, and the printer and font settings of the data set.
#include "forms/print_centre_fixture.h"

using namespace print_centre;

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
    // The frame at the screen's left edge, whatever frame the windows shown before had.
    ui::placeFrameAt(w, QPoint(0, 40));
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
