#pragma once

#include "engine/TableDef.h"

#include <QString>

namespace rur::engine {

class Database;

struct AlterTableStatement {
    QString table;
    QList<FieldDef> columns;
};

// "Alter Table Prp Add Kraj Char(24), Add D Date" (the text may span lines that begin with
// ", Add"); types Float, Char(n), Boolean, Date, Smallint, Integer. Throws EngineError.
AlterTableStatement parseAlterTable(const QString &sql);

// Runs a statement of the program's local SQL on the tables of a database:
// Alter Table (all columns of the statement or none are added) and
// "Update T set F = True/False". Throws EngineError (ErrSql) when it fails.
void executeSql(Database &database, const QString &sql);

}  // namespace rur::engine
