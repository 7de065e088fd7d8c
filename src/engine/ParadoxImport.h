#pragma once

// Paradox tables taken into the program's own format. Where a Paradox file comes in to stay
// (the conversion of an earlier edition, the restore of an earlier edition's backup) it is
// converted into a SQLite table file of the same name before the usual checks run; where the
// program only reads it (the sibling programs' tables) it is read into memory for as long
// as the table is open.

#include "engine/ParadoxTable.h"
#include "engine/TableDef.h"

#include <QString>
#include <memory>

namespace rur::engine {

class SqliteFile;

// The converted table: the Paradox table's fields in their order, each declared as its
// Paradox type maps (so that a text field where def wants a number stays text and fails the
// value check), with def's key and indexes where the table holds all their fields. Without
// def: no key.
TableDef paradoxTableDef(const QString &tableName, const ParadoxTable &table, const TableDef *def);

// Creates the table in the connection and inserts every row, in one transaction. Throws
// EngineError (a key violation when two rows share a key).
void writeParadoxRows(SqliteFile &db, const TableDef &layout, const ParadoxTable &table);

// Converts a Paradox table file and the memo file beside it into a SQLite table file at
// target (which may be the source itself), named after target's file without ".DB". The new
// file is written beside target under a temporary name and renamed into place, not flushed:
// the caller flushes the folder once. Empty, or the damaged-table message naming target's
// file; nothing is left at target then.
QString convertParadoxFile(const QString &source, const QString &target, const TableDef *def);

// The Paradox table file at path, read into a connection of its own in memory as the table
// def names, with the values of def's fields. Throws EngineError ErrUnreadable with the
// damaged-table message.
std::unique_ptr<SqliteFile> paradoxInMemory(const QString &path, const TableDef &def);

}  // namespace rur::engine
