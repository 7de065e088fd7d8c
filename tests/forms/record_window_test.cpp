// The shared pieces of a record window (navigator, grid, keys, close question) over a small
// table of their own, with scripted answers.
#include "engine/Database.h"
#include "engine/Table.h"
#include "engine/TableFile.h"
#include "platform/Prompter.h"
#include "ui/forms/DBEditz.h"
#include "ui/forms/DBGrid.h"
#include "ui/forms/DBNavigator.h"
#include "ui/forms/RecordEditor.h"

#include <QDialog>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace rur;
using ui::RecordAction;

namespace {

class RecordWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        db.setDirectory(dir.path());
        def = engine::TableDef(u"Banky"_s, u"Banky.DB"_s)
                  .add({engine::smallintField(u"Pc"_s, -999, 999), engine::textField(u"Bai"_s, 25)})
                  .primaryKey({u"Pc"_s});
        engine::createTableFile(db.filePath(def.fileName), def,
                                {{{u"Pc"_s, 1}, {u"Bai"_s, u"Alfa"_s}},
                                 {{u"Pc"_s, 5}, {u"Bai"_s, u"Beta"_s}},
                                 {{u"Pc"_s, 10}, {u"Bai"_s, u"Gama"_s}}});
        table = std::make_unique<engine::Table>(&db, def);
        table->open();
        window = std::make_unique<QDialog>();
        editor = new ui::RecordEditor(table.get(), &prompter, window.get());
        navigator = new ui::TDBNavigator(editor, window.get());
        edit = new ui::TDBEditz(window.get());
        edit->setDataSource(table.get(), u"Bai"_s);
        edit->setPrompter(&prompter);
        memo = new QPlainTextEdit(window.get());
        grid = new ui::TDBGrid(editor, {{u"Pc"_s, u"Číslo"_s}, {u"Bai"_s, u"Banka"_s}}, window.get());
        auto *layout = new QVBoxLayout(window.get());
        layout->addWidget(navigator);
        layout->addWidget(edit);
        layout->addWidget(memo);
        layout->addWidget(grid);
        editor->widgetKeepsKey = [this](QWidget *focus, RecordAction) { return focus == memo; };
        editor->watchKeys();
        window->show();
        QApplication::setActiveWindow(window.get());
        grid->setFocus();
        QApplication::processEvents();
    }

    bool enabled(RecordAction a) const
    {
        const QToolButton *b = navigator->button(a);
        if (!b)
            ADD_FAILURE() << "no button for the action";
        return b && b->isEnabled();
    }
    QString bank() const { return table->field(u"Bai"_s).asString(); }
    int selectedRow() const { return grid->selectionModel()->currentIndex().row(); }

    QTemporaryDir dir;
    engine::Database db{u"Danove"_s};
    engine::TableDef def;
    std::unique_ptr<engine::Table> table;
    platform::ScriptedPrompter prompter;
    std::unique_ptr<QDialog> window;
    ui::RecordEditor *editor = nullptr;
    ui::TDBNavigator *navigator = nullptr;
    ui::TDBEditz *edit = nullptr;
    QPlainTextEdit *memo = nullptr;
    ui::TDBGrid *grid = nullptr;
};

TEST_F(RecordWindow, NavigatorFollowsTheStateAndCarriesTheHints)
{
    EXPECT_EQ(navigator->button(RecordAction::Delete)->toolTip(), u"Smazat záznam (Ctrl+Del nebo Ctrl+Y)"_s);
    EXPECT_EQ(navigator->button(RecordAction::Cancel)->toolTip(), u"Stornovat změny (Esc)"_s);
    // On the first row: no way back, no post.
    EXPECT_FALSE(enabled(RecordAction::First));
    EXPECT_FALSE(enabled(RecordAction::Prior));
    EXPECT_TRUE(enabled(RecordAction::Next));
    EXPECT_TRUE(enabled(RecordAction::Edit));
    EXPECT_FALSE(enabled(RecordAction::Post));
    QTest::mouseClick(navigator->button(RecordAction::Last), Qt::LeftButton);
    EXPECT_EQ(bank(), u"Gama"_s);
    EXPECT_FALSE(enabled(RecordAction::Next));
    EXPECT_TRUE(enabled(RecordAction::Prior));
    EXPECT_EQ(selectedRow(), 2);
    QTest::mouseClick(navigator->button(RecordAction::Edit), Qt::LeftButton);
    EXPECT_TRUE(enabled(RecordAction::Post));
    EXPECT_TRUE(enabled(RecordAction::Cancel));
    EXPECT_FALSE(enabled(RecordAction::Edit));
    // Typed text reaches the field before the post.
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, u"Delta"_s);
    QTest::mouseClick(navigator->button(RecordAction::Post), Qt::LeftButton);
    EXPECT_EQ(table->state(), engine::Table::State::Browse);
    EXPECT_EQ(bank(), u"Delta"_s);
    EXPECT_EQ(grid->model()->data(grid->model()->index(2, 1)).toString(), u"Delta"_s);
}

