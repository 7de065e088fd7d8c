// The edit controls: Enter as Tab, and the binding of the data-aware ones to a table field.
#include "engine/Database.h"
#include "engine/Table.h"
#include "engine/TableFile.h"
#include "platform/Prompter.h"
#include "support/printers.h"
#include "ui/forms/DBCheckBoxz.h"
#include "ui/forms/DBComboBoxz.h"
#include "ui/forms/DBEditz.h"
#include "ui/forms/Editz.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <ostream>
#include <type_traits>

using namespace Qt::StringLiterals;
using namespace rur::engine;
using namespace rur::ui;

namespace {

const QStringList kMonths = {u"leden"_s, u"únor"_s, u"březen"_s};

TableDef returnDef()
{
    return TableDef(u"Prp"_s, u"Prp.DB"_s)
        .add({smallintField(u"Cislo"_s, 1, 12), textField(u"Nazev"_s, 10), amountField(u"C210"_s),
              coefficientField(u"K1"_s), boolField(u"Dan"_s), textField(u"M"_s, 10),
              calculated(amountField(u"K210"_s))})
        .primaryKey({u"Cislo"_s});
}

// A window whose own Enter handling jumps back to its first control.
class JumpBackWindow : public QDialog {
public:
    QWidget *first = nullptr;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() == Qt::Key_Return)
            first->setFocus();
    }
};

// A table of two rows, and controls in a window, all reporting to a scripted prompter.
class EditControl : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        db_.setDirectory(dir_.path());
        createTableFile(db_.filePath(u"Prp.DB"_s), returnDef(),
                        {{{u"Cislo"_s, 1}, {u"Nazev"_s, u"Alfa"_s}, {u"C210"_s, 100.0}, {u"K1"_s, 0.5},
                          {u"Dan"_s, false}, {u"M"_s, u"leden"_s}},
                         {{u"Cislo"_s, 2}, {u"Nazev"_s, u"Beta"_s}, {u"C210"_s, 200.0}, {u"Dan"_s, true},
                          {u"M"_s, u"jaro"_s}}});
        table_.onCalcFields = [](Table &t) { t.field(u"K210"_s).setValue(t.field(u"C210"_s).asFloat() * 2); };
        table_.open();
    }

    // Focus changes on the offscreen platform need an active window.
    static void activate(QWidget &window, QWidget *focus)
    {
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        focus->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), focus);
    }

    template <typename Control>
    Control *add(QWidget &window, const QString &fieldName = {})
    {
        auto *control = new Control(&window);
        if (!window.layout())
            new QVBoxLayout(&window);
        window.layout()->addWidget(control);
        if constexpr (!std::is_same_v<Control, TEditz>) {
            control->setPrompter(&prompter_);
            if (!fieldName.isEmpty())
                control->setDataSource(&table_, fieldName);
        }
        return control;
    }

    Field field(const QString &name) { return table_.field(name); }
    static QWidget *focused() { return QApplication::focusWidget(); }

    QTemporaryDir dir_;
    Database db_{u"Test"_s};
    Table table_{&db_, returnDef()};
    rur::platform::ScriptedPrompter prompter_;
};

using EditControlEnter = EditControl;
using EditControlDBEdit = EditControl;
using EditControlChoice = EditControl;

