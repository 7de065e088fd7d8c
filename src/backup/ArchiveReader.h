#pragma once

#include "engine/TableFile.h"

#include <QHash>
#include <QString>
#include <QtGlobal>

struct zip;

namespace rur::backup {

// Largest member, and largest sum of the members taken from one archive, that a restore
// accepts: a member is a table file, which is never larger than a table may be; the sum is
// far beyond any data set and well below what fills a disk by surprise.
inline constexpr qint64 kMaxMemberBytes = engine::kMaxTableFileSize;
inline constexpr qint64 kMaxArchiveBytes = qint64(1) << 30;

// A member name that would land outside the folder it is extracted into.
bool unsafeMemberName(const QString &name);

// An archive from outside the program, opened for reading. Opening checks the whole member
// directory first, so that a damaged or crafted archive is refused before anything is written:
// a file that is not a ZIP archive or is cut short, a member name that is absolute or has a
// ".." part, a member that is a symbolic link or another special file, and two members whose
// names differ only in case directly in the archive's top folder.
class ArchiveReader {
public:
    ArchiveReader() = default;
    ~ArchiveReader();
    ArchiveReader(const ArchiveReader &) = delete;
    ArchiveReader &operator=(const ArchiveReader &) = delete;

    bool open(const QString &path, QString *error = nullptr);
    bool isOpen() const { return za_ != nullptr; }
    void close();

    // Index of the member of that name (case ignored) directly in the top folder; -1 when
    // there is none. Members in subfolders never match.
    qint64 find(const QString &name) const;
    // The size the member's header declares (-1 when it declares none or can't be read).
    qint64 declaredSize(qint64 index) const;

    // Writes a member into a new regular file at target, which must not exist yet. The member
    // may hold at most kMaxMemberBytes and at most *budget bytes, whatever its header says;
    // *budget is reduced by what was written. On failure the file is removed. No flush: the
    // caller flushes the folder once.
    bool extract(qint64 index, const QString &target, qint64 *budget, QString *error = nullptr);

private:
    ::zip *za_ = nullptr;
    QHash<QString, qint64> topLevel_;  // lower-case name → index
};

}  // namespace rur::backup
