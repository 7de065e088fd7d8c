#include "app/forms/HelpForm.h"
#include "app/forms/HelpService.h"
#include "app/forms/SplashForm.h"
#include "backup/forms/Exd2Form.h"
#include "base/Directories.h"
#include "support/printers.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>
#include <ostream>

using namespace Qt::StringLiterals;
using rur::app::HelpService;
using rur::app::THelpForm;

namespace {

class HelpWindow : public ::testing::Test {
protected:
    template <typename W>
    W *child(const QString &name) const
    {
        return service_.window() ? service_.window()->findChild<W *>(name) : nullptr;
    }
    QString pageText() const { return child<QTextBrowser>(u"browser"_s)->toPlainText(); }
    QString selected(const QString &list) const
    {
        const QListWidgetItem *item = child<QListWidget>(list)->currentItem();
        return item ? item->text() : u"<none>"_s;
    }

    HelpService service_;  // the help compiled into the program
};

TEST_F(HelpWindow, EveryTopicIsCompiledIntoTheProgram)
{
    ASSERT_TRUE(service_.topics().isLoaded());
    EXPECT_TRUE(service_.topics().problems().isEmpty());
    for (const auto &topic : service_.topics().topics()) {
        // The notice that replaces a page that can't be read (the help's own page about the
        // help window quotes that message in bold, not as the notice's paragraph).
        EXPECT_FALSE(service_.topics().html(topic.context).contains(u"<p>Stránku nápovědy se nepodařilo načíst.</p>"_s))
            << topic.file.toStdString();
    }
}

TEST_F(HelpWindow, ContextRequestShowsItsTopic)
{
    service_.showContext(4);
    THelpForm *window = service_.window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isWindow());
    EXPECT_EQ(window->windowTitle(), u"RUR - nápověda"_s);
    EXPECT_EQ(window->currentContext(), 4);
    EXPECT_TRUE(pageText().startsWith(u"Údaje o poplatníkovi"_s)) << pageText().left(80).toStdString();
    EXPECT_TRUE(pageText().contains(u"Zdaňovací období"_s));
    EXPECT_EQ(selected(u"contents"_s), u"Údaje o poplatníkovi"_s);

    // Further requests, pop-up ones included, reuse the window.
    service_.showContext(12, true);
    EXPECT_EQ(service_.window(), window);
    EXPECT_TRUE(pageText().startsWith(u"1. Zdanitelná plnění"_s));
}

TEST_F(HelpWindow, UnknownNumberAndOtherRequestsShowTheDefaultTopic)
{
    service_.showContext(4242);
    EXPECT_EQ(service_.window()->currentContext(), 1);
    EXPECT_TRUE(pageText().startsWith(u"Návod k programu"_s));

    service_.showContext(5);
    service_.showDefault();
    EXPECT_EQ(service_.window()->currentContext(), 1);
}

TEST_F(HelpWindow, KeywordRequestOpensTheIndexAtTheKeyword)
{
    service_.showKeyword(u"zaloh"_s);
    EXPECT_EQ(child<QTabWidget>(u"tabs"_s)->currentIndex(), 1);
    EXPECT_EQ(child<QLineEdit>(u"search"_s)->text(), u"zaloh"_s);
    EXPECT_EQ(selected(u"index"_s), u"Zálohování dat"_s);
    EXPECT_EQ(service_.window()->currentContext(), 211);

    // No match: the text stays, nothing is selected, the page is kept.
    service_.showKeyword(u"qqq"_s);
    EXPECT_EQ(child<QLineEdit>(u"search"_s)->text(), u"qqq"_s);
    EXPECT_EQ(selected(u"index"_s), u"<none>"_s);
    EXPECT_EQ(service_.window()->currentContext(), 211);
}

TEST_F(HelpWindow, TypingInTheIndexSelectsAndEnterShows)
{
    service_.showContext(1);
    auto *search = child<QLineEdit>(u"search"_s);
    child<QTabWidget>(u"tabs"_s)->setCurrentIndex(1);
    QTest::keyClicks(search, u"sazby"_s);
    EXPECT_EQ(selected(u"index"_s), u"Sazby RUR"_s);
    EXPECT_EQ(service_.window()->currentContext(), 1);  // typing alone keeps the page

    QTest::keyClick(search, Qt::Key_Down);  // arrows walk the list from the search box
    const QString next = selected(u"index"_s);
    EXPECT_NE(next, u"Sazby RUR"_s);
    QTest::keyClick(search, Qt::Key_Up);
    QTest::keyClick(search, Qt::Key_Return);
    EXPECT_EQ(service_.window()->currentContext(), 5);
}

TEST_F(HelpWindow, LinksStayInTheHelpAndBackReturns)
{
    service_.showContext(1);
    auto *browser = child<QTextBrowser>(u"browser"_s);
    auto *back = child<QPushButton>(u"back"_s);
    ASSERT_NE(back, nullptr);
    EXPECT_FALSE(back->isEnabled());

    emit browser->anchorClicked(QUrl(u"4.html"_s));
    EXPECT_EQ(service_.window()->currentContext(), 4);
    EXPECT_EQ(selected(u"contents"_s), u"Údaje o poplatníkovi"_s);
    ASSERT_TRUE(back->isEnabled());

    QTest::mouseClick(back, Qt::LeftButton);
    EXPECT_EQ(service_.window()->currentContext(), 1);
    EXPECT_FALSE(back->isEnabled());
}

