// The main window's start: directories, version check, geometry and settings, first
// activation and close.
#include "app/forms/HelpForm.h"
#include "app/forms/HelpService.h"
#include "app/forms/MainForm.h"
#include "data/Templates.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "support/printers.h"
#include "support/test_root.h"
#include "ui/forms/WindowPlacer.h"

#include <QAction>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMenuBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <utility>

using namespace Qt::StringLiterals;
using rur::app::TMainForm;
using rur::platform::IniFile;
using rur::platform::ScriptedPrompter;

namespace {

// A program directory and a common data folder; the data root, when a test installs it,
// is Tervik/RUR 2018/ under the common folder. The window changes the current directory;
// it is restored after each test.
class MainForm : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp_.isValid());
        ASSERT_TRUE(QDir().mkpath(program()));
        ASSERT_TRUE(QDir().mkpath(common()));
    }
    void TearDown() override { QDir::setCurrent(savedCwd_); }

    QString program() const { return tmp_.path() + u"/prg/"_s; }
    QString common() const { return tmp_.path() + u"/common"_s; }
    QString root() const { return common() + u"/Tervik/RUR 2018/"_s; }
    void install() const { rur::data::installDataRoot(root()); }
    IniFile dph() const { return IniFile(root() + u"Dph.ini"_s); }
    int read(const QString &key) const { return dph().readInteger(u"Dph"_s, key, -99); }
    void writeDph(std::initializer_list<std::pair<const char16_t *, int>> values) const
    {
        IniFile ini = dph();
        for (const auto &[key, value] : values)
            ASSERT_TRUE(ini.writeInteger(u"Dph"_s, QString::fromUtf16(key), value));
    }

    std::unique_ptr<TMainForm> create(QSize screen = {1024, 768})
    {
        const TMainForm::Environment env{tmp_.path() + u"/prg"_s, common(), tmp_.path() + u"/docs"_s, screen};
        auto form = std::make_unique<TMainForm>(env, prompter_);
        form->selectionRunner = [] { return -1; };  // the selection is tested on its own
        return form;
    }
    // Shows the window and waits for its first activation.
    static void showAndActivate(TMainForm &form)
    {
        form.show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return form.firstActivationDone(); }));
    }

    QTemporaryDir tmp_;
    const QString savedCwd_ = QDir::currentPath();
    ScriptedPrompter prompter_;
};

// The first start from the desktop menu: no data root yet, so it is created where
// --install-data puts it and the selection follows.
TEST_F(MainForm, FirstStartCreatesDataRootAndGoesOnToSelection)
{
    auto form = create();
    bool selectionShown = false;
    form->selectionRunner = [&] {
        selectionShown = true;
        return -1;
    };
    EXPECT_FALSE(form->directories().notFound);
    EXPECT_EQ(form->directories().dataRoot, root());
    EXPECT_EQ(form->directories().dataVersion, 1700);
    EXPECT_TRUE(QFile::exists(root() + u"Data.DB"_s));
    showAndActivate(*form);
    EXPECT_TRUE(selectionShown);
    EXPECT_TRUE(prompter_.messages.isEmpty()) << prompter_.messages.first().text.toStdString();
}

