#pragma once

// What the keys and the navigator of a record window do to its table, without any widget:
// the window forwards a key or a button, this decides and runs it.

#include <QString>
#include <Qt>

namespace rur::engine {
class Table;
}

namespace rur::ui {

enum class RecordAction { None, First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel };

// The action of a key in a record window: Ctrl+Home first, PgUp prior, PgDn next, Ctrl+End
// last, Insert or F2 insert, Ctrl+Y or Ctrl+Del delete, F4 edit, F9 post, Esc cancel (a window
// closes on Esc when nothing is being edited). None for every other key.
RecordAction recordActionForKey(int key, Qt::KeyboardModifiers modifiers);

// Whether the action can run in the table's present state: moves need a row to go to,
// editing needs a writable open table, post and cancel an edit in progress.
bool recordActionAvailable(const engine::Table &table, RecordAction action);

// Runs the action when it is available; false when it is not. A move or an insert posts a
// modified edit first, as every move does. Throws EngineError.
bool runRecordAction(engine::Table &table, RecordAction action);

// The question before an editing window with unsaved changes closes.
QString closeQuestion(const QString &caption);

}  // namespace rur::ui
