#include "ui/forms/DBEditz.h"

#include "engine/Table.h"
#include "ui/forms/EnterTab.h"

#include <QFocusEvent>

namespace rur::ui {

namespace {

constexpr int kUnlimitedLength = 32767;  // QLineEdit's own default

}  // namespace

TDBEditz::TDBEditz(QWidget *parent) : QLineEdit(parent)
{
    connect(this, &QLineEdit::textEdited, this, &TDBEditz::textTyped);
    updateReadOnly();
}

void TDBEditz::setDataSource(engine::Table *table, const QString &fieldName)
{
    link_.bind(this, table, fieldName, [this] { tableChanged(); });
    const engine::FieldDef *def = link_.fieldDef();
    setMaxLength(def && def->type == engine::FieldType::Char && def->size > 0 ? def->size : kUnlimitedLength);
}

void TDBEditz::setReadOnly(bool readOnly)
{
    readOnly_ = readOnly;
    updateReadOnly();
}

void TDBEditz::updateReadOnly()
{
    QLineEdit::setReadOnly(readOnly_ || !link_.canModify());
}

void TDBEditz::tableChanged()
{
    updateReadOnly();
    if (!link_.isTyping())
        showValue();
}

void TDBEditz::showValue()
{
    // Setting the same text again would lose the cursor and selection of a user about to type.
    const QString value = link_.displayText();
    if (value != text())
        setText(value);
}

void TDBEditz::reset()
{
    link_.setTyping(false);
    showValue();
}

void TDBEditz::textTyped()
{
    // The first change puts the table into edit state; marked as typing first, the text
    // survives that move (and the new row of an empty table).
    link_.setTyping(true);
    // One read of the guarded pointer: two reads may differ for all the compiler knows.
    const engine::Table *table = link_.table();
    if (!table || !table->isEditing()) {
        if (!link_.beginEdit(this))
            reset();
    }
}

bool TDBEditz::commit()
{
    if (!link_.commitText(this, text())) {
        selectAll();
        return false;
    }
    showValue();
    return true;
}

bool TDBEditz::event(QEvent *event)
{
    // Enter hands the text over before the focus moves, or before the window acts on the key.
    if (isEnterPress(event) && !commit()) {
        event->accept();
        return true;
    }
    if (enterTab_ && sendEnterAsTab(this, event))
        return true;
    return QLineEdit::event(event);
}

void TDBEditz::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    // Another window or a menu taking the focus is no leaving of the field.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    // Refused text: the focus comes back before the message, so that the user corrects the
    // text here once the message is closed.
    if (!link_.commitText(this, text(), [this] { setFocus(Qt::OtherFocusReason); })) {
        selectAll();
        return;
    }
    showValue();
}

}  // namespace rur::ui
