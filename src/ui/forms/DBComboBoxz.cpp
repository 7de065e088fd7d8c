#include "ui/forms/DBComboBoxz.h"

#include "engine/Table.h"
#include "ui/forms/EnterTab.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWheelEvent>

namespace rur::ui {

namespace {

constexpr int kComboUnlimitedLength = 32767;

// Keys with which a closed combo box changes its item or opens its list.
bool isChoiceKey(const QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_F4:
    case Qt::Key_Space:
        return true;
    default:
        return !event->text().isEmpty() && event->text().at(0).isPrint();  // keyboard search
    }
}

}  // namespace

TDBComboBoxz::TDBComboBoxz(QWidget *parent) : QComboBox(parent)
{
    // Typed text belongs to the field, not to the list.
    setInsertPolicy(QComboBox::NoInsert);
    connect(this, &QComboBox::activated, this, &TDBComboBoxz::itemChosen);
}

void TDBComboBoxz::setDataSource(engine::Table *table, const QString &fieldName)
{
    link_.bind(this, table, fieldName, [this] { tableChanged(); });
}

void TDBComboBoxz::setItems(const QStringList &items)
{
    clear();
    addItems(items);
    showValue();
}

void TDBComboBoxz::setEditable(bool editable)
{
    QComboBox::setEditable(editable);
    if (QLineEdit *edit = lineEdit())
        connect(edit, &QLineEdit::textEdited, this, &TDBComboBoxz::textTyped, Qt::UniqueConnection);
    tableChanged();
}

void TDBComboBoxz::setReadOnly(bool readOnly)
{
    readOnly_ = readOnly;
    updateLineEdit();
}

void TDBComboBoxz::updateLineEdit()
{
    if (QLineEdit *edit = lineEdit()) {
        edit->setReadOnly(isReadOnly());
        const engine::FieldDef *def = link_.fieldDef();
        const int length = def && def->type == engine::FieldType::Char && def->size > 0 ? def->size : kComboUnlimitedLength;
        // Setting the length sets the text again, which would drop the user's selection.
        if (edit->maxLength() != length)
            edit->setMaxLength(length);
    }
}

void TDBComboBoxz::tableChanged()
{
    updateLineEdit();
    if (!link_.isTyping())
        showValue();
}

void TDBComboBoxz::showValue()
{
    const QString value = link_.displayText();
    if (!isEditable()) {
        setCurrentIndex(findText(value, Qt::MatchFixedString));  // -1: no choice shown
        return;
    }
    if (currentText() != value) {
        setCurrentIndex(findText(value, Qt::MatchExactly));
        setEditText(value);
    }
}

void TDBComboBoxz::reset()
{
    link_.setTyping(false);
    showValue();
}

void TDBComboBoxz::itemChosen(int index)
{
    // A choice replaces anything typed before it.
    link_.setTyping(false);
    const QString value = itemText(index);
    const bool set = !isReadOnly() && link_.assignText(this, value);
    showValue();
    if (set)
        emit valueChosen(value);
}

void TDBComboBoxz::textTyped()
{
    link_.setTyping(true);
    // One read of the guarded pointer: two reads may differ for all the compiler knows.
    const engine::Table *table = link_.table();
    if (!table || !table->isEditing()) {
        if (!link_.beginEdit(this))
            reset();
    }
}

bool TDBComboBoxz::commit()
{
    if (!isEditable())
        return true;
    if (!link_.commitText(this, currentText())) {
        lineEdit()->selectAll();
        return false;
    }
    showValue();
    return true;
}

void TDBComboBoxz::showPopup()
{
    if (!isReadOnly())
        QComboBox::showPopup();
}

bool TDBComboBoxz::event(QEvent *event)
{
    if (isEnterPress(event) && !commit()) {
        event->accept();
        return true;
    }
    if (enterTab_ && sendEnterAsTab(this, event))
        return true;
    return QComboBox::event(event);
}

void TDBComboBoxz::keyPressEvent(QKeyEvent *event)
{
    if (isReadOnly() && isChoiceKey(event)) {
        event->ignore();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void TDBComboBoxz::wheelEvent(QWheelEvent *event)
{
    if (isReadOnly())
        event->ignore();
    else
        QComboBox::wheelEvent(event);
}

void TDBComboBoxz::focusOutEvent(QFocusEvent *event)
{
    QComboBox::focusOutEvent(event);
    // The open list takes the focus for a while; that is no leaving of the box.
    if (!isEditable() || event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    if (!link_.commitText(this, currentText(), [this] { setFocus(Qt::OtherFocusReason); })) {
        lineEdit()->selectAll();
        return;
    }
    showValue();
}

}  // namespace rur::ui