TEST_F(RecordWindow, KeysMoveInsertPostDeleteAndEscClosesOnlyWhenNothingIsEdited)
{
    QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(bank(), u"Gama"_s);
    QTest::keyClick(grid, Qt::Key_PageUp);
    EXPECT_EQ(bank(), u"Beta"_s);
    EXPECT_EQ(selectedRow(), 1);
    QTest::keyClick(grid, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(bank(), u"Alfa"_s);
    QTest::keyClick(grid, Qt::Key_PageUp);  // at the first row: stays
    EXPECT_EQ(bank(), u"Alfa"_s);

    // A click in the grid moves the table.
    grid->selectRow(2);
    EXPECT_EQ(table->recNo(), 3);

    QTest::keyClick(grid, Qt::Key_F2);
    EXPECT_EQ(table->state(), engine::Table::State::Insert);
    table->field(u"Pc"_s).setValue(7);
    edit->setFocus();
    QTest::keyClicks(edit, u"Nova"_s);
    QTest::keyClick(edit, Qt::Key_F9);
    EXPECT_EQ(table->recordCount(), 4);
    EXPECT_EQ(bank(), u"Nova"_s);
    EXPECT_EQ(selectedRow(), 2);  // 1, 5, 7, 10

    // Esc cancels an edit; the second Esc closes the window.
    QTest::keyClick(grid, Qt::Key_F4);
    EXPECT_TRUE(table->isEditing());
    QTest::keyClick(grid, Qt::Key_Escape);
    EXPECT_FALSE(table->isEditing());
    EXPECT_TRUE(window->isVisible());

    // Ctrl+Y deletes without asking; with a question, No keeps the row.
    QTest::keyClick(grid, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(table->recordCount(), 3);
    int asked = 0;
    editor->confirmDelete = [&] { ++asked; return false; };
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(table->recordCount(), 3);

    // The memo keeps its own keys.
    memo->setFocus();
    const int row = table->recNo();
    QTest::keyClick(memo, Qt::Key_PageDown);
    QTest::keyClick(memo, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(table->recNo(), row);

    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(RecordWindow, GridPicksWithEnterAndDoubleClick)
{
    QSignalSpy picked(grid, &ui::TDBGrid::picked);
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(picked.count(), 1);
    const QRect cell = grid->visualRect(grid->model()->index(1, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(picked.count(), 2);
    EXPECT_EQ(bank(), u"Beta"_s);
}

TEST_F(RecordWindow, CloseQuestionSavesDropsOrKeepsTheWindow)
{
    const auto typeInto = [this](const QString &text) {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    };
    typeInto(u"Zmena"_s);
    prompter.answers = {platform::Prompter::Answer::Cancel};
    EXPECT_FALSE(editor->confirmClose(u"Údaje"_s));
    EXPECT_TRUE(table->isEditing());
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_EQ(prompter.messages[0].text, u"V tabulce Údaje byly provedeny změny.\nUložit záznam?"_s);

    prompter.answers = {platform::Prompter::Answer::No};
    EXPECT_TRUE(editor->confirmClose(u"Údaje"_s));
    EXPECT_EQ(bank(), u"Alfa"_s);

    typeInto(u"Ulozeno"_s);
    prompter.answers = {platform::Prompter::Answer::Yes};
    EXPECT_TRUE(editor->confirmClose(u"Údaje"_s));
    table->refresh();
    EXPECT_EQ(bank(), u"Ulozeno"_s);

    // A refused save (a duplicate key) keeps the window open with the row in edit.
    table->edit();
    table->field(u"Pc"_s).setValue(5);
    prompter.answers = {platform::Prompter::Answer::Yes};
    EXPECT_FALSE(editor->confirmClose(u"Údaje"_s));
    EXPECT_TRUE(table->isEditing());
    EXPECT_FALSE(prompter.errors().isEmpty());
}

}  // namespace
