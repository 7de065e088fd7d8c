// The data-set selection and the main window's menus around it.
#include "app/MainMenu.h"
#include "app/forms/MainForm.h"
#include "data/Templates.h"
#include "datasets/Catalogue.h"
#include "datasets/forms/Auto1Form.h"
#include "datasets/forms/CatalogueDialogs.h"
#include "platform/Prompter.h"
#include "support/test_root.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace rur;
using app::Command;
using app::TMainForm;

namespace {

// Runs a step on the next modal dialog once it is shown.
template <typename Dialog>
void onNextDialog(std::function<void(Dialog &)> step)
{
    QTimer::singleShot(0, qApp, [step] {
        auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
        if (!dialog) {
            QTimer::singleShot(20, qApp, [step] { onNextDialog<Dialog>(step); });
            return;
        }
        step(*dialog);
    });
}

class SelectionForm : public ::testing::Test {
protected:
    void SetUp() override
    {
        dirs.localDataRoot = dirs.dataRoot = root.path();
        dirs.notFound = false;
        catalogue = std::make_unique<datasets::Catalogue>(dirs, prompter);
        catalogue->prepare();
        form = std::make_unique<datasets::TAuto1Form>(*catalogue, prompter);
    }
    void TearDown() override { QDir::setCurrent(savedCwd); }

    rur::testing::TestRoot root;
    base::Directories dirs;
    platform::ScriptedPrompter prompter;
    std::unique_ptr<datasets::Catalogue> catalogue;
    std::unique_ptr<datasets::TAuto1Form> form;
    const QString savedCwd = QDir::currentPath();
};

}  // namespace

TEST_F(SelectionForm, CaptionButtonsAndHints)
{
    EXPECT_EQ(form->windowTitle(), u"RUR 17.00 - výběr"_s);
    const std::pair<const char16_t *, const char16_t *> buttons[] = {
        {u"OtevritButton", u"Otevře vybrané RUR"},   {u"NazevButton", u"Název RUR"},
        {u"NoveButton", u"Vytvoření nového RUR"},    {u"SmazatButton", u"Smazání vybraného RUR"},
        {u"HesloButton", u"Možnost zadat heslo pro RUR"}, {u"KonecButton", u"Ukončí aplikaci"}};
    for (const auto &[name, hint] : buttons) {
        QPushButton *b = form->findChild<QPushButton *>(QString::fromUtf16(name));
        ASSERT_NE(b, nullptr) << QString::fromUtf16(name).toStdString();
        EXPECT_EQ(b->statusTip(), QString::fromUtf16(hint));
    }
    EXPECT_TRUE(form->button(u"OtevritButton"_s)->isDefault());
    EXPECT_EQ(form->grid()->statusTip(), u"Změna pořadí - pravé tlačítko myši"_s);
    EXPECT_EQ(form->showLastUsed()->text(), u"Zobrazovat"_s);
}

TEST_F(SelectionForm, TheNameTakesTheSpareWidth)
{
    const QString longName = u"Stavební družstvo XY"_s;  // the 20 characters a name may have
    catalogue->beginNew();
    ASSERT_TRUE(catalogue->finishNew(longName));
    onNextDialog<datasets::TAuto1Form>([&](datasets::TAuto1Form &s) {
        const QHeaderView *header = s.grid()->horizontalHeader();
        EXPECT_GE(header->sectionSize(1), s.grid()->fontMetrics().horizontalAdvance(longName));
        EXPECT_GT(header->sectionSize(1), header->sectionSize(2));
        EXPECT_FALSE(s.grid()->wordWrap());
        s.reject();
    });
    form->execSelection();
}

TEST_F(SelectionForm, NewOnAnEmptyCatalogueCreatesD1AndOpensIt)
{
    onNextDialog<datasets::TAuto1Form>([](datasets::TAuto1Form &selection) {
        EXPECT_EQ(selection.focusWidget(), selection.button(u"NoveButton"_s));
        onNextDialog<datasets::TAu1Form>([](datasets::TAu1Form &dialog) {
            EXPECT_EQ(dialog.windowTitle(), u"Nové RUR"_s);
            dialog.nameEdit()->setText(u"Moje firma"_s);
            dialog.findChild<QPushButton *>(u"RurButton"_s)->click();
        });
        selection.button(u"NoveButton"_s)->click();
    });
    EXPECT_EQ(form->execSelection(), datasets::TAuto1Form::ResultOpen);
    EXPECT_EQ(catalogue->currentDirectory(), u"D1"_s);
    EXPECT_EQ(catalogue->currentName(), u"Moje firma"_s);
    EXPECT_TRUE(QFile::exists(root.path() + u"D1/Dcis.DB"_s));
}

