#pragma once

#include "engine/TableDef.h"

#include <QString>

namespace rur::engine {

// Translates a filter or where-clause of the program ("Cislo = 1", "Typ = True and
// Nazev <> 'x'") into SQLite syntax. Only field names of the table, numbers, quoted texts,
// True/False, comparisons, and/or/not and parentheses are allowed; anything else throws
// EngineError, so no text reaches SQLite unchecked.
QString filterToSql(const QString &expression, const TableDef &def);

}  // namespace rur::engine
