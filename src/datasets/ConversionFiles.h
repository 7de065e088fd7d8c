#pragma once

// File work of the conversion of earlier data: finding names the way the earlier (Windows)
// installation spelled them, bounded copies, the check that a copied table is readable, and
// the private folders the copies are built in.

#include "engine/TableDef.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace rur::engine {
class SqliteFile;
}

namespace rur::datasets {

// The entries of a folder, found by name regardless of case (the earlier installation may
// have been copied from a system that ignores case).
class FolderEntries {
public:
    explicit FolderEntries(const QString &folder);
    // Path of the entry with this name (the exact spelling first); empty when there is none.
    QString find(const QString &name) const;

private:
    QString folder_;  // ends in '/'
    QStringList names_;
};

// Checks table files held in memory, one after another on one SQLite connection of its own:
// every page read (quick_check) and at least one table in the file; given the table's
// description, also what opening the table checks (nothing but the table and its indexes,
// no field lacking but those of allowMissing, every value fitting its field).
class TableChecker {
public:
    TableChecker();
    ~TableChecker();
    TableChecker(const TableChecker &) = delete;
    TableChecker &operator=(const TableChecker &) = delete;
    // Empty when the bytes are a whole table file, else "Tabulka … je poškozená nebo
    // nečitelná.". The bytes are only read, in place.
    QString problem(QByteArray &bytes, const QString &fileName, const engine::TableDef *def = nullptr,
                    const QStringList &allowMissing = {});

private:
    std::unique_ptr<engine::SqliteFile> db_;
};

// Copies a table file (and a journal a crashed writer left beside it, so that the copy
// rolls it back) into a new file, checked. Empty on success, else the reason in Czech; a
// file that is no regular file or is larger than the conversion takes is refused, and a
// damaged one is not written. A Paradox table (with the memo file beside it) is converted
// into a table file instead, keyed as def says (engine/ParadoxImport.h).
QString copyTableFile(const QString &from, const QString &to, TableChecker &checker,
                      const engine::TableDef *def = nullptr, const QStringList &allowMissing = {});
// The data-set ini, without the settings of the earlier installation (clearEarlierSettings).
QString copySettingsFile(const QString &from, const QString &to, const QString &section);
// Empty when the file is a whole SQLite table file; else "Tabulka … je poškozená nebo nečitelná."
QString tableFileProblem(const QString &path, const engine::TableDef *def = nullptr,
                         const QStringList &allowMissing = {});

// A new private folder name in the data root, ending in '/': hidden, never a data-set name.
QString newStagingPath(const QString &dataRoot, const QString &dataSetDir);
// Removes the private folders a conversion that was killed left behind (only those that
// have not changed for a while, so that a conversion running elsewhere is left alone).
void removeStaleStaging(const QString &dataRoot);
// "D3.puvodni", "D3.puvodni2", ...: the first name beside target that is free.
QString freeAsideName(const QString &target);

// While a conversion runs it holds its lock file in the data root, and it notes each data set
// it puts in place (and where a folder that stood in the way went) in its list before it
// moves anything. The list goes once the catalogue is written.
QString conversionLockPath(const QString &dataRoot);
bool notePlacement(const QString &dataRoot, const QString &target, const QString &aside);
void removePlacementNotes(const QString &dataRoot);
// What a killed conversion left in a data root: with no catalogue written, every data set it
// put in place goes, the folders it moved aside come back and the passwords are emptied;
// its private folders and temporary copies go. Nothing happens while a conversion runs.
void finishInterruptedConversion(const QString &dataRoot);

bool renamePath(const QString &from, const QString &to);
// Makes everything written under the folder durable (one flush of its file system).
bool syncFileSystemOf(const QString &folder);
void syncDirectory(const QString &folder);

}  // namespace rur::datasets
