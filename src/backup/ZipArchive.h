#pragma once

#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <functional>

namespace rur::backup {

// Writes a ZIP archive (Deflate) of every file under a directory, recursively, with member
// names relative to it. Files whose name is in excludedNames (case ignored, at any depth)
// are left out. The archive is built under a temporary name beside zipPath and renamed over
// zipPath only when it was written completely and holds one member for every file, so a
// failure (disk full, folder not writable) leaves an existing zipPath untouched.
// members receives the number of members of the finished archive (0 on failure).
bool writeDirectoryArchive(const QString &dir, const QString &zipPath, const QStringList &excludedNames,
                           QString *error = nullptr, int *members = nullptr);

// The same with more say over what goes in.
struct ArchiveOptions {
    // Files and folders of these names (case ignored, at any depth) are left out.
    QStringList excludedNames;
    // Further files and folders left out.
    std::function<bool(const QFileInfo &)> exclude;
    // Files directly in the folder that must be stored: when one is missing nothing is written.
    QStringList requiredNames;
    // Number of files compressed so far, as the archive is written.
    std::function<void(int done, int total)> progress;
    // Deflate level: 1 is several times faster than the higher levels and makes tables only
    // a few percent larger.
    int level = 1;
    // Whether the finished archive is flushed to the disk before it takes its name; a caller
    // that flushes the file system afterwards anyway may leave it.
    bool flush = true;
};
bool archiveDirectory(const QString &dir, const QString &zipPath, const ArchiveOptions &options,
                      QString *error = nullptr, int *members = nullptr);

// Extracts the file members of an archive into a directory, creating folders as needed and
// overwriting existing files (each written beside its target and renamed over it). With
// onlyNames given, only members of those names (case ignored) are extracted; a name the
// archive doesn't hold extracts nothing. An archive holding a member whose name is absolute
// or has a ".." part is refused as a whole before anything is written.
// members receives the number of files extracted, also when a later member failed.
bool extractArchive(const QString &zipPath, const QString &targetDir, QString *error = nullptr, int *members = nullptr,
                    const QStringList &onlyNames = {});

// Member names of an archive; empty when it can't be read.
QStringList archiveMembers(const QString &zipPath);

}  // namespace rur::backup