TEST_F(EditControlEnter, EnterAndShiftEnterMoveLikeTabInEveryControl)
{
    QDialog window;
    auto *edit = add<TEditz>(window);
    auto *check = add<TDBCheckBoxz>(window, u"Dan"_s);
    auto *combo = add<TDBComboBoxz>(window, u"M"_s);
    combo->setItems(kMonths);
    activate(window, edit);

    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(focused(), check);
    QTest::keyClick(check, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(focused(), combo);
    QTest::keyClick(combo, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(focused(), check);
    QTest::keyClick(check, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(focused(), edit);
    QTest::keyClick(edit, Qt::Key_Return, Qt::ShiftModifier);  // wraps round as Shift+Tab does
    EXPECT_EQ(focused(), combo);

    // Passing through changed nothing.
    EXPECT_FALSE(check->isChecked());
    EXPECT_EQ(combo->currentText(), u"leden"_s);
    EXPECT_EQ(table_.state(), Table::State::Browse);
}

TEST_F(EditControlEnter, WithEnterTabOffEnterReachesTheWindow)
{
    // A window's jump from its last field back to the first: the typed text reaches the field.
    // The property is the one that forms store.
    JumpBackWindow window;
    auto *name = add<TDBEditz>(window, u"Nazev"_s);
    auto *amount = add<TDBEditz>(window, u"C210"_s);
    add<TEditz>(window);  // where Tab would go
    window.first = name;
    ASSERT_TRUE(amount->setProperty("EnterTab", false));
    activate(window, amount);
    QTest::keyClicks(amount, u"7"_s);
    QTest::keyClick(amount, Qt::Key_Return);
    EXPECT_EQ(focused(), name);
    EXPECT_DOUBLE_EQ(field(u"C210"_s).asFloat(), 1007.0);
}

TEST_F(EditControlDBEdit, TypingEditsEnterCommitsAndMovesOn)
{
    QDialog window;
    auto *name = add<TDBEditz>(window, u"Nazev"_s);
    auto *amount = add<TDBEditz>(window, u"C210"_s);
    auto *doubled = add<TDBEditz>(window, u"K210"_s);
    auto *coefficient = add<TDBEditz>(window, u"K1"_s);
    EXPECT_EQ(coefficient->text(), u"0,50"_s);
    EXPECT_EQ(name->maxLength(), 10);
    activate(window, amount);

    QSignalSpy states(&table_, &Table::stateChanged);
    QTest::keyClick(amount, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(amount, u"1234"_s);  // over the selection, kept while the table goes into edit
    EXPECT_EQ(table_.state(), Table::State::Edit);
    EXPECT_EQ(states.count(), 1);
    EXPECT_DOUBLE_EQ(field(u"C210"_s).asFloat(), 100.0);

    QTest::keyClick(amount, Qt::Key_Return);
    EXPECT_DOUBLE_EQ(field(u"C210"_s).asFloat(), 1234.0);
    EXPECT_EQ(doubled->text(), u"2468"_s);
    EXPECT_EQ(focused(), doubled);
    // The computed field's edit takes the focus but no text.
    EXPECT_TRUE(doubled->isReadOnly());
    QTest::keyClicks(doubled, u"5"_s);
    EXPECT_EQ(doubled->text(), u"2468"_s);
    QTest::keyClick(doubled, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(focused(), amount);
    QTest::keyClick(amount, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(focused(), name);

    // Windows commit before they post; a decimal comma in, the display format out.
    coefficient->setFocus();
    coefficient->selectAll();
    QTest::keyClicks(coefficient, u"0,857"_s);
    ASSERT_TRUE(coefficient->commit());
    EXPECT_EQ(coefficient->text(), u"0,86"_s);
    table_.post();
    EXPECT_DOUBLE_EQ(field(u"K1"_s).asFloat(), 0.857);
    EXPECT_TRUE(prompter_.messages.isEmpty());
}

TEST_F(EditControlDBEdit, RefusedTextKeepsTheOldValueTheTextAndTheFocus)
{
    QDialog window;
    auto *amount = add<TDBEditz>(window, u"C210"_s);
    auto *coefficient = add<TDBEditz>(window, u"K1"_s);
    activate(window, amount);

    amount->selectAll();
    QTest::keyClicks(amount, u"12x"_s);
    QTest::keyClick(amount, Qt::Key_Return);
    EXPECT_EQ(prompter_.errors(), QStringList{u"„12x“ není platná hodnota pro pole C210."_s});
    EXPECT_EQ(focused(), amount);
    EXPECT_EQ(amount->text(), u"12x"_s);
    EXPECT_DOUBLE_EQ(field(u"C210"_s).asFloat(), 100.0);

    // Leaving by the mouse: the same, the focus comes back with the text selected.
    coefficient->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(prompter_.errors().size(), 2);
    EXPECT_EQ(focused(), amount);
    EXPECT_EQ(amount->selectedText(), u"12x"_s);
    QTest::keyClicks(amount, u"12"_s);
    QTest::keyClick(amount, Qt::Key_Return);
    EXPECT_DOUBLE_EQ(field(u"C210"_s).asFloat(), 12.0);
    EXPECT_EQ(focused(), coefficient);

    // Out of the field's bounds, leaving by Tab.
    prompter_.messages.clear();
    QTest::keyClicks(coefficient, u"12"_s);
    QTest::keyClick(coefficient, Qt::Key_Tab);
    ASSERT_EQ(prompter_.errors().size(), 1);
    EXPECT_TRUE(prompter_.errors().first().startsWith(u"Hodnota 12 není platná pro pole K1."_s));
    EXPECT_EQ(focused(), coefficient);
    EXPECT_DOUBLE_EQ(field(u"K1"_s).asFloat(), 0.5);
    EXPECT_FALSE(coefficient->commit());

    // The window's Esc cancels the edit, and the refused text goes with it.
    table_.cancel();
    EXPECT_EQ(coefficient->text(), u"0,50"_s);
    EXPECT_FALSE(coefficient->hasTypedText());
}

TEST_F(EditControlDBEdit, FollowsTheTableButKeepsTextBeingTyped)
{
    QDialog window;
    auto *name = add<TDBEditz>(window, u"Nazev"_s);
    auto *amount = add<TDBEditz>(window, u"C210"_s);
    activate(window, name);

    table_.next();
    EXPECT_EQ(name->text(), u"Beta"_s);
    table_.edit();
    field(u"C210"_s).setValue(250.0);
    EXPECT_EQ(amount->text(), u"250"_s);

    // Typing survives a change of another field, not a value set into its own field.
    name->selectAll();
    QTest::keyClicks(name, u"Gama"_s);
    field(u"C210"_s).setValue(300.0);
    EXPECT_EQ(name->text(), u"Gama"_s);
    field(u"Nazev"_s).setValue(u"Delta"_s);
    EXPECT_EQ(name->text(), u"Delta"_s);
    EXPECT_FALSE(name->hasTypedText());

    table_.post();
    table_.first();
    EXPECT_EQ(name->text(), u"Alfa"_s);
    table_.close();
    EXPECT_TRUE(name->text().isEmpty());
    EXPECT_TRUE(name->isReadOnly());
}

TEST_F(EditControlChoice, CheckBoxSetsItsFieldAtOnceAndFollowsTheTable)
{
    QDialog window;
    auto *box = add<TDBCheckBoxz>(window, u"Dan"_s);
    box->setCaptions(u"ano"_s, u"ne"_s);
    EXPECT_EQ(box->text(), u"ne"_s);
    QSignalSpy chosen(box, &TDBCheckBoxz::valueChosen);

    box->click();
    EXPECT_EQ(table_.state(), Table::State::Edit);
    EXPECT_TRUE(field(u"Dan"_s).asBoolean());
    EXPECT_EQ(box->text(), u"ano"_s);
    EXPECT_EQ(chosen.count(), 1);

    table_.cancel();
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(box->text(), u"ne"_s);
    table_.next();
    EXPECT_TRUE(box->isChecked());
}

TEST_F(EditControlChoice, ComboBoxChoiceSetsItsFieldAtOnceAndFollowsTheTable)
{
    QDialog window;
    auto *combo = add<TDBComboBoxz>(window, u"M"_s);
    combo->setItems(kMonths);
    // A window reacting to the choice (a month sets the period number) sees the field set.
    QString seen;
    QObject::connect(combo, &TDBComboBoxz::valueChosen, combo, [&] { seen = field(u"M"_s).asString(); });
    activate(window, combo);

    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(table_.state(), Table::State::Edit);
    EXPECT_EQ(seen, u"únor"_s);

    table_.post();
    table_.next();  // "jaro" is not in the list
    EXPECT_EQ(combo->currentIndex(), -1);
    table_.prior();
    EXPECT_EQ(combo->currentText(), u"únor"_s);
}

TEST_F(EditControlChoice, EditableComboBoxCommitsTypedTextLikeAnEdit)
{
    QDialog window;
    auto *combo = add<TDBComboBoxz>(window, u"M"_s);
    auto *after = add<TEditz>(window);
    combo->setEditable(true);
    combo->setItems(kMonths);
    activate(window, combo);

    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo, u"Jine obdobi"_s);
    EXPECT_EQ(table_.state(), Table::State::Edit);
    QTest::keyClick(combo, Qt::Key_Return);
    EXPECT_EQ(field(u"M"_s).asString(), u"Jine obdob"_s);  // cut to the field's size
    EXPECT_EQ(focused(), after);
    EXPECT_EQ(combo->count(), kMonths.size());  // the text went to the field, not into the list

    table_.cancel();
    EXPECT_EQ(combo->currentText(), u"leden"_s);
}

}  // namespace
