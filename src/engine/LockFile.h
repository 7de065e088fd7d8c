#pragma once

#include <QString>
#include <cstdint>

namespace rur::engine {

// A lock file with advisory byte-range locks held per open file description, so that two
// instances of the program, and two opens inside one program, see each other's locks.
// Byte 0 marks that an instance works in the directory; other bytes stand for single tables.
class LockFile {
public:
    // A read-only lock file is opened only when it exists, never created, and takes only
    // shared locks: a reader leaves another program's directory as it found it.
    explicit LockFile(QString path, bool readOnly = false);
    ~LockFile();
    LockFile(const LockFile &) = delete;
    LockFile &operator=(const LockFile &) = delete;

    // Non-blocking; false when another holder's lock conflicts or the file can't be opened.
    bool lockShared(std::int64_t offset);
    bool lockExclusive(std::int64_t offset);
    void unlock(std::int64_t offset);

    QString path() const { return path_; }

    // The byte that stands for a table in its directory's lock file.
    static std::int64_t tableSlot(const QString &tableName);

private:
    bool lock(std::int64_t offset, bool exclusive);
    bool ensureOpen();
    void closeFile();

    QString path_;
    bool readOnly_ = false;
    int fd_ = -1;
};

// Deletes a lock file only when no live holder has any lock on it; true when it is gone.
bool deleteStaleLockFile(const QString &path);
// The lock files of a directory: Pdoxusrs.lck, then Paradox.lck only when the first is gone.
void deleteStaleLockFiles(const QString &directory);

inline constexpr char kUsersLockFile[] = "Pdoxusrs.lck";
inline constexpr char kDirectoryLockFile[] = "Paradox.lck";

}  // namespace rur::engine