// A data root that can't be created (here a file stands where its folder should be) still
// ends the start with the message, and nothing is written.
TEST_F(MainForm, WithoutDataRootClosesAndWritesNothing)
{
    {
        QFile blocker(common() + u"/Tervik"_s);
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    auto form = create({640, 480});
    EXPECT_EQ(form->windowTitle(), u"RUR 17.00"_s);
    EXPECT_TRUE(form->directories().notFound);
    EXPECT_EQ(form->size(), QSize(640, 453));
    EXPECT_EQ(ui::framePlace(*form), QPoint(0, 0));
    EXPECT_TRUE(prompter_.messages.isEmpty());

    showAndActivate(*form);
    EXPECT_EQ(prompter_.errors(),
              QStringList{u"Chyba při zjišťování adresáře s daty.\nNainstalujte program znovu."_s});
    EXPECT_FALSE(form->isVisible());
    form->FormActivate();  // runs once only
    EXPECT_EQ(prompter_.messages.size(), 1);

    QDirIterator files(tmp_.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    ASSERT_TRUE(files.hasNext());
    EXPECT_EQ(files.next(), common() + u"/Tervik"_s);
    EXPECT_FALSE(files.hasNext()) << files.next().toStdString();
}

TEST_F(MainForm, OlderDataVersionIsReportedAtCreation)
{
    install();
    ASSERT_TRUE(IniFile(root() + u"Data/Verze.ini"_s).writeInteger(u"Verze"_s, u"Data"_s, 1600));
    auto form = create();
    EXPECT_FALSE(form->directories().notFound);
    EXPECT_EQ(form->directories().dataVersion, 1600);
    EXPECT_EQ(prompter_.errors(),
              QStringList{u"Máte novější verzi programu než adresář Data.\nNainstalujte program znovu."_s});

    // The run goes on.
    showAndActivate(*form);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(prompter_.messages.size(), 1);
    form->close();
}

TEST_F(MainForm, StoredGeometryAndSettingsApplied)
{
    install();
    writeDph({{u"Top", 50}, {u"Left", 60}, {u"Width", 700}, {u"Height", 500}, {u"Maximized", 0}, {u"TypPisma", 1},
              {u"Kodovani", 2}});
    auto form = create();
    EXPECT_TRUE(prompter_.messages.isEmpty());
    EXPECT_FALSE(form->isMaximized());
    EXPECT_EQ(ui::framePlace(*form), QPoint(60, 50));
    EXPECT_EQ(form->size(), QSize(700, 500));
    EXPECT_EQ(form->userSettings().typPisma, 1);
    EXPECT_EQ(form->userSettings().kodovani, 2);
}

TEST_F(MainForm, NarrowScreenWithoutStoredStateStartsMaximized)
{
    install();
    EXPECT_TRUE(create({800, 600})->windowState().testFlag(Qt::WindowMaximized));
    auto wide = create({1024, 768});
    EXPECT_FALSE(wide->windowState().testFlag(Qt::WindowMaximized));
    EXPECT_EQ(wide->size(), QSize(800, 573));
}

TEST_F(MainForm, CloseWritesNormalGeometry)
{
    install();
    auto form = create();
    showAndActivate(*form);
    form->resize(720, 510);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->size() == QSize(720, 510); }));
    const QPoint position = form->pos();
    EXPECT_TRUE(form->close());

    EXPECT_EQ(read(u"Maximized"_s), 0);
    EXPECT_EQ(read(u"Width"_s), 720);
    EXPECT_EQ(read(u"Height"_s), 510);
    EXPECT_EQ(read(u"Left"_s), position.x());
    EXPECT_EQ(read(u"Top"_s), position.y());
    EXPECT_EQ(read(u"TypPisma"_s), 0);
    EXPECT_EQ(read(u"Kodovani"_s), 0);
    EXPECT_TRUE(prompter_.messages.isEmpty());

    // The next start comes back to the same place.
    auto again = create();
    EXPECT_EQ(again->size(), QSize(720, 510));
    EXPECT_EQ(ui::framePlace(*again), position);
}

TEST_F(MainForm, CloseMaximizedKeepsNormalGeometry)
{
    install();
    writeDph({{u"Top", 10}, {u"Left", 20}, {u"Width", 700}, {u"Height", 500}, {u"Maximized", 0}});
    auto form = create();
    showAndActivate(*form);
    form->showMaximized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->isMaximized(); }));
    EXPECT_TRUE(form->close());

    EXPECT_EQ(read(u"Maximized"_s), 1);
    EXPECT_EQ(read(u"Top"_s), 10);
    EXPECT_EQ(read(u"Left"_s), 20);
    EXPECT_EQ(read(u"Width"_s), 700);
    EXPECT_EQ(read(u"Height"_s), 500);
}

TEST_F(MainForm, UnwritableSettingsAreReported)
{
    install();
    auto form = create();
    showAndActivate(*form);
    ASSERT_TRUE(QFile::remove(root() + u"Dph.ini"_s));
    ASSERT_TRUE(QDir().mkpath(root() + u"Dph.ini"_s));
    form->close();
    EXPECT_EQ(prompter_.errors(),
              QStringList{u"Nemáte oprávnění zapisovat do adresáře s daty.\nNainstalujte program znovu."_s});
    EXPECT_TRUE(QFile::exists(root() + u"Verze.txt"_s));
}

