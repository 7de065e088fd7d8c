#include "vat/forms/FormParts.h"

#include "engine/EngineError.h"
#include "engine/Table.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "ui/forms/DBComboBoxz.h"
#include "ui/forms/WindowPlacer.h"
#include "vat/WindowRules.h"
#include "vat/forms/WindowContext.h"

#include <QFocusEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace rur::vat {

namespace {

bool isLeaving(const QFocusEvent *event)
{
    // Another window or a menu taking the focus is no leaving of the field.
    return event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason;
}

}  // namespace

void SplitEdit::focusInEvent(QFocusEvent *event)
{
    ui::TDBEditz::focusInEvent(event);
    if (isLeaving(event))
        rememberText();
}

void SplitEdit::focusOutEvent(QFocusEvent *event)
{
    ui::TDBEditz::focusOutEvent(event);
    // Refused text stays typed, and the field keeps the focus: nothing has left yet.
    if (isLeaving(event) && !hasTypedText())
        emit left(entry_, text());
}

TDBMemo::TDBMemo(QWidget *parent) : QPlainTextEdit(parent)
{
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, &TDBMemo::textTyped);
}

void TDBMemo::setDataSource(engine::Table *table, const QString &fieldName)
{
    link_.bind(this, table, fieldName, [this] { tableChanged(); });
}

void TDBMemo::tableChanged()
{
    setReadOnly(!link_.canModify());
    if (!link_.isTyping())
        showValue();
}

void TDBMemo::showValue()
{
    const QString value = link_.value().toString();
    if (value == toPlainText())
        return;
    showing_ = true;
    setPlainText(value);
    showing_ = false;
}

void TDBMemo::textTyped()
{
    if (showing_)
        return;
    link_.setTyping(true);
    // One read of the guarded pointer: two reads may differ for all the compiler knows.
    const engine::Table *table = link_.table();
    if (!table || !table->isEditing()) {
        if (!link_.beginEdit(this))
            reset();
    }
}

void TDBMemo::reset()
{
    link_.setTyping(false);
    showValue();
}

bool TDBMemo::commit()
{
    if (!link_.commitText(this, toPlainText()))
        return false;
    showValue();
    return true;
}

void TDBMemo::focusOutEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusOutEvent(event);
    if (isLeaving(event) && link_.commitText(this, toPlainText(), [this] { setFocus(Qt::OtherFocusReason); }))
        showValue();
}

bool commitTyped(QWidget *root)
{
    for (auto *edit : root->findChildren<ui::TDBEditz *>())
        if (edit->hasTypedText() && !edit->commit()) {
            edit->setFocus();
            return false;
        }
    for (auto *box : root->findChildren<ui::TDBComboBoxz *>())
        if (box->hasTypedText() && !box->commit()) {
            box->setFocus();
            return false;
        }
    for (auto *memo : root->findChildren<TDBMemo *>())
        if (memo->hasTypedText() && !memo->commit()) {
            memo->setFocus();
            return false;
        }
    return true;
}

void resetTyped(QWidget *root)
{
    for (auto *edit : root->findChildren<ui::TDBEditz *>())
        edit->reset();
    for (auto *box : root->findChildren<ui::TDBComboBoxz *>())
        box->reset();
    for (auto *memo : root->findChildren<TDBMemo *>())
        memo->reset();
}

void reportError(platform::Prompter &prompter, const engine::EngineError &error)
{
    if (error.code() != engine::ErrAbort)
        prompter.error(error.message());
}

void postAndReopen(const QList<engine::Table *> &tables, platform::Prompter &prompter)
{
    for (engine::Table *t : tables) {
        try {
            postIfEditing(*t);
        } catch (const engine::EngineError &e) {
            reportError(prompter, e);
            t->cancel();
        }
        try {
            reopenTable(*t);
        } catch (const engine::EngineError &e) {
            reportError(prompter, e);
        }
    }
}

void placeWindow(QWidget &window, const WindowContext &ctx, WindowId id)
{
    const platform::IniFile ini(ctx.dataSetIni);
    ui::placeFrameAt(window, readWindowPosition(ini, ctx.dataSetIni.isEmpty() ? QString() : ctx.section, id, ctx.screenWidth));
}

void storeWindowPlace(const QWidget &window, const WindowContext &ctx, WindowId id)
{
    if (ctx.dataSetIni.isEmpty())
        return;
    platform::IniFile ini(ctx.dataSetIni);
    writeWindowPosition(ini, ctx.section, id, ui::framePlace(window));
}

QPushButton *makeButton(const QString &caption, const QString &objectName, const QString &hint, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::NoFocus);
    setHint(button, hint);
    return button;
}

void setHint(QWidget *widget, const QString &hint)
{
    widget->setStatusTip(hint);
    widget->setToolTip(hint);
}

void makeClickable(QLabel *label)
{
    QFont font = label->font();
    font.setUnderline(true);
    label->setFont(font);
    label->setCursor(Qt::PointingHandCursor);
}

bool isClick(const QEvent *event)
{
    return event->type() == QEvent::MouseButtonRelease
           && static_cast<const QMouseEvent *>(event)->button() == Qt::LeftButton;
}

}  // namespace rur::vat
