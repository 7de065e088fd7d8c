#pragma once

#include <QString>

namespace rur::check {

// Where an attribute of the filing file is fixed: the table and field the user edits for it
// and how the user sees that place ("ř. 1", "DIČ", "Rok").
struct FilingSource {
    QString table;
    QString field;
    QString where;
};

// The source of an attribute of an element of the filing file; empty for the constants the
// program writes itself and for unknown attributes.
FilingSource filingSource(const QString &element, const QString &attribute);

}  // namespace rur::check
