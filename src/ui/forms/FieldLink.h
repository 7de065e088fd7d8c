#pragma once

#include "engine/EngineError.h"
#include "engine/Field.h"
#include "engine/Table.h"

#include <QList>
#include <QMetaObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <functional>

class QObject;
class QWidget;

namespace rur::platform {
class Prompter;
}

namespace rur::ui {

// The tie of a data-aware control to one field of a table cursor: the value to show, whether
// the user may change it, the move into edit state when the user starts changing it, and the
// text typed into the control but not yet handed to the field.
//
// Typed text survives the table going into edit state and changes of other fields (their
// computed values follow at once), so a user in the middle of typing loses nothing. It is
// dropped when the field itself is set from elsewhere, when the table moves, refreshes or
// posts, and when the edit is cancelled: it belonged to a value or a record that is gone.
class FieldLink {
public:
    FieldLink() = default;
    ~FieldLink();
    FieldLink(const FieldLink &) = delete;
    FieldLink &operator=(const FieldLink &) = delete;

    // Follows the table's signals: onChange runs after every one of them, once the link has
    // decided whether typed text survives. A null table unbinds. An unknown field name
    // throws EngineError.
    void bind(QObject *context, engine::Table *table, const QString &fieldName, std::function<void()> onChange);

    engine::Table *table() const { return table_.data(); }
    QString fieldName() const;
    const engine::FieldDef *fieldDef() const;  // null while unbound
    bool isActive() const;                     // bound to an open table
    // The user may change the value: an open table that is no read-only query, a stored field.
    bool canModify() const;
    QVariant value() const;       // null unless active
    QString displayText() const;  // empty unless active

    bool isTyping() const { return typing_; }
    void setTyping(bool typing) { typing_ = typing; }

    // Puts the table into edit state unless it already is; an error goes to the user.
    bool beginEdit(QWidget *parent);
    // Hands typed text to the field through the table's set-text hook. On an error the user
    // is told (after beforeReport, which lets the control take the focus back first), the
    // text stays typed and the field keeps its value.
    bool commitText(QWidget *parent, const QString &text, const std::function<void()> &beforeReport = {});
    // Sets the value at once, as a choice from a list or a check box does.
    bool assignText(QWidget *parent, const QString &text);
    bool assignValue(QWidget *parent, const QVariant &value);

    void setPrompter(platform::Prompter *prompter) { prompter_ = prompter; }
    // Errors through the prompter, else in a message box "Chyba"; a silent abort shows nothing.
    void report(QWidget *parent, const engine::EngineError &error) const;

private:
    enum class Change { State, Record, Data };
    void tableChanged(Change change, int fieldIndex);
    void disconnectAll();
    bool assign(QWidget *parent, const std::function<void(engine::Field)> &set,
                const std::function<void()> &beforeReport = {});

    QPointer<engine::Table> table_;
    int index_ = -1;
    bool typing_ = false;
    std::function<void()> onChange_;
    QList<QMetaObject::Connection> connections_;
    platform::Prompter *prompter_ = nullptr;
};

}  // namespace rur::ui
