#include "ui/forms/FieldLink.h"

#include "engine/Table.h"
#include "platform/Prompter.h"

#include <QMessageBox>

using namespace Qt::StringLiterals;

namespace rur::ui {

using engine::EngineError;
using engine::Field;
using engine::Table;

FieldLink::~FieldLink()
{
    // The control's own disconnection comes only after its members are gone.
    disconnectAll();
}

void FieldLink::disconnectAll()
{
    for (const auto &connection : std::as_const(connections_))
        QObject::disconnect(connection);
    connections_.clear();
}

void FieldLink::bind(QObject *context, Table *table, const QString &fieldName, std::function<void()> onChange)
{
    disconnectAll();
    table_ = nullptr;
    index_ = -1;
    typing_ = false;
    onChange_ = std::move(onChange);
    if (table) {
        index_ = table->field(fieldName).index();
        table_ = table;
        connections_ = {
            QObject::connect(table, &Table::stateChanged, context, [this] { tableChanged(Change::State, -1); }),
            QObject::connect(table, &Table::recordChanged, context, [this] { tableChanged(Change::Record, -1); }),
            QObject::connect(table, &Table::dataChanged, context, [this](int i) { tableChanged(Change::Data, i); }),
        };
    }
    if (onChange_)
        onChange_();
}

void FieldLink::tableChanged(Change change, int fieldIndex)
{
    // Each function reads the guarded pointer once: two reads may differ for all the
    // compiler knows.
    const engine::Table *table = table_.data();
    const bool keep = table && table->isEditing() && change != Change::Record
                      && !(change == Change::Data && fieldIndex == index_);
    if (!keep)
        typing_ = false;
    if (onChange_)
        onChange_();
}

QString FieldLink::fieldName() const
{
    const engine::FieldDef *def = fieldDef();
    return def ? def->name : QString();
}

const engine::FieldDef *FieldLink::fieldDef() const
{
    const engine::Table *table = table_.data();
    return table && index_ >= 0 && index_ < table->def().fields.size() ? &table->def().fields.at(index_) : nullptr;
}

bool FieldLink::isActive() const
{
    const engine::Table *table = table_.data();
    return table && table->isActive();
}

bool FieldLink::canModify() const
{
    const engine::Table *table = table_.data();
    const engine::FieldDef *def = fieldDef();
    return table && table->isActive() && !table->isReadOnly() && def && !def->calculated;
}

QVariant FieldLink::value() const
{
    return isActive() ? table_->value(index_) : QVariant();
}

QString FieldLink::displayText() const
{
    return isActive() ? Field(table_.data(), index_).displayText() : QString();
}

bool FieldLink::beginEdit(QWidget *parent)
{
    if (!canModify())
        return false;
    try {
        table_->edit();
    } catch (const EngineError &e) {
        report(parent, e);
        return false;
    }
    return true;
}

bool FieldLink::assign(QWidget *parent, const std::function<void(Field)> &set,
                       const std::function<void()> &beforeReport)
{
    if (!beginEdit(parent))
        return false;
    try {
        set(Field(table_.data(), index_));
    } catch (const EngineError &e) {
        if (beforeReport)
            beforeReport();
        report(parent, e);
        return false;
    }
    return true;
}

bool FieldLink::commitText(QWidget *parent, const QString &text, const std::function<void()> &beforeReport)
{
    if (!typing_)
        return true;
    if (!assign(parent, [&text](Field f) { f.setText(text); }, beforeReport))
        return false;
    // Setting the field normally ends the typing already; a set-text hook that leaves the
    // field alone has refused the text, and the control shows the field's value again.
    typing_ = false;
    return true;
}

bool FieldLink::assignText(QWidget *parent, const QString &text)
{
    return assign(parent, [&text](Field f) { f.setText(text); });
}

bool FieldLink::assignValue(QWidget *parent, const QVariant &value)
{
    return assign(parent, [&value](Field f) { f.setValue(value); });
}

void FieldLink::report(QWidget *parent, const EngineError &error) const
{
    if (error.code() == engine::ErrAbort)
        return;
    if (prompter_)
        prompter_->error(error.message());
    else
        QMessageBox::critical(parent, u"Chyba"_s, error.message());
}

}  // namespace rur::ui
