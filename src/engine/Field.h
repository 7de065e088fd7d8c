#pragma once

#include "engine/TableDef.h"

#include <QDate>
#include <QString>
#include <QVariant>

namespace rur::engine {

class Table;

// A field object of an open table: its declared description and the value of the current
// record (the edit buffer while the table is in edit or insert state).
class Field {
public:
    Field(Table *table, int index) : table_(table), index_(index) {}

    const FieldDef &def() const;
    QString name() const { return def().name; }
    FieldType type() const { return def().type; }
    int size() const { return def().size; }
    QString displayFormat() const { return def().displayFormat; }
    bool isCalculated() const { return def().calculated; }
    int index() const { return index_; }
    Table &table() const { return *table_; }

    QVariant value() const;
    bool isNull() const { return value().isNull(); }
    QString asString() const;   // empty for null; dates dd.mm.yyyy; numbers unformatted
    double asFloat() const;     // 0 for null
    int asInteger() const;      // 0 for null
    bool asBoolean() const;     // false for null
    QDate asDate() const;       // invalid for null

    // Assigning checks the table's state, converts to the field's type, cuts texts to the
    // field's size and refuses values outside the bounds (EngineError).
    void setValue(const QVariant &value);
    void clear() { setValue(QVariant()); }

    // Text typed by the user: goes through the table's set-text hook for this field when
    // there is one, else is read as the field's type ("," or "." decimals, dd.mm.yyyy).
    void setText(const QString &text);
    // Text for display and editing: numbers in the display format with ",", dates dd.mm.yyyy.
    QString displayText() const;

private:
    Table *table_;
    int index_;
};

// Converts a value to the in-memory form of a field type (double, QString, bool, QDate,
// int); throws EngineError for text that is not a number or a date.
QVariant convertToFieldType(const FieldDef &field, const QVariant &value);
QString formatDate(const QDate &date);               // dd.mm.yyyy
QDate parseDate(const QString &text);                // dd.mm.yyyy or d.m.yyyy; invalid otherwise

}  // namespace rur::engine