TEST_F(MainForm, FirstActivationUsesNetworkRoot)
{
    install();
    const rur::testing::TestRoot network;
    ASSERT_TRUE(network.valid());
    ASSERT_TRUE(IniFile(network.path() + u"Data/Verze.ini"_s).writeInteger(u"Verze"_s, u"Data"_s, 1600));
    IniFile ini = dph();
    ASSERT_TRUE(ini.writeString(u"Dph"_s, u"Net"_s, u"1"_s));
    ASSERT_TRUE(ini.writeString(u"Dph"_s, u"Path"_s, network.path()));

    auto form = create();
    EXPECT_EQ(form->directories().dataRoot, root());
    showAndActivate(*form);
    EXPECT_TRUE(prompter_.messages.isEmpty());
    EXPECT_EQ(form->directories().dataRoot, network.path());
    EXPECT_EQ(form->directories().localDataRoot, root());
    EXPECT_EQ(form->dataModule().dataRoot(), network.path());
    EXPECT_EQ(IniFile(network.path() + u"Data/Verze.ini"_s).readInteger(u"Verze"_s, u"Data"_s, 0), 1700);
    form->close();
}

TEST_F(MainForm, UnreachableNetworkRootFallsBackToLocal)
{
    install();
    const QString path = tmp_.path() + u"/net/"_s;
    IniFile ini = dph();
    ASSERT_TRUE(ini.writeString(u"Dph"_s, u"Net"_s, u"1"_s));
    ASSERT_TRUE(ini.writeString(u"Dph"_s, u"Path"_s, path));

    auto form = create();
    showAndActivate(*form);
    EXPECT_EQ(prompter_.errors(),
              QStringList{u"Adresář "_s + path + u"\nneexistuje, nebo není dostupný na síťové jednotce."_s});
    EXPECT_EQ(form->directories().dataRoot, root());
    EXPECT_TRUE(form->isVisible());
    form->close();
}

TEST_F(MainForm, HintsGoToFirstPanelAndCaptionFollowsDataModule)
{
    install();
    auto form = create();
    QStatusTipEvent tip(u"Nápověda k programu"_s);
    QCoreApplication::sendEvent(form.get(), &tip);
    EXPECT_EQ(form->statusText(0), u"Nápověda k programu"_s);

    // A hint of a control reaches the window through its parents.
    QStatusTipEvent childTip(u"Ukončení programu"_s);
    QCoreApplication::sendEvent(form->menuBar(), &childTip);
    EXPECT_EQ(form->statusText(0), u"Ukončení programu"_s);
    EXPECT_EQ(form->statusBar()->currentMessage(), QString());
    EXPECT_EQ(form->statusText(1), QString());

    rur::data::StatusDisplay &display = *form;
    display.setStatusText(2, u"EDIT"_s);
    display.setStatusText(7, u"mimo"_s);
    EXPECT_EQ(form->statusText(2), u"EDIT"_s);
    EXPECT_EQ(form->statusText(7), QString());
    display.setCaption(u"RUR 17.00 - Firma s.r.o."_s);
    EXPECT_EQ(form->windowTitle(), u"RUR 17.00 - Firma s.r.o."_s);
}

}  // namespace

TEST_F(MainForm, F1OpensTheMainWindowsTopic)
{
    install();
    auto form = create();
    showAndActivate(*form);
    auto *help = form->findChild<rur::app::HelpService *>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_NE(help, nullptr);
    QTest::keyClick(form.get(), Qt::Key_F1);
    ASSERT_NE(help->window(), nullptr);
    EXPECT_EQ(help->window()->currentContext(), 44);
    EXPECT_EQ(help->topics().topic(44).title, u"Hlavní okno"_s);
    // Menu items whose hint promises "(F1)" carry their topic.
    using rur::app::Command;
    const std::pair<Command, int> items[] = {{Command::Priznani1, 12}, {Command::Priznani4, 16}, {Command::Adresar, 205},
                                             {Command::Obnoveni, 211}, {Command::Konec, 0}};
    for (const auto &[command, context] : items) {
        QAction *action = form->commandAction(command);
        EXPECT_EQ(action->property(rur::app::HelpService::kActionContext).toInt(), context) << action->text().toStdString();
        EXPECT_EQ(action->statusTip().endsWith(u"(F1)"_s), context != 0) << action->text().toStdString();
    }
    form->close();
}
