#include "base/SharedLocks.h"

#include "platform/Prompter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace rur::base {

namespace {

// Mount points are written with octal escapes for blanks, tabs, line breaks and backslashes.
QString unescape(const QByteArray &field)
{
    QByteArray out;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out.append(char(code));
                i += 3;
                continue;
            }
        }
        out.append(field[i]);
    }
    return QString::fromUtf8(out);
}

bool hasOption(const MountEntry &m, const QString &option)
{
    return m.options.contains(option);
}

}  // namespace

QList<MountEntry> parseMountInfo(const QByteArray &text)
{
    QList<MountEntry> mounts;
    for (const QByteArray &line : text.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        // id parent major:minor root mount-point options [optional...] - type source super-options
        const qsizetype dash = fields.indexOf("-");
        if (fields.size() < 6 || dash < 6 || dash + 1 >= fields.size())
            continue;
        MountEntry m;
        m.mountPoint = unescape(fields[4]);
        m.fsType = QString::fromUtf8(fields[dash + 1]);
        m.options = QString::fromUtf8(fields[5]).split(u',');
        if (dash + 3 < fields.size())
            m.options += QString::fromUtf8(fields[dash + 3]).split(u',');
        mounts.append(m);
    }
    return mounts;
}

std::optional<MountEntry> mountOf(const QList<MountEntry> &mounts, const QString &path)
{
    const QString cleaned = QDir::cleanPath(path);
    const MountEntry *best = nullptr;
    // Later mounts hide earlier ones on the same point, so the last of equal length wins.
    for (const MountEntry &m : mounts) {
        const QString point = QDir::cleanPath(m.mountPoint);
        const bool under = point == u"/"_s || cleaned == point || cleaned.startsWith(point + u'/');
        if (under && (!best || point.size() >= QDir::cleanPath(best->mountPoint).size()))
            best = &m;
    }
    if (!best)
        return std::nullopt;
    return *best;
}

QString lockProblem(const MountEntry &m)
{
    const QString type = m.fsType;
    if (type == u"nfs"_s || type == u"nfs4"_s) {
        if (hasOption(m, u"nolock"_s))
            return u"síťový disk NFS je připojen s volbou nolock"_s;
        if (hasOption(m, u"local_lock=all"_s) || hasOption(m, u"local_lock=posix"_s))
            return u"síťový disk NFS je připojen s místními zámky (local_lock)"_s;
    }
    if ((type == u"cifs"_s || type == u"smb3"_s) && hasOption(m, u"nobrl"_s))
        return u"síťový disk SMB/CIFS je připojen s volbou nobrl"_s;
    if (type == u"fuse.sshfs"_s)
        return u"disk připojený přes SSH (sshfs) zámky nepřenáší"_s;
    return {};
}

QString sharedLockMessage(const QString &dataRoot, const QList<MountEntry> &mounts)
{
    const QFileInfo info(dataRoot);
    const QString path = info.exists() ? info.canonicalFilePath() : QDir::cleanPath(dataRoot);
    const std::optional<MountEntry> m = mountOf(mounts, path);
    if (!m)
        return {};
    const QString problem = lockProblem(*m);
    if (problem.isEmpty())
        return {};
    return u"Adresář "_s + dataRoot + u" nechrání data před současnou prací více počítačů: "_s + problem
           + u".\nRUR zpracovávané na jiném počítači se zde neukáže jako obsazené. Připojte disk se zámky, "
             u"nebo s daty pracujte vždy jen z jednoho počítače."_s;
}

QList<MountEntry> systemMounts()
{
    QFile file(u"/proc/self/mountinfo"_s);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // The file is a view of the kernel's table: read it whole, it has no known size.
    return parseMountInfo(file.readAll());
}

void warnAboutSharedLocks(const QString &dataRoot, platform::Prompter &prompter)
{
    if (const QString message = sharedLockMessage(dataRoot, systemMounts()); !message.isEmpty())
        prompter.error(message);
}

}  // namespace rur::base
