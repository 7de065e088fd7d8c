#include "ui/RecordActions.h"

#include "engine/Table.h"

using namespace Qt::StringLiterals;

namespace rur::ui {

using engine::Table;

RecordAction recordActionForKey(int key, Qt::KeyboardModifiers modifiers)
{
    const Qt::KeyboardModifiers mods =
        modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (mods == Qt::ControlModifier) {
        switch (key) {
        case Qt::Key_Home: return RecordAction::First;
        case Qt::Key_End: return RecordAction::Last;
        case Qt::Key_Y:
        case Qt::Key_Delete: return RecordAction::Delete;
        default: return RecordAction::None;
        }
    }
    if (mods != Qt::NoModifier)
        return RecordAction::None;
    switch (key) {
    case Qt::Key_PageUp: return RecordAction::Prior;
    case Qt::Key_PageDown: return RecordAction::Next;
    case Qt::Key_Insert:
    case Qt::Key_F2: return RecordAction::Insert;
    case Qt::Key_F4: return RecordAction::Edit;
    case Qt::Key_F9: return RecordAction::Post;
    case Qt::Key_Escape: return RecordAction::Cancel;
    default: return RecordAction::None;
    }
}

bool recordActionAvailable(const Table &table, RecordAction action)
{
    if (!table.isActive())
        return false;
    const bool inserting = table.state() == Table::State::Insert;
    const bool writable = !table.isReadOnly();
    switch (action) {
    case RecordAction::First:
    case RecordAction::Prior:
        // A new row posts and then moves; otherwise there must be a row before this one.
        return !table.isEmpty() && (inserting || table.recNo() > 1);
    case RecordAction::Next:
    case RecordAction::Last:
        return !table.isEmpty() && (inserting || table.recNo() < table.recordCount());
    case RecordAction::Insert:
        return writable;
    case RecordAction::Delete:
        return writable && (inserting || !table.isEmpty());
    case RecordAction::Edit:
        return writable && table.state() == Table::State::Browse && !table.isEmpty();
    case RecordAction::Post:
    case RecordAction::Cancel:
        return table.isEditing();
    case RecordAction::None:
        break;
    }
    return false;
}

bool runRecordAction(Table &table, RecordAction action)
{
    if (!recordActionAvailable(table, action))
        return false;
    switch (action) {
    case RecordAction::First: table.first(); break;
    case RecordAction::Prior: table.prior(); break;
    case RecordAction::Next: table.next(); break;
    case RecordAction::Last: table.last(); break;
    case RecordAction::Insert: table.insert(); break;
    case RecordAction::Delete: table.deleteRecord(); break;
    case RecordAction::Edit: table.edit(); break;
    case RecordAction::Post: table.post(); break;
    case RecordAction::Cancel: table.cancel(); break;
    case RecordAction::None: return false;
    }
    return true;
}

QString closeQuestion(const QString &caption)
{
    return u"V tabulce "_s + caption + u" byly provedeny změny."_s + u'\n' + u"Uložit záznam?"_s;
}

}  // namespace rur::ui
