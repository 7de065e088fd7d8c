#pragma once

#include "ui/RecordActions.h"

#include <QHash>
#include <QWidget>

class QToolButton;

namespace rur::ui {

class RecordEditor;

// The navigator bar of a record window: first, prior, next, last, insert, delete, edit, post
// and cancel, each enabled after the state of the editor's table and run through the editor
// (so typed text is committed, deletion asked when the editor asks, failures told).
class TDBNavigator : public QWidget {
    Q_OBJECT

public:
    explicit TDBNavigator(RecordEditor *editor, QWidget *parent = nullptr);

    QToolButton *button(RecordAction action) const { return buttons_.value(action); }
    // Enables each button after the table's state (also called on every change of it).
    void updateButtons();

    static QString hint(RecordAction action);

private:
    RecordEditor *editor_;
    QHash<RecordAction, QToolButton *> buttons_;
};

}  // namespace rur::ui
