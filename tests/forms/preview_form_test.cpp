// The preview window "Náhled před tiskem": paging in normal and browse mode, the zoom box and
// the zoom kept per data set, printing with the copies of the print settings, saving as PDF.
#include "base/Directories.h"
#include "data/DataM1.h"
#include "datasets/DataSetAccess.h"
#include "engine/Table.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "print/PreviewRules.h"
#include "print/ReturnPages.h"
#include "print/forms/PrevForm.h"
#include "print/forms/TiskInfoForm.h"
#include "report/DataSource.h"
#include "report/LayoutLoader.h"
#include "report/Printing.h"
#include "report/Report.h"
#include "report/forms/PageView.h"
#include "support/test_root.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace rur;
using print::TPrevForm;

namespace {

class RecordingTarget : public report::PrintTarget {
public:
    bool print(const report::PreparedReport &, const report::PrintJob &job) override
    {
        jobs.append(job);
        return ok;
    }
    QList<report::PrintJob> jobs;
    bool ok = true;
};

class PreviewForm : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.valid());
        root.createDataSet();
        root.createDataSet(u"D2"_s);
        dirs.localDataRoot = dirs.dataRoot = root.path();
        dirs.notFound = false;
        datasets::openDataSet(dm, dirs, u"D1"_s);
        onePage = print::prepareReturnPage(dm, 1, 0);
        threePages = listOf(150);
        form = std::make_unique<TPrevForm>(dm, prompter);
        auto recorder = std::make_unique<RecordingTarget>();
        target = recorder.get();
        form->setPrintTarget(std::move(recorder));
    }

    // A list long enough for several pages.
    static report::PreparedReport listOf(int rows)
    {
        QList<QVariantMap> list;
        for (int n = 1; n <= rows; ++n)
            list.append({{u"N"_s, n}});
        report::RowListSource source(list);
        report::Report r(report::parseLayout(
            R"({"name": "Seznam", "caption": "Seznam", "bands": [
                 {"kind": "detail", "name": "D", "source": "L", "height": 20,
                  "items": [{"kind": "data", "name": "N", "left": 50, "top": 2, "width": 40, "field": "L.N"}]}]})",
            u"Seznam"_s));
        r.setDataSource(u"L"_s, &source);
        return r.prepare();
    }

    print::PreviewRequest request(const report::PreparedReport &report, const QString &dataSet = u"D1"_s)
    {
        print::PreviewRequest r;
        r.report = &report;
        r.statusText = u"Bude vytištěna zobrazená stránka."_s;
        r.dataSetIni = root.dataSet(dataSet) + dataSet + u".ini"_s;
        r.pdfFolder = scratch.path();
        return r;
    }

    // Shown as the active window, so that its keys work (the offscreen platform leaves the
    // activation with whichever window was shown last).
    void show(const print::PreviewRequest &r)
    {
        form->showRequest(r);
        QApplication::setActiveWindow(form.get());
        EXPECT_TRUE(form->isActiveWindow());
    }

    QPushButton *button(const QString &name) const { return form->button(name); }
    QStringList enabledPaging() const
    {
        QStringList out;
        for (const char16_t *name : {u"FirstButton", u"PriorButton", u"NextButton", u"LastButton"})
            if (button(QString::fromUtf16(name))->isEnabled())
                out.append(button(QString::fromUtf16(name))->text());
        return out;
    }
    void typeZoom(const QString &text)
    {
        QLineEdit *edit = form->zoomBox()->lineEdit();
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    void setCopies(int copies, bool printerCopies)
    {
        dm.Dmt->edit();
        dm.Dmt->field(u"Kop"_s).setValue(copies);
        dm.Dmt->field(u"Pk"_s).setValue(printerCopies);
        dm.Dmt->post();
    }

    rur::testing::TestRoot root;
    QTemporaryDir scratch;
    base::Directories dirs;
    data::TDM1 dm;
    platform::ScriptedPrompter prompter;
    report::PreparedReport onePage, threePages;
    std::unique_ptr<TPrevForm> form;
    RecordingTarget *target = nullptr;
};

}  // namespace