TEST_F(SelectionForm, TheNewDialogWorksFromTheKeyboard)
{
    onNextDialog<datasets::TAuto1Form>([](datasets::TAuto1Form &selection) {
        onNextDialog<datasets::TAu1Form>([](datasets::TAu1Form &dialog) {
            dialog.activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
            dialog.nameEdit()->setFocus();
            QTest::keyClicks(dialog.nameEdit(), u"Firma"_s);
            QTest::keyClick(dialog.nameEdit(), Qt::Key_Return);  // to the button "&RUR"
            QWidget *focused = dialog.focusWidget();
            ASSERT_EQ(focused, dialog.findChild<QPushButton *>(u"RurButton"_s));
            QTest::keyClick(focused, Qt::Key_Return);  // presses it
        });
        selection.button(u"NoveButton"_s)->setFocus();
        QTest::keyClick(selection.button(u"NoveButton"_s), Qt::Key_Return);
    });
    EXPECT_EQ(form->execSelection(), datasets::TAuto1Form::ResultOpen);
    EXPECT_EQ(catalogue->currentName(), u"Firma"_s);
    EXPECT_EQ(prompter.texts(), QStringList{u"Opravdu chcete vytvořit RUR Firma ?"_s});
}

TEST_F(SelectionForm, ClosingTheNewDialogCancelsTheRow)
{
    onNextDialog<datasets::TAuto1Form>([](datasets::TAuto1Form &selection) {
        onNextDialog<datasets::TAu1Form>(
            [](datasets::TAu1Form &dialog) { dialog.findChild<QPushButton *>(u"ZavritButton"_s)->click(); });
        selection.button(u"NoveButton"_s)->click();
        selection.findChild<QPushButton *>(u"KonecButton"_s)->click();
    });
    EXPECT_EQ(form->execSelection(), datasets::TAuto1Form::ResultEnd);
    EXPECT_TRUE(catalogue->isEmpty());
}

TEST_F(SelectionForm, EmptyCatalogueMessagesAndCtrlP)
{
    onNextDialog<datasets::TAuto1Form>([this](datasets::TAuto1Form &selection) {
        selection.button(u"NazevButton"_s)->click();
        selection.button(u"HesloButton"_s)->click();
        EXPECT_EQ(prompter.texts(), (QStringList{u"Není k dispozici žádné RUR. Spusťte akci nové RUR."_s,
                                                 u"Není k dispozici žádné RUR. Spusťte akci nové RUR."_s}));
        QTest::keyClick(&selection, Qt::Key_P, Qt::ControlModifier);
    });
    EXPECT_EQ(form->execSelection(), datasets::TAuto1Form::ResultEnd);
    EXPECT_TRUE(form->conversionMarked());
}

TEST_F(SelectionForm, AWrongPasswordKeepsTheWindowOpen)
{
    catalogue->beginNew();
    ASSERT_TRUE(catalogue->finishNew(u"Tajné"_s));
    ASSERT_TRUE(catalogue->addPassword(u"AbC"_s));
    prompter.messages.clear();
    prompter.textAnswers = {u"abc"_s, u"AbC"_s};
    onNextDialog<datasets::TAuto1Form>([this](datasets::TAuto1Form &selection) {
        selection.button(u"OtevritButton"_s)->click();
        EXPECT_TRUE(selection.isVisible());
        EXPECT_EQ(prompter.texts().last(), u"Neplatné heslo pro toto RUR."_s);
        selection.button(u"OtevritButton"_s)->click();
    });
    EXPECT_EQ(form->execSelection(), datasets::TAuto1Form::ResultOpen);
}

namespace {

class MainMenus : public ::testing::Test {
protected:
    void SetUp() override
    {
        rur::data::installDataRoot(common() + u"/Tervik/RUR 2018/"_s);
        const TMainForm::Environment env{tmp.path() + u"/prg"_s, common(), tmp.path() + u"/docs"_s, QSize(1280, 1024)};
        form = std::make_unique<TMainForm>(env, prompter);
    }
    void TearDown() override
    {
        form.reset();
        QDir::setCurrent(savedCwd);
    }
    QString common() const { return tmp.path() + u"/common"_s; }
    QString dataRoot() const { return common() + u"/Tervik/RUR 2018/"_s; }
    bool enabled(Command c) const { return form->commandAction(c)->isEnabled(); }

    QTemporaryDir tmp;
    platform::ScriptedPrompter prompter;
    std::unique_ptr<TMainForm> form;
    const QString savedCwd = QDir::currentPath();
};

}  // namespace

TEST_F(MainMenus, OnlySelectionEndAndHelpBeforeADataSetIsOpen)
{
    for (const app::MenuItemDef &item : app::mainMenuItems()) {
        const bool expected = item.command == Command::VyberRur || item.command == Command::Konec
                              || item.command == Command::Navod;
        EXPECT_EQ(enabled(item.command), expected) << item.caption.toStdString();
    }
    EXPECT_FALSE(form->menuNamed(u"Přiznání k &RUR"_s)->isEnabled());
    EXPECT_EQ(form->commandAction(Command::VyberRur)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_A));
    EXPECT_EQ(form->commandAction(Command::Tisk)->shortcut(), QKeySequence(Qt::Key_F6));
    EXPECT_EQ(form->commandAction(Command::Zalohovani)->statusTip(), u"Zazálohuje data (F1)"_s);
    EXPECT_EQ(form->commandAction(Command::SazbyRur)->statusTip(), u"Sazby RUR"_s);
    EXPECT_EQ(form->toolBarActions().size(), 2);
}

