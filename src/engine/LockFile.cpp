#include "engine/LockFile.h"

#include <QFile>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rur::engine {

LockFile::LockFile(QString path, bool readOnly) : path_(std::move(path)), readOnly_(readOnly) {}

LockFile::~LockFile()
{
    closeFile();
}

void LockFile::closeFile()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

bool LockFile::ensureOpen()
{
    if (fd_ >= 0)
        return true;
    const QByteArray native = QFile::encodeName(path_);
    fd_ = readOnly_ ? ::open(native.constData(), O_RDONLY | O_CLOEXEC)
                    : ::open(native.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    return fd_ >= 0;
}

bool LockFile::lock(std::int64_t offset, bool exclusive)
{
    // A lock taken on a file that a stale-lock cleaner deleted meanwhile protects nothing:
    // after locking, make sure the path still names the locked file, else start again.
    if (exclusive && readOnly_)
        return false;
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (!ensureOpen())
            return false;
        struct flock fl{};
        fl.l_type = exclusive ? F_WRLCK : F_RDLCK;
        fl.l_whence = SEEK_SET;
        fl.l_start = offset;
        fl.l_len = 1;
        if (::fcntl(fd_, F_OFD_SETLK, &fl) != 0)
            return false;
        struct stat byFd{}, byPath{};
        const QByteArray native = QFile::encodeName(path_);
        if (::fstat(fd_, &byFd) == 0 && ::stat(native.constData(), &byPath) == 0 && byFd.st_ino == byPath.st_ino
            && byFd.st_dev == byPath.st_dev)
            return true;
        closeFile();
    }
    return false;
}

bool LockFile::lockShared(std::int64_t offset)
{
    return lock(offset, false);
}

bool LockFile::lockExclusive(std::int64_t offset)
{
    return lock(offset, true);
}

void LockFile::unlock(std::int64_t offset)
{
    if (fd_ < 0)
        return;
    struct flock fl{};
    fl.l_type = F_UNLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = offset;
    fl.l_len = 1;
    ::fcntl(fd_, F_OFD_SETLK, &fl);
}

std::int64_t LockFile::tableSlot(const QString &tableName)
{
    // FNV-1a over the upper-case name, kept below 2^40 so that the offset is valid everywhere.
    std::uint64_t h = 1469598103934665603ULL;
    for (QChar c : tableName.toUpper()) {
        h ^= c.unicode();
        h *= 1099511628211ULL;
    }
    return 1 + static_cast<std::int64_t>(h & ((std::uint64_t(1) << 40) - 1));
}

bool deleteStaleLockFile(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return !QFile::exists(path);
    struct flock fl{};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = 0;
    fl.l_len = 0;  // the whole file: every byte any holder might lock
    bool gone = false;
    if (::fcntl(fd, F_OFD_SETLK, &fl) == 0)
        gone = ::unlink(native.constData()) == 0;
    ::close(fd);
    return gone;
}

void deleteStaleLockFiles(const QString &directory)
{
    if (deleteStaleLockFile(directory + QLatin1String(kUsersLockFile)))
        deleteStaleLockFile(directory + QLatin1String(kDirectoryLockFile));
}

}  // namespace rur::engine
