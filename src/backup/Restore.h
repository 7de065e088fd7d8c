#pragma once

#include "backup/Backup.h"

#include <QStringList>

namespace rur::backup {

// Choices of the group "obnovit".
enum RestoreChoice {
    ObnovitVse = 0,            // "vše"
    ObnovitBezPoplatnika = 1,  // "vše bez údajů o poplatníkovi"
    ObnovitDopisy = 2,         // "dokumenty - dopisy"
    ObnovitAdresar = 3,        // "adresář"
};

// An archive restored with "vše" or "vše bez údajů o poplatníkovi" must yield at least this
// many table files; fewer is not a backup of a data set.
inline constexpr int kMinimumRestoredTables = 11;

// Table files a choice takes from the archive, and those it removes first so that the
// reopening creates them empty when the archive lacks them.
QStringList restoredFiles(int choice);
QStringList removedFiles(int choice);

inline constexpr char16_t kRestoreFailedMessage[] = u"Chyba při obnově datových souborů.";
inline constexpr char16_t kRestoreDoneMessage[] = u"Data byla obnovena.";

// "&Obnovit": asks "Opravdu chcete obnovit data ?", closes the tables, writes the safety
// archive, takes the choice's table files from the archive at completePath and reopens the
// tables. The files are extracted into a folder of their own and checked first: each must
// open as its table (columns that the opening adds may be missing), and "vše" and "vše bez
// údajů o poplatníkovi" need kMinimumRestoredTables of them. Only then do they replace the
// data set's files, each by one rename; any failure leaves the data set as it was.
// Returns true when "Data byla obnovena." was shown. Throws EngineError when the tables
// can't be reopened, after the result has been shown.
bool Obnovit(ArchiveJob &job, const QString &completePath, int choice);

}  // namespace rur::backup
