#pragma once

// Helpers the parts of the table cursor share: comparing values in index order and turning
// field values into what the file stores and back.

#include "engine/TableDef.h"

#include <QByteArrayView>
#include <QStringList>
#include <QVariant>

namespace rur::engine {
class Statement;
}

namespace rur::engine::detail {

// Blank values sort first, as in the index order of the original tables; texts in Czech
// order, ignoring case.
int compareValues(const QVariant &a, const QVariant &b, FieldType type);
// Value as written into the file.
QVariant toStorage(const FieldDef &f, const QVariant &v);
// Value as read from the file into *out; false when what the file holds does not fit the
// field (text in a number column, a fraction in a whole-number column, a date that is not
// one): another program wrote it, and the table is not to be taken as it stands.
bool fromStorage(const FieldDef &f, const QVariant &v, QVariant *out);
// The same for a column of a result row, read straight from the statement: what a table's
// rows are read with (a large table is read several times faster than through fromStorage).
bool fromStorage(const FieldDef &f, const Statement &st, int column, QVariant *out);
// Text of a file that the program takes: valid UTF-8 without a NUL (replacement characters
// would change the user's data, and a NUL would cut it short on its way out).
bool isReadableText(QByteArrayView utf8);
// A column of a result row read into a packed row, checked as fromStorage checks it.
class RowPacker;
bool readStored(const FieldDef &f, const Statement &st, int column, RowPacker &row, int index);
// "A;B" field lists.
QStringList splitNames(const QString &names);

}  // namespace rur::engine::detail