TEST_F(MainMenus, OpeningADataSetEnablesTheDataMenus)
{
    form->catalogue()->beginNew();
    ASSERT_TRUE(form->catalogue()->finishNew(u"Firma"_s));
    form->selectionRunner = [] { return int(datasets::TAuto1Form::ResultOpen); };
    form->VyberDanoveho();
    EXPECT_TRUE(form->dataSetOpen());
    EXPECT_TRUE(form->menuNamed(u"Přiznání k &RUR"_s)->isEnabled());
    EXPECT_TRUE(enabled(Command::VymazaniObdobi));
    EXPECT_TRUE(enabled(Command::VymazaniRoku));
    EXPECT_TRUE(enabled(Command::NovyRok));
    // Commands whose windows come later stay disabled rather than doing nothing.
    EXPECT_TRUE(enabled(Command::Priznani1));
    EXPECT_TRUE(enabled(Command::TiskRur));
    EXPECT_TRUE(enabled(Command::NastaveniTisku));
    EXPECT_TRUE(enabled(Command::Adresar));

    // A row whose directory was deleted outside the program: the open fails, menus stay off.
    form->catalogue()->beginNew();
    ASSERT_TRUE(form->catalogue()->finishNew(u"Smazaná"_s));
    QDir(dataRoot() + u"D2"_s).removeRecursively();
    form->VyberDanoveho();
    EXPECT_FALSE(form->dataSetOpen());
    EXPECT_FALSE(form->menuNamed(u"Přiznání k &RUR"_s)->isEnabled());
    EXPECT_FALSE(enabled(Command::NovyRok));
    ASSERT_FALSE(prompter.errors().isEmpty());
    EXPECT_TRUE(prompter.errors().last().startsWith(u"Nepodařilo se otevřít všechny tabulky."_s));
}

TEST_F(MainMenus, EndingTheSelectionClosesTheProgram)
{
    form->show();
    form->selectionRunner = [] { return int(datasets::TAuto1Form::ResultEnd); };
    form->VyberDanoveho();
    EXPECT_FALSE(form->isVisible());
}

TEST_F(MainMenus, LeavingTheSelectionReturnsToTheOpenDataSet)
{
    form->show();
    form->catalogue()->beginNew();
    ASSERT_TRUE(form->catalogue()->finishNew(u"Firma"_s));
    prompter.messages.clear();
    const auto choose = [&](const std::function<void(datasets::TAuto1Form &)> &step) {
        onNextDialog<datasets::TAuto1Form>(step);
        form->commandAction(Command::VyberRur)->trigger();
    };
    choose([](datasets::TAuto1Form &s) { s.button(u"OtevritButton"_s)->click(); });
    ASSERT_TRUE(form->dataSetOpen());
    const QString caption = form->windowTitle();

    // Esc: nothing chosen, the data set was open all the while and stays open.
    bool openWhileChoosing = false;
    choose([&](datasets::TAuto1Form &s) {
        openWhileChoosing = form->dataSetOpen();
        QTest::keyClick(&s, Qt::Key_Escape);
    });
    EXPECT_TRUE(openWhileChoosing);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->dataSetOpen());
    EXPECT_EQ(form->windowTitle(), caption);
    EXPECT_TRUE(form->commandAction(Command::NovyRok)->isEnabled());

    // The data set this window has open is no other user's: choosing it again opens it.
    choose([](datasets::TAuto1Form &s) { s.button(u"OtevritButton"_s)->click(); });
    EXPECT_TRUE(form->dataSetOpen());
    // The close button of the window works as Esc.
    choose([](datasets::TAuto1Form &s) { s.close(); });
    EXPECT_TRUE(form->dataSetOpen());
    EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.texts().join(u'|').toStdString();

    // Without an open data set, Esc ends the program as "&Konec" does.
    TMainForm fresh({tmp.path() + u"/prg"_s, common(), tmp.path() + u"/docs"_s, QSize(1280, 1024)}, prompter);
    fresh.show();
    onNextDialog<datasets::TAuto1Form>([](datasets::TAuto1Form &s) { QTest::keyClick(&s, Qt::Key_Escape); });
    fresh.VyberDanoveho();
    EXPECT_FALSE(fresh.isVisible());
}

TEST_F(MainMenus, HintPanelWidthFollowsTheStatusBar)
{
    EXPECT_EQ(app::hintPanelWidth(400), 324);
    EXPECT_EQ(app::hintPanelWidth(450), 324);
    EXPECT_EQ(app::hintPanelWidth(1000), 874);
    form->show();
    form->resize(1000, 600);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->statusBar()->width() == 1000; }));
    QLabel *panel0 = form->findChild<QLabel *>(u"StatusPanel0"_s);
    EXPECT_EQ(panel0->width(), 874);
    form->close();
}
