#include "backup/FileSwap.h"

#include "engine/TableFile.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace rur::backup {

namespace {

const QString kStagingPrefix = u".obnova-"_s;
const QString kAside = u".puvodni-data"_s;
const QString kDone = u".puvodni-smazat"_s;
// Inside the aside folder: the names that had no old version, one a line.
const QString kNewList = u"Nove.lst"_s;

QString slashed(const QString &path)
{
    return path.endsWith(u'/') ? path : path + u'/';
}

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

bool exists(const QString &path)
{
    struct stat st;
    return ::lstat(native(path).constData(), &st) == 0;
}

bool syncPath(const QString &path, bool directory)
{
    const int fd = ::open(native(path).constData(), (directory ? O_RDONLY | O_DIRECTORY : O_RDWR) | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

bool renamePath(const QString &from, const QString &to)
{
    return std::rename(native(from).constData(), native(to).constData()) == 0;
}

// One flush of the file system that holds the folder: every file written and renamed so
// far reaches the disk before anything that follows.
bool flushFileSystem(const QString &folder)
{
    const int fd = ::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::syncfs(fd) == 0;
    ::close(fd);
    return ok;
}

// A file written whole under a temporary name and renamed, so that a crash never leaves half
// of it; flushed to the disk only when asked to.
bool writeWhole(const QString &target, const QByteArray &bytes, bool flush)
{
    const QString temp = QFileInfo(target).absolutePath() + u"/."_s + QFileInfo(target).fileName() + u".tmp"_s
                         + QString::number(QRandomGenerator::global()->generate(), 16);
    QFile out(temp);
    bool ok = out.open(QIODevice::WriteOnly | QIODevice::NewOnly) && out.write(bytes) == bytes.size() && out.flush()
              && (!flush || ::fsync(out.handle()) == 0);
    out.close();
    ok = ok && out.error() == QFileDevice::NoError && renamePath(temp, target);
    if (!ok)
        QFile::remove(temp);
    return ok;
}

// The old version stays reachable under the aside folder: a second name for the same file,
// or, where the file system has no hard links, a complete copy.
bool keepAside(const QString &live, const QString &aside)
{
    if (::link(native(live).constData(), native(aside).constData()) == 0)
        return true;
    QFile in(live);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    return writeWhole(aside, in.readAll(), true);
}

// Puts every file of the aside folder back and removes the new files that had no old version.
bool putBack(const QString &dir)
{
    const QString aside = dir + kAside + u'/';
    bool ok = true;
    QFile list(aside + kNewList);
    QStringList fresh;
    if (list.open(QIODevice::ReadOnly))
        fresh = QString::fromUtf8(list.readAll()).split(u'\n', Qt::SkipEmptyParts);
    list.close();
    for (const QString &name : QDir(aside).entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (name == kNewList || name.startsWith(u'.'))
            continue;  // the list itself, or a copy that never became whole
        // Renaming a second name of the same file over the first leaves both: the old file
        // was never replaced.
        if (!renamePath(aside + name, dir + name))
            ok = false;
    }
    for (const QString &name : std::as_const(fresh)) {
        if (name.contains(u'/') || name.startsWith(u'.'))
            continue;
        if (exists(dir + name) && !QFile::remove(dir + name))
            ok = false;
    }
    syncPath(dir, true);
    if (ok)
        QDir(aside).removeRecursively();
    return ok;
}

}  // namespace

bool isRestoreWorkFolder(const QFileInfo &entry)
{
    const QString name = entry.fileName();
    return entry.isDir() && (name.startsWith(kStagingPrefix) || name == kAside || name == kDone);
}

QString stagingFolderTemplate(const QString &dataSetPath)
{
    return slashed(dataSetPath) + kStagingPrefix + u"XXXXXX"_s;
}

bool finishInterruptedRestore(const QString &dataSetPath)
{
    const QString dir = slashed(dataSetPath);
    if (exists(dir + kDone))
        QDir(dir + kDone).removeRecursively();
    bool whole = true;
    if (exists(dir + kAside))
        whole = putBack(dir);
    const QStringList staging =
        QDir(dir).entryList({kStagingPrefix + u'*'}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString &name : staging)
        QDir(dir + name).removeRecursively();
    return whole;
}

bool moveIntoPlace(const QString &dataSetPath, const QString &stagingPath, const QStringList &replace,
                   const QStringList &remove, bool *restored)
{
    if (restored)
        *restored = true;
    const QString dir = slashed(dataSetPath);
    const QString staging = slashed(stagingPath);
    const QString aside = dir + kAside + u'/';
    if ((exists(dir + kAside) || exists(dir + kDone)) && !finishInterruptedRestore(dir))
        return false;
    if (!QDir().mkdir(aside))
        return false;
    const auto giveUp = [&] {
        QDir(aside).removeRecursively();
        return false;
    };

    QStringList all = replace;
    for (const QString &name : remove)
        if (!all.contains(name))
            all.append(name);
    QStringList fresh;
    for (const QString &name : std::as_const(all)) {
        for (const QString &file : {name, name + u"-journal"_s})
            if (exists(dir + file) && !keepAside(dir + file, aside + file))
                return giveUp();
        if (replace.contains(name) && !exists(dir + name))
            fresh.append(name);
    }
    // The staged files, the old ones kept aside and the list reach the disk together, before
    // the first file of the data set is replaced.
    if (!writeWhole(aside + kNewList, fresh.join(u'\n').toUtf8(), false) || !flushFileSystem(dir))
        return giveUp();
    engine::crashPoint("restore:kept-aside");

    bool ok = true;
    for (const QString &name : replace) {
        // A journal beside the old table must not be played back into the new one.
        QFile::remove(dir + name + u"-journal"_s);
        if (!renamePath(staging + name, dir + name)) {
            ok = false;
            break;
        }
        engine::crashPoint("restore:moving");
    }
    for (const QString &name : remove) {
        if (!ok || replace.contains(name))
            continue;
        for (const QString &file : {name, name + u"-journal"_s})
            if (exists(dir + file) && !QFile::remove(dir + file))
                ok = false;
    }
    if (!ok) {
        const bool back = putBack(dir);
        if (restored)
            *restored = back;
        return false;
    }
    // From here on the new files stand: a crash before the old ones are gone must not bring
    // them back. One flush of the directory makes the new names and this mark durable
    // together. The old files stay until the caller has seen the data set open.
    if (!renamePath(dir + kAside, dir + kDone))
        QDir(aside).removeRecursively();
    syncPath(dir, true);
    engine::crashPoint("restore:moved");
    return true;
}

void discardOldFiles(const QString &dataSetPath)
{
    QDir(slashed(dataSetPath) + kDone).removeRecursively();
}

bool bringBackOldFiles(const QString &dataSetPath)
{
    const QString dir = slashed(dataSetPath);
    if (!exists(dir + kDone))
        return false;
    if (!renamePath(dir + kDone, dir + kAside))
        return false;
    syncPath(dir, true);
    return putBack(dir);
}

}  // namespace rur::backup
