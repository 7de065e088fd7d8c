#include "ui/forms/RecordEditor.h"

#include "engine/EngineError.h"
#include "engine/Table.h"
#include "platform/Prompter.h"
#include "ui/RecordActions.h"
#include "ui/forms/DBComboBoxz.h"
#include "ui/forms/DBEditz.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QWidget>

namespace rur::ui {

RecordEditor::RecordEditor(engine::Table *table, platform::Prompter *prompter, QWidget *window)
    : QObject(window), table_(table), prompter_(prompter), window_(window)
{
    commitTyped = [this] {
        for (auto *edit : window_->findChildren<TDBEditz *>())
            if (edit->hasTypedText() && !edit->commit()) {
                edit->setFocus();
                return false;
            }
        for (auto *box : window_->findChildren<TDBComboBoxz *>())
            if (box->hasTypedText() && !box->commit()) {
                box->setFocus();
                return false;
            }
        return true;
    };
    resetTyped = [this] {
        for (auto *edit : window_->findChildren<TDBEditz *>())
            edit->reset();
        for (auto *box : window_->findChildren<TDBComboBoxz *>())
            box->reset();
    };
    closeWindow = [this] {
        if (auto *dialog = qobject_cast<QDialog *>(window_))
            dialog->reject();
        else
            window_->close();
    };
}

bool RecordEditor::available(RecordAction action) const
{
    return recordActionAvailable(*table_, action);
}

bool RecordEditor::run(RecordAction action)
{
    if (!available(action))
        return false;
    const bool drops = action == RecordAction::Cancel || action == RecordAction::Delete;
    if (drops) {
        if (action == RecordAction::Delete && confirmDelete && !confirmDelete())
            return false;
        if (resetTyped)
            resetTyped();
    } else if (commitTyped && !commitTyped()) {
        return false;
    }
    try {
        if (!runRecordAction(*table_, action))
            return false;
    } catch (const engine::EngineError &e) {
        if (e.code() != engine::ErrAbort && prompter_)
            prompter_->error(e.message());
        return false;
    }
    emit actionRun(action);
    return true;
}

bool RecordEditor::goToRow(int row)
{
    if (!table_->isActive())
        return false;
    if (table_->currentRow() == row && table_->state() == engine::Table::State::Browse)
        return true;
    if (commitTyped && !commitTyped())
        return false;
    try {
        return table_->goToRow(row) && table_->currentRow() == row;
    } catch (const engine::EngineError &e) {
        if (e.code() != engine::ErrAbort && prompter_)
            prompter_->error(e.message());
        return false;
    }
}

bool RecordEditor::handleKey(const QKeyEvent *event)
{
    const RecordAction action = recordActionForKey(event->key(), event->modifiers());
    if (action == RecordAction::None)
        return false;
    if (widgetKeepsKey && widgetKeepsKey(QApplication::focusWidget(), action))
        return false;
    if (action == RecordAction::Cancel && !table_->isEditing()) {
        if (closeWindow)
            closeWindow();
        return true;
    }
    run(action);
    return true;
}

void RecordEditor::watchKeys()
{
    for (QWidget *w : window_->findChildren<QWidget *>())
        w->installEventFilter(this);
    window_->installEventFilter(this);
}

bool RecordEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && handleKey(static_cast<const QKeyEvent *>(event)))
        return true;
    // Keys the window's widgets would take as shortcuts (Ctrl+Y, Insert) stay record keys.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<const QKeyEvent *>(event);
        const RecordAction action = recordActionForKey(key->key(), key->modifiers());
        if (action != RecordAction::None
            && !(widgetKeepsKey && widgetKeepsKey(QApplication::focusWidget(), action))) {
            event->accept();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

bool RecordEditor::confirmClose(const QString &caption)
{
    if (commitTyped && !commitTyped())
        return false;
    if (!table_->isActive() || !table_->isEditing())
        return true;
    const auto answer = prompter_ ? prompter_->confirmWithCancel(closeQuestion(caption))
                                  : platform::Prompter::Answer::Yes;
    switch (answer) {
    case platform::Prompter::Answer::Yes:
        return run(RecordAction::Post);
    case platform::Prompter::Answer::No:
        return run(RecordAction::Cancel);
    case platform::Prompter::Answer::Cancel:
        break;
    }
    return false;
}

}  // namespace rur::ui
