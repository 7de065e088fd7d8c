#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace rur::platform {
class Prompter;
}

namespace rur::base {

// Where a folder is mounted, as /proc/self/mountinfo tells it.
struct MountEntry {
    QString mountPoint;
    QString fsType;
    QStringList options;  // the mount's and the file system's options together
};
QList<MountEntry> parseMountInfo(const QByteArray &text);
// The mount that holds the path (the longest mount point it lies under); none when none does.
std::optional<MountEntry> mountOf(const QList<MountEntry> &mounts, const QString &path);

// Why the table engine's locks, taken on this mount, are not seen by other computers: an NFS
// mount with nolock or local locks, an SMB/CIFS mount with nobrl, an SSH file system. Empty
// when the locks reach the server (or the mount is local).
QString lockProblem(const MountEntry &mount);

// The plain message for a shared data root whose locks don't reach other computers; empty
// when they do (or the mounts can't be read).
QString sharedLockMessage(const QString &dataRoot, const QList<MountEntry> &mounts);
QList<MountEntry> systemMounts();
// Shows sharedLockMessage for the system's mounts when there is one.
void warnAboutSharedLocks(const QString &dataRoot, platform::Prompter &prompter);

}  // namespace rur::base
