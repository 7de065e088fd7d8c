// The working area of the main window on a real window system: its labels open their windows,
// and at the smallest and a large window size every text is whole and inside the area.
#include "app/forms/MainForm.h"
#include "app/forms/WorkArea.h"
#include "data/Templates.h"
#include "datasets/Catalogue.h"
#include "datasets/forms/Auto1Form.h"
#include "forms/window_script.h"
#include "platform/Prompter.h"

#include <QDir>
#include <QFontMetrics>
#include <QLabel>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace rur;
using app::Command;

namespace {

class WorkAreaOnScreen : public ::testing::Test {
protected:
    void SetUp() override
    {
        data::installDataRoot(tmp.path() + u"/common/Tervik/RUR 2018/"_s);
        const app::TMainForm::Environment env{tmp.path() + u"/prg"_s, tmp.path() + u"/common"_s,
                                              tmp.path() + u"/docs"_s, QSize(1024, 768)};
        form = std::make_unique<app::TMainForm>(env, prompter);
        form->catalogue()->beginNew();
        ASSERT_TRUE(form->catalogue()->finishNew(u"Firma"_s));
        form->selectionRunner = [] { return int(datasets::TAuto1Form::ResultOpen); };
        form->VyberDanoveho();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        ASSERT_TRUE(QTest::qWaitFor([&] { return area().showsOverview(); }));
    }
    void TearDown() override
    {
        form.reset();
        QDir::setCurrent(savedCwd);
    }
    app::WorkArea &area() { return *form->workArea(); }
    void resizeTo(QSize size)
    {
        form->resize(size);
        ASSERT_TRUE(QTest::qWaitFor([&] { return form->size() == size; }, 3000))
            << form->width() << "x" << form->height();
        QTest::qWait(100);
    }

    QTemporaryDir tmp;
    platform::ScriptedPrompter prompter;
    std::unique_ptr<app::TMainForm> form;
    const QString savedCwd = QDir::currentPath();
};

// Every label shown lies inside the visible part of the area and has the room its text needs
// in its own font: its width for a single line, its height for a wrapped one.
void expectWholeTexts(app::WorkArea &area, const char *state)
{
    SCOPED_TRACE(state);
    const QScrollArea *scroll = area.findChild<QScrollArea *>();
    ASSERT_NE(scroll, nullptr);
    const QRect visible = scroll->viewport()->rect();
    int shown = 0;
    for (const QLabel *label : area.findChildren<QLabel *>()) {
        if (!label->isVisible() || label->text().isEmpty())
            continue;
        ++shown;
        SCOPED_TRACE(label->text().toStdString());
        const QRect placed(label->mapTo(scroll->viewport(), QPoint(0, 0)), label->size());
        EXPECT_TRUE(visible.contains(placed)) << placed.x() << "," << placed.y() << " " << placed.width() << "x"
                                              << placed.height() << " outside " << visible.width() << "x"
                                              << visible.height();
        const QRect room = label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(),
                                                          -label->margin());
        // Laid out from the top: centred in a tall box, the rectangle would gain a rounding pixel.
        const int flags = (label->wordWrap() ? int(Qt::TextWordWrap) : 0) | int(Qt::AlignTop)
                          | int(label->alignment() & Qt::AlignHorizontal_Mask);
        const QRect needed = QFontMetrics(label->font()).boundingRect(QRect(0, 0, room.width(), 100000), flags, label->text());
        EXPECT_LE(needed.width(), room.width());
        EXPECT_LE(needed.height(), room.height());
    }
    EXPECT_GE(shown, 4);
}

TEST_F(WorkAreaOnScreen, LabelsOpenWhatTheirMenuItemsOpen)
{
    const struct {
        Command command;
        const char16_t *window;
    } roads[] = {
        {Command::UdajeOPoplatnikovi, u"TEprpForm"}, {Command::Priznani1, u"TEtab1Form"},
        {Command::Priznani2, u"TEtab4Form"},         {Command::Priznani3, u"TEtab2Form"},
        {Command::Priznani4, u"TEtab3Form"},         {Command::Kontrola, u"TReturnCheckForm"},
        {Command::TiskRur, u"TEmtfForm"},            {Command::Zalohovani, u"TExdForm"},
    };
    for (const auto &road : roads) {
        app::RoadLabel *label = area().roadLabel(road.command);
        ASSERT_NE(label, nullptr) << QString::fromUtf16(road.window).toStdString();
        SCOPED_TRACE(label->text().toStdString());
        rur::testing::WindowScript script({});
        QTest::mouseClick(label, Qt::LeftButton);
        EXPECT_EQ(script.shown, QStringList{QString::fromUtf16(road.window)});
    }
    // Saving asks first, as the menu item does.
    prompter.messages.clear();
    prompter.answers = {platform::Prompter::Answer::No};
    QTest::mouseClick(area().roadLabel(Command::UlozeniRur), Qt::LeftButton);
    EXPECT_EQ(prompter.texts(), QStringList{u"Opravdu uložit RUR za leden ?"_s});
}

TEST_F(WorkAreaOnScreen, NothingIsCutAtTheSmallestAndALargeSize)
{
    for (const QSize size : {QSize(640, 480), QSize(1920, 1080)}) {
        SCOPED_TRACE(size.width());
        resizeTo(size);
        expectWholeTexts(area(), "overview");
        area().showNoDataSet();
        QTest::qWait(50);
        expectWholeTexts(area(), "no data set");
        form->refreshWorkArea();
    }
}

}  // namespace
