// What the window system shows: titles as the window manager reads them, where windows land
// with a real frame, and that they stay on a 1024x768 screen.
#include "app/forms/HelpForm.h"
#include "app/forms/HelpService.h"
#include "app/forms/MainForm.h"
#include "data/DataM1.h"
#include "data/Templates.h"
#include "datasets/Catalogue.h"
#include "datasets/forms/Auto1Form.h"
#include "engine/Table.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "support/printers.h"
#include "vat/forms/EprpForm.h"
#include "vat/forms/ReturnEntryForm.h"
#include "x11/x11_support.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>
#include <ostream>

using namespace Qt::StringLiterals;
using namespace rur;

namespace {

using rur::testing::frameRect;
using rur::testing::showFramed;
using rur::testing::wmTitle;

using WindowSystem = rur::testing::OpenedDataSet;

TEST_F(WindowSystem, TitlesAreExactlyTheCaptions)
{
    showFramed(*form);
    // The new data set's taxpayer has no name yet: the title names the data set.
    EXPECT_EQ(wmTitle(*form), u"RUR 17.00 - Firma"_s);

    auto *selection = form->findChild<datasets::TAuto1Form *>();
    ASSERT_TRUE(selection);
    QTimer::singleShot(0, selection, [&] {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(selection));
        QTest::qWait(100);
        EXPECT_EQ(wmTitle(*selection), u"RUR 17.00 - výběr"_s);
        selection->reject();
    });
    selection->execSelection();

    vat::TEtab1Form window(ctx(), form.get());
    showFramed(window);
    EXPECT_EQ(wmTitle(window), u"1. Zdanitelná plnění - leden"_s);
}

TEST_F(WindowSystem, AReopenedWindowStandsWhereItStood)
{
    showFramed(*form);
    QPoint first;
    for (int i = 0; i < 10; ++i) {
        vat::TEtab1Form window(ctx(), form.get());
        showFramed(window);
        if (i == 0)
            first = frameRect(window).topLeft();
        EXPECT_EQ(frameRect(window).topLeft(), first) << "opening " << i + 1;
        EXPECT_TRUE(window.screen()->availableGeometry().contains(frameRect(window))) << "opening " << i + 1;

        window.reject();
    }
    // The stored place is the frame's corner as the screen shows it, even when the toolkit
    // has not learnt the frame of the window (which happens on a busy machine).
    const platform::IniFile ini(form->directories().dataSetIni());
    EXPECT_EQ(ini.readInteger(u"D1"_s, u"ZdanitelnaPlneniTop"_s, -1), first.y());
    EXPECT_EQ(ini.readInteger(u"D1"_s, u"ZdanitelnaPlneniLeft"_s, -1), first.x());
}

TEST_F(WindowSystem, WindowsStayOnTheScreen)
{
    showFramed(*form);
    const QRect screen = form->screen()->availableGeometry();

    // A place stored on a larger screen is pulled back onto this one.
    {
        platform::IniFile ini(form->directories().dataSetIni());
        ASSERT_TRUE(ini.writeInteger(u"D1"_s, u"ZdanitelnaPlneniTop"_s, 900));
        ASSERT_TRUE(ini.writeInteger(u"D1"_s, u"ZdanitelnaPlneniLeft"_s, 1500));
    }
    {
        vat::TEtab1Form window(ctx(), form.get());
        showFramed(window);
        EXPECT_TRUE(QTest::qWaitFor([&] { return screen.contains(window.frameGeometry()); }, 1000))
            << window.frameGeometry().x() << "," << window.frameGeometry().y();
        window.reject();
    }

    // The taxpayer window at its default place, and the help window.
    {
        vat::TEprpForm window(ctx(), form.get());
        showFramed(window);
        EXPECT_TRUE(QTest::qWaitFor([&] { return screen.contains(window.frameGeometry()); }, 1000));
        window.reject();
    }
    app::HelpService help;
    help.showDefault();
    ASSERT_TRUE(help.window());
    showFramed(*help.window());
    const QRect h = help.window()->frameGeometry();
    EXPECT_TRUE(screen.contains(h)) << h.x() << "," << h.y() << " " << h.width() << "x" << h.height();
}

}  // namespace

namespace {

TEST_F(WindowSystem, TheMainWindowReopensWhereItWasClosed)
{
    form->move(137, 91);
    showFramed(*form);
    const QPoint placed = form->frameGeometry().topLeft();
    form->close();
    form.reset();
    const app::TMainForm::Environment env{tmp.path() + u"/prg"_s, tmp.path() + u"/common"_s,
                                          tmp.path() + u"/docs"_s, QSize(1024, 768)};
    for (int i = 0; i < 3; ++i) {
        app::TMainForm again(env, prompter);
        again.selectionRunner = [] { return -1; };
        showFramed(again);
        EXPECT_EQ(again.frameGeometry().topLeft(), placed) << "start " << i + 1;
        again.close();
    }
}

}  // namespace