TEST_F(HelpWindow, QuitClosesTheWindowAndLaterRequestsOpenANewOne)
{
    service_.showContext(2);
    QPointer<THelpForm> first = service_.window();
    service_.quit();
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(service_.window(), nullptr);

    service_.showContext(3);
    ASSERT_NE(service_.window(), nullptr);
    EXPECT_TRUE(service_.window()->isVisible());
    EXPECT_EQ(service_.window()->currentContext(), 3);
}

TEST_F(HelpWindow, ClosedByTheUserTheWindowComesBackOnTheNextRequest)
{
    service_.showContext(2);
    QPointer<THelpForm> window = service_.window();
    QTest::keyClick(window, Qt::Key_Escape);
    THelpForm *const form = window.data();
    ASSERT_NE(form, nullptr);
    EXPECT_FALSE(form->isVisible());

    service_.showContext(5);
    ASSERT_EQ(service_.window(), window.data());
    EXPECT_TRUE(form->isVisible());
}

TEST(HelpServiceLifetime, DestroyingTheServiceClosesItsWindow)
{
    QPointer<THelpForm> window;
    {
        HelpService service;
        service.showContext(1);
        window = service.window();
        ASSERT_FALSE(window.isNull());
    }
    EXPECT_TRUE(window.isNull());
}

TEST(SplashWindow, FramelessCentredWithWaitCursorWhileShown)
{
    ASSERT_EQ(QApplication::overrideCursor(), nullptr);
    {
        rur::app::TSplashForm splash;
        EXPECT_TRUE(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
        EXPECT_TRUE(splash.windowFlags().testFlag(Qt::SplashScreen));
        EXPECT_EQ(splash.windowTitle(), u"RUR"_s);

        splash.showAndRepaint();
        EXPECT_TRUE(splash.isVisible());
        const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
        EXPECT_LE((splash.frameGeometry().center() - centre).manhattanLength(), 2);
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);

        splash.hide();
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        splash.showAndRepaint();
        EXPECT_NE(QApplication::overrideCursor(), nullptr);
    }
    // Destroyed while shown: the cursor is back to normal and not restored twice.
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace

// Help asked for from a modal window must stay usable: it opens as that window's child.
TEST_F(HelpWindow, HelpFromAModalWindowOpensAsItsChild)
{
    QDialog dialog;
    bool checked = false;
    QTimer::singleShot(0, &dialog, [&] {
        service_.showContext(4);
        ASSERT_NE(service_.window(), nullptr);
        EXPECT_EQ(service_.window()->parentWidget(), &dialog);
        EXPECT_TRUE(service_.window()->isWindow());
        checked = true;
        dialog.accept();
    });
    dialog.exec();
    EXPECT_TRUE(checked);
    // Asked for again outside the dialog, help is a top-level window once more.
    service_.showContext(1);
    ASSERT_NE(service_.window(), nullptr);
    EXPECT_EQ(service_.window()->parentWidget(), nullptr);
}

// F1 in any window of the program opens that window's own topic, also from a control inside
// it or from an unlisted dialog that belongs to it; elsewhere F1 is left alone.
TEST_F(HelpWindow, F1InAnyWindowOpensItsTopic)
{
    service_.answerF1Everywhere();
    rur::base::Directories dirs;
    rur::backup::TExd2Form folders(dirs, 1024);
    folders.show();
    QTest::keyClick(&folders, Qt::Key_F1, Qt::ShiftModifier);
    EXPECT_EQ(service_.window(), nullptr);
    QTest::keyClick(&folders, Qt::Key_F1);
    ASSERT_NE(service_.window(), nullptr);
    EXPECT_EQ(service_.window()->currentContext(), 39);
    EXPECT_TRUE(pageText().startsWith(u"Vlastní výběr adresáře"_s)) << pageText().toStdString();

    // A control in a plain dialog of that window.
    QDialog inner(&folders);
    auto *edit = new QLineEdit(&inner);
    inner.show();
    service_.showContext(1);
    QTest::keyClick(edit, Qt::Key_F1);
    EXPECT_EQ(service_.window()->currentContext(), 39);

    // A highlighted menu item with a topic of its own, and one without.
    QMenu menu(&folders);
    QAction *withTopic = menu.addAction(u"1. Zdanitelná plnění"_s);
    withTopic->setProperty(HelpService::kActionContext, 12);
    QAction *plain = menu.addAction(u"Konec"_s);
    menu.popup(QPoint(10, 10));
    menu.setActiveAction(withTopic);
    QTest::keyClick(&menu, Qt::Key_F1);
    EXPECT_EQ(service_.window()->currentContext(), 12);
    menu.setActiveAction(plain);
    QTest::keyClick(&menu, Qt::Key_F1);
    EXPECT_EQ(service_.window()->currentContext(), 39);
    menu.hide();

    // In the help window itself: how to use the help.
    QTest::keyClick(child<QTextBrowser>(u"browser"_s), Qt::Key_F1);
    EXPECT_EQ(service_.window()->currentContext(), 31);

    // A window that is not the program's: F1 reaches it untouched.
    service_.showContext(1);
    QDialog foreign;
    auto *foreignEdit = new QLineEdit(&foreign);
    foreign.show();
    QTest::keyClick(foreignEdit, Qt::Key_F1);
    EXPECT_EQ(service_.window()->currentContext(), 1);
}
