#pragma once

#include <QFileInfo>
#include <QString>
#include <QStringList>

namespace rur::backup {

// Folders a restore keeps inside the data-set directory while it works: the extracted files
// (".obnova-" and six random characters), the old files kept aside while the new ones move
// in (".puvodni-data") and the old files of a finished move on their way out
// (".puvodni-smazat"). None of them is data of the data set.
bool isRestoreWorkFolder(const QFileInfo &entry);
QString stagingFolderTemplate(const QString &dataSetPath);

// Moves files from the staging folder (inside the data-set directory, so on the same file
// system) into the data-set directory, each by one rename, so
// that every file in the data-set directory is always either its old or its new version.
// The old version of each replaced file, and every file of `remove`, is first kept aside
// (a hard link, or a copy where the file system has none); files of `remove` that have no
// new version are deleted. A failure puts every old file back and removes the new ones
// that had no old version, so the directory is as before. Table journals move with their
// tables. Returns false when the move failed; *restored tells whether the directory is as
// it was (false only when even the way back failed: the old files then stay aside).
bool moveIntoPlace(const QString &dataSetPath, const QString &stagingPath, const QStringList &replace,
                   const QStringList &remove, bool *restored = nullptr);

// After a successful move the old files stay aside until the data set has opened with the
// new ones: then they are discarded; when it did not open, they are brought back (every old
// file returns, new files without an old version go). bringBackOldFiles is true when the
// directory is as before the move.
void discardOldFiles(const QString &dataSetPath);
bool bringBackOldFiles(const QString &dataSetPath);

// Finishes what a killed restore left behind: an interrupted move is undone (every file kept
// aside goes back, new files without an old version are removed), a finished one is cleaned
// up, and stray staging folders are deleted. True when the directory holds no unfinished
// move afterwards.
bool finishInterruptedRestore(const QString &dataSetPath);

}  // namespace rur::backup
