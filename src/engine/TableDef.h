#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace rur::engine {

enum class FieldType { Float, Char, Boolean, Date, Smallint, Integer, AutoInc, Memo };

// One declared field: stored in the table file or calculated by the table's hook.
struct FieldDef {
    QString name;
    FieldType type = FieldType::Float;
    int size = 0;            // characters of a Char field
    QString displayFormat;   // "0", "0.00", "0.##", "0.0000" or empty
    std::optional<double> minValue;
    std::optional<double> maxValue;
    bool calculated = false;
    // How the user knows the field in messages: "ř. 21", or its label in a window; empty
    // for the field's name.
    QString label = {};
    // A Char field whose values are digits (IČO, PSČ, account numbers, telephone numbers):
    // windows show it as wide as a number of its size.
    bool digits = false;
};

// The field as messages name it: the line of the return ("ř. 21"), the window's label
// ("pole „Telefon“"), or the field's name.
QString fieldCaption(const FieldDef &field);

struct IndexDef {
    QString name;        // empty for the primary index
    QStringList fields;
    bool primary = false;
};

// The description of one table: the same data creates templates, checks a file on open,
// and drives generic code (copying, JSON output, grids).
class TableDef {
public:
    TableDef() = default;
    TableDef(QString name, QString fileName);

    QString name;       // Dcis
    QString fileName;   // Dcis.DB
    QList<FieldDef> fields;
    QList<IndexDef> indexes;

    TableDef &add(FieldDef field);
    TableDef &add(const QList<FieldDef> &list);
    TableDef &primaryKey(const QStringList &keyFields);
    TableDef &index(const QString &indexName, const QStringList &indexFields);

    int indexOf(const QString &fieldName) const;  // ignores case; -1 when absent
    const FieldDef *field(const QString &fieldName) const;
    const IndexDef *primaryIndex() const;
    const IndexDef *namedIndex(const QString &indexName) const;
    QList<FieldDef> storedFields() const;
    // The same table without some stored fields: an older layout, for tests and conversions.
    TableDef without(const QStringList &fieldNames) const;
};

// Declared type text as it is written into the table file.
QString sqlTypeName(const FieldDef &field);

// Builders for the common kinds of field.
FieldDef floatField(const QString &name, const QString &format = {}, std::optional<double> min = {},
                    std::optional<double> max = {});
FieldDef amountField(const QString &name);            // whole crowns, "0", eleven digits
FieldDef coefficientField(const QString &name);       // "0.00", -9.99 to 9.99
FieldDef textField(const QString &name, int size);
FieldDef digitsField(const QString &name, int size);  // a text field of digits
FieldDef boolField(const QString &name);
FieldDef dateField(const QString &name);
FieldDef smallintField(const QString &name, std::optional<double> min = {}, std::optional<double> max = {});
FieldDef integerField(const QString &name, std::optional<double> min = {}, std::optional<double> max = {});
FieldDef autoIncField(const QString &name);
FieldDef memoField(const QString &name);
FieldDef calculated(FieldDef field);
QList<FieldDef> amountFields(const QStringList &names);

}  // namespace rur::engine
