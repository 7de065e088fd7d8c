#pragma once

#include "ui/RecordActions.h"

#include <QObject>
#include <functional>

class QKeyEvent;
class QWidget;

namespace rur::engine {
class Table;
}
namespace rur::platform {
class Prompter;
}

namespace rur::ui {

// The record operations of a window over one table, shared by its navigator, its grid and
// its keys: typed text reaches the field before a move or a post, failures are told through
// the prompter (a silent abort of a post-error hook is not), and the window hears what ran.
class RecordEditor : public QObject {
    Q_OBJECT

public:
    RecordEditor(engine::Table *table, platform::Prompter *prompter, QWidget *window);

    engine::Table *table() const { return table_; }
    QWidget *window() const { return window_; }

    // Typed text of the window's edits goes to its fields; false when a field refused it.
    // By default the TDBEditz and TDBComboBoxz under the window.
    std::function<bool()> commitTyped;
    // Drops typed text (cancel, delete). By default the same controls.
    std::function<void()> resetTyped;
    // Asked before a row is deleted; empty: deleted without asking.
    std::function<bool()> confirmDelete;
    // What Esc does when nothing is being edited; by default the window is rejected.
    std::function<void()> closeWindow;
    // A widget that keeps a key for itself (a memo keeps its PgUp, PgDn, Ctrl+Home ...):
    // return true and the key is not a record key there.
    std::function<bool(QWidget *focus, RecordAction action)> widgetKeepsKey;

    bool available(RecordAction action) const;
    // Runs an action; true when it ran.
    bool run(RecordAction action);
    // Moves to a row of the grid (0-based); true when the table stands there.
    bool goToRow(int row);

    // The record keys of the window: call from its event filter and keyPressEvent; true when
    // the key was a record key (then it is handled).
    bool handleKey(const QKeyEvent *event);
    // Installs the key handling on the window and every widget under it now.
    void watchKeys();

    // The close question of an editing window: nothing to save, or Yes (saved), or No
    // (dropped) let it close; Cancel or a refused save keep it open.
    bool confirmClose(const QString &caption);

signals:
    // After an action ran (the window moves the focus, refreshes a display).
    void actionRun(ui::RecordAction action);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    engine::Table *table_;
    platform::Prompter *prompter_;
    QWidget *window_;
};

}  // namespace rur::ui
