#pragma once

#include "engine/TableDef.h"

#include <QList>
#include <QStringList>
#include <QVariantMap>
#include <functional>
#include <utility>

namespace rur::engine {

class SqliteFile;

// Creates a table file with the declared schema and the given rows (values by field name).
// The file appears whole or not at all: it is built beside the target and renamed over it.
void createTableFile(const QString &path, const TableDef &def, const QList<QVariantMap> &rows = {});

// Copies a file over another so that a crash leaves either the old or the new file.
// Returns false when the source can't be read or the target can't be written.
bool replaceFileAtomically(const QString &source, const QString &target);

// Copies several files (source, target) the same way, with one flush of the file system
// for all of them instead of one per file. Returns false when any copy failed; the others
// are still done.
bool replaceFilesAtomically(const QList<std::pair<QString, QString>> &copies);

// A free name beside target for a copy that is renamed over it when whole (".X.DB.tmp<pid>-<random>",
// which isWorkFile recognises).
QString tempPathBeside(const QString &target);

// Size beyond any real table of a data set: a larger file is refused, never read or copied.
inline constexpr qint64 kMaxTableFileSize = qint64(256) << 20;
// A regular file (a link to one counts) of at most limit bytes: no device, pipe or folder.
bool isPlainFileWithin(const QString &path, qint64 limit);

// Why a table file can't be trusted as a whole table of the given name (not a regular file
// of a plausible size, truncated or damaged, or holding no such table); empty when it can.
QString tableFileDamage(const QString &path, const QString &tableName);

// Files beside tables that are never data: SQLite's journals ("X.DB-journal", "-wal",
// "-shm", and the super-journal "X.DB-mj" of a write over several tables) and the program's
// own temporary copies (".X.DB.tmp...", and libzip's ".X.zip.tmp....XXXXXX" beside an archive
// it writes). They are neither archived nor restored, and what a killed procedure left of
// them goes when the data set is next opened.
bool isWorkFile(const QString &fileName);
// Removes what killed writers left in a directory of tables: a journal goes once SQLite has
// had the chance to play it back into its table (a hot one is played back and goes by
// itself), a super-journal once none of the journals it names is left, a temporary copy
// always. Only for a directory that no other instance works in.
void removeWorkFiles(const QString &directory);

// Whether the program may write a file or directory (also false on a read-only medium).
bool isWritablePath(const QString &path);
// "Do adresáře … nelze zapisovat." for a directory path, shown in the system's form.
QString readOnlyDirectoryMessage(const QString &directory);

// Column names of the table inside an open file, in their stored order.
QStringList tableColumns(SqliteFile &db, const QString &tableName);

QString createTableSql(const TableDef &def);
QStringList createIndexSql(const TableDef &def);

// Named points inside multi-step file work. Tests install a hook to stop the process there
// (kill -9) and then prove that every table file is still whole.
void crashPoint(const char *name);
void setCrashHook(std::function<void(const char *)> hook);

}  // namespace rur::engine
