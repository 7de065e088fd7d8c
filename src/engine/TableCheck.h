#pragma once

// The checks a table file passes before the program takes it: the same whether the table is
// opened for work or a file from outside (an archive, an earlier edition, a sibling program)
// is checked before anything of the user's data is changed.

#include "engine/TableDef.h"

#include <QString>
#include <QStringList>

namespace rur::engine {

class SqliteFile;

// The file holds the table of that name and nothing but it and its indexes (SQLite's own
// bookkeeping tables aside): no other table, no view, no trigger that would change what a
// write does. Empty when it does; else why not. *fileTable receives the name as stored.
// schema is the attached database's name ("main" for the file itself).
QString schemaDamage(SqliteFile &db, const QString &schema, const QString &tableName, QString *fileTable = nullptr);

// The first stored field of def that the table lacks and that is not in allowMissing.
QString missingField(SqliteFile &db, const QString &schema, const QString &fileTable, const TableDef &def,
                     const QStringList &allowMissing = {});

// Every value of every row fits its field, as reading the table requires (fields the table
// lacks are skipped). Empty when they do; else which field holds a value that does not fit.
QString valueDamage(SqliteFile &db, const QString &schema, const QString &fileTable, const TableDef &def);

// Why a table file can't be taken as the table def describes: not a regular file of a
// plausible size, truncated or damaged, holding something beside its table, lacking a field
// (but those of allowMissing, which the opening adds), or holding a value that does not fit
// its field. Empty when it can be taken. The file is only read.
QString tableFileDamage(const QString &path, const TableDef &def, const QStringList &allowMissing = {});

}  // namespace rur::engine
