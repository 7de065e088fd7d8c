#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QVariant>
#include <utility>

namespace rur::engine {
class Table;
}

namespace rur::testing {

// Field names and values, set in the order given: a rule of one field may change another.
using FieldValues = QList<std::pair<QString, QVariant>>;

// The values of a map in the order of their names.
FieldValues inNameOrder(const QVariantMap &values);

// Sets fields of a table's current row and posts it, through the data module's rules.
void setRow(engine::Table &table, const FieldValues &values);
// Appends a row with these fields set and posts it, opening the table when it is closed.
void appendRow(engine::Table &table, const FieldValues &values);
// Closes and opens a table, so that it shows what its file holds (as another process sees it).
void reread(engine::Table &table);

}  // namespace rur::testing
