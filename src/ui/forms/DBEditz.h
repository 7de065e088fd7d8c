#pragma once

#include "ui/forms/FieldLink.h"

#include <QLineEdit>

namespace rur::ui {

// Edit of one table field. Shows the field's display text and follows the table (record
// moves, refreshes, values set elsewhere, edit state) except while the user is typing in it.
// The first change the user makes puts the table into edit state; the typed text goes to the
// field when the focus leaves (Enter with EnterTab on moves the focus, so it commits too) or
// when the window calls commit() before posting. Text the field refuses stays in the edit,
// which keeps the focus, and the field keeps its value; the user is told why in Czech.
class TDBEditz : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(bool EnterTab READ enterTab WRITE setEnterTab)

public:
    explicit TDBEditz(QWidget *parent = nullptr);

    // A null table unbinds; an unknown field name throws EngineError. A Char field limits the
    // length of the text to its size.
    void setDataSource(engine::Table *table, const QString &fieldName);
    engine::Table *table() const { return link_.table(); }
    QString fieldName() const { return link_.fieldName(); }

    // Where errors of typed text go; without one they appear in a message box.
    void setPrompter(platform::Prompter *prompter) { link_.setPrompter(prompter); }

    bool enterTab() const { return enterTab_; }
    void setEnterTab(bool enterTab) { enterTab_ = enterTab; }

    // The window's choice; the edit is read-only anyway for a calculated field, a closed or
    // read-only table and without a table. isReadOnly() tells the outcome.
    void setReadOnly(bool readOnly);

    // Typed text that has not reached the field yet.
    bool hasTypedText() const { return link_.isTyping(); }
    // Hands typed text to the field; false (after telling the user) when the field refuses it.
    bool commit();
    // Drops typed text and shows the field's value.
    void reset();
    // Sets the field as a choice from elsewhere does (the calendar): the table goes into edit
    // first; false (after telling the user) when the table or the field refuses.
    bool assignValue(const QVariant &value) { return link_.assignValue(this, value); }

protected:
    bool event(QEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void tableChanged();
    void showValue();
    void textTyped();
    void updateReadOnly();

    FieldLink link_;
    bool enterTab_ = true;
    bool readOnly_ = false;
};

}  // namespace rur::ui