TEST_F(PreviewForm, OnePageDisablesPagingAndMorePagesTurnByButtonsAndKeys)
{
    show(request(onePage));
    EXPECT_EQ(form->windowTitle(), u"RUR - Náhled před tiskem"_s);
    EXPECT_EQ(form->pagePanel()->text(), u"Strana 1 z 1"_s);
    EXPECT_EQ(form->statusPanel()->text(), u"Bude vytištěna zobrazená stránka."_s);
    EXPECT_EQ(enabledPaging(), QStringList());
    for (const char16_t *c : {u"FirstCommand", u"PriorCommand", u"NextCommand", u"LastCommand"})
        EXPECT_FALSE(form->command(QString::fromUtf16(c))->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), button(u"PrintButton"_s));
    EXPECT_EQ(form->zoomBox()->currentText(), u"100%"_s);
    EXPECT_EQ(form->zoomBox()->toolTip(), u"Měřítko zobrazení náhledu"_s);
    EXPECT_EQ(button(u"PdfButton"_s)->toolTip(), u"Uložit jako PDF"_s);
    form->hide();

    ASSERT_EQ(threePages.pageCount(), 3);
    show(request(threePages));
    EXPECT_EQ(form->pagePanel()->text(), u"Strana 1 z 3"_s);
    EXPECT_EQ(enabledPaging(), (QStringList{u">"_s, u">|"_s}));
    QTest::mouseClick(button(u"NextButton"_s), Qt::LeftButton);
    EXPECT_EQ(form->pagePanel()->text(), u"Strana 2 z 3"_s);
    EXPECT_EQ(form->pageView()->page(), 1);
    EXPECT_EQ(enabledPaging().size(), 4);
    QTest::mouseClick(button(u"LastButton"_s), Qt::LeftButton);
    EXPECT_EQ(form->pagePanel()->text(), u"Strana 3 z 3"_s);
    EXPECT_EQ(enabledPaging(), (QStringList{u"|<"_s, u"<"_s}));
    QTest::keyClick(form.get(), Qt::Key_PageUp);
    EXPECT_EQ(form->pagePanel()->text(), u"Strana 2 z 3"_s);
    QTest::keyClick(form.get(), Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(form->pagePanel()->text(), u"Strana 1 z 3"_s);
    QTest::keyClick(form.get(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(form->pageView()->page(), 2);
    // Ctrl+Down scrolls by 16 units at the zoom; paging goes back to the top.
    QTest::keyClick(form.get(), Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(form->scrollArea()->verticalScrollBar()->value(), 16);
    QTest::keyClick(form.get(), Qt::Key_PageUp);
    EXPECT_EQ(form->scrollArea()->verticalScrollBar()->value(), 0);
}

TEST_F(PreviewForm, ZoomBoxLimitsAndFitsAndTheZoomIsKeptPerDataSet)
{
    show(request(onePage));
    const QSize full = form->pageView()->size();

    typeZoom(u"600"_s);
    EXPECT_EQ(prompter.texts(), QStringList{u"Číslo může být maximálně 500."_s});
    EXPECT_EQ(form->zoom(), 100);
    EXPECT_EQ(form->zoomBox()->currentText(), u"100%"_s);
    typeZoom(u"75"_s);
    EXPECT_EQ(form->zoom(), 75);
    EXPECT_EQ(form->zoomBox()->currentText(), u"75%"_s);
    EXPECT_NEAR(form->pageView()->width(), full.width() * 0.75, 1);
    typeZoom(u"dva"_s);  // not a number: ignored
    EXPECT_EQ(form->zoom(), 75);
    form->zoomBox()->setCurrentIndex(2);
    emit form->zoomBox()->activated(2);  // "200%" chosen from the list
    EXPECT_EQ(form->zoom(), 200);
    EXPECT_EQ(form->zoomBox()->lineEdit()->maxLength(), 4);

    QTest::mouseClick(button(u"FitWindowButton"_s), Qt::LeftButton);
    const QSize viewport = form->scrollArea()->viewport()->size();
    EXPECT_LE(form->pageView()->width(), viewport.width());
    EXPECT_LE(form->pageView()->height(), viewport.height());
    EXPECT_EQ(form->zoomBox()->currentText(), QString::number(form->zoom()) + u'%');
    QTest::mouseClick(button(u"FitWidthButton"_s), Qt::LeftButton);
    EXPECT_LE(form->pageView()->width(), form->scrollArea()->viewport()->width());
    EXPECT_GT(form->pageView()->width(), form->scrollArea()->viewport()->width() - 10);
    QTest::mouseClick(button(u"FullSizeButton"_s), Qt::LeftButton);
    EXPECT_EQ(form->zoom(), 100);
    typeZoom(u"75%"_s);
    form->hide();
    EXPECT_EQ(platform::IniFile(root.dataSet() + u"D1.ini"_s).readInteger(u"Tisk"_s, u"Nahled"_s, 0), 75);

    // The next preview of the same data set opens at 75 %, another data set at 100 %.
    form->showRequest(request(onePage));
    EXPECT_EQ(form->zoom(), 75);
    EXPECT_EQ(form->zoomBox()->currentText(), u"75%"_s);
    form->hide();
    form->showRequest(request(onePage, u"D2"_s));
    EXPECT_EQ(form->zoom(), 100);
    form->hide();
    // A stored zoom out of range opens at 100 %.
    platform::IniFile ini(root.dataSet() + u"D1.ini"_s);
    ASSERT_TRUE(ini.writeInteger(u"Tisk"_s, u"Nahled"_s, 9999));
    form->showRequest(request(onePage));
    EXPECT_EQ(form->zoom(), 100);
}

TEST_F(PreviewForm, BrowseModeMovesBetweenTheReturnPagesThroughThePrintCentre)
{
    print::BrowseState browse;
    QList<int> shown;
    QStringList panels, buttons;
    const report::PreparedReport page1 = print::prepareReturnPage(dm, 1, 0);
    const report::PreparedReport page2 = print::prepareReturnPage(dm, 2, 0);
    // What the user does in each preview: ">" on page 1, "<" on page 2, then "Zavřít".
    const QStringList clicks = {u"NextButton"_s, u"PriorButton"_s, u"CloseButton"_s};
    print::browsePages(browse, 1, [&](int page) {
        shown.append(page);
        print::PreviewRequest r = request(page == 1 ? page1 : page2);
        r.browse = &browse;
        form->showRequest(r);
        panels.append(form->pagePanel()->text());
        buttons.append(enabledPaging().join(u' '));
        EXPECT_TRUE(form->command(u"NextCommand"_s)->isEnabled());
        QTest::mouseClick(button(clicks.value(shown.size() - 1, u"CloseButton"_s)), Qt::LeftButton);
        EXPECT_FALSE(form->isVisible());
    });
    EXPECT_EQ(shown, (QList<int>{1, 2, 1}));
    EXPECT_EQ(panels, (QStringList{u"Strana 1 z 2"_s, u"Strana 2 z 2"_s, u"Strana 1 z 2"_s}));
    EXPECT_EQ(buttons, (QStringList{u"> >|"_s, u"|< <"_s, u"> >|"_s}));
    EXPECT_FALSE(browse.on);

    // Closed any other way (Esc), browsing ends on the page shown; a key pages as its button.
    shown.clear();
    print::browsePages(browse, 2, [&](int page) {
        shown.append(page);
        print::PreviewRequest r = request(page == 1 ? page1 : page2);
        r.browse = &browse;
        show(r);
        QTest::keyClick(form.get(), shown.size() == 1 ? Qt::Key_PageUp : Qt::Key_Escape);
    });
    EXPECT_EQ(shown, (QList<int>{2, 1}));
    EXPECT_EQ(browse.current, 0);
}

TEST_F(PreviewForm, PrintingFollowsTheCopyRuleAndFailuresAreReported)
{
    setCopies(3, false);
    show(request(onePage));
    QTest::mouseClick(button(u"PrintButton"_s), Qt::LeftButton);
    ASSERT_EQ(target->jobs.size(), 3);
    for (const report::PrintJob &job : target->jobs)
        EXPECT_EQ(job.copies, 1);
    EXPECT_TRUE(button(u"PrintButton"_s)->isEnabled());
    form->hide();

    setCopies(3, true);
    target->jobs.clear();
    show(request(onePage));
    QTest::keyClick(form.get(), Qt::Key_F6);
    ASSERT_EQ(target->jobs.size(), 1);
    EXPECT_EQ(target->jobs[0].copies, 3);
    EXPECT_TRUE(prompter.messages.isEmpty());

    target->ok = false;
    QTest::mouseClick(button(u"PrintButton"_s), Qt::LeftButton);
    EXPECT_EQ(prompter.texts(), QStringList{u"Tisk se nepodařilo vytvořit."_s});
    EXPECT_TRUE(button(u"PrintButton"_s)->isEnabled());

    // The information window while the preview prints.
    print::TTiskInfoForm info;
    info.TypTisku(1);
    EXPECT_EQ(info.windowTitle(), u"RUR"_s);
    EXPECT_EQ(info.text()->text(), u"Odesílám data do tiskárny ..."_s);
    EXPECT_TRUE(info.cancelButton()->isHidden());
    EXPECT_EQ(info.height(), 105);
}

TEST_F(PreviewForm, PdfButtonSavesTheShownReport)
{
    show(request(onePage));
    // Cancelled: nothing written.
    QTest::mouseClick(button(u"PdfButton"_s), Qt::LeftButton);
    ASSERT_EQ(prompter.suggestedFiles, QStringList{scratch.filePath(u"RUR strana 1.pdf"_s)});
    EXPECT_TRUE(prompter.errors().isEmpty());

    const QString path = scratch.filePath(u"priznani"_s);
    prompter.fileAnswers = {path};
    QTest::mouseClick(button(u"PdfButton"_s), Qt::LeftButton);
    QFile pdf(path + u".pdf"_s);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.readAll().startsWith("%PDF-"));

    const QString blocked = path + u".pdf/strana.pdf"_s;
    prompter.fileAnswers = {blocked};
    QTest::mouseClick(button(u"PdfButton"_s), Qt::LeftButton);
    EXPECT_EQ(prompter.errors(), QStringList{u"Soubor "_s + blocked + u" nelze vytvořit."_s});
}
