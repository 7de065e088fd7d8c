#include "base/Paths.h"

#include "base/Program.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace rur::base {

namespace {

const QString kDat = u"%AdresarDat%"_s;
const QString kUziv = u"%AdresarUziv%"_s;
const QString kDisk = u"%Disk%"_s;

QString kindFolder(int kind)
{
    switch (kind) {
    case KindBackup: return u"Zaloha/"_s;
    case KindKpc: return u"KPC/"_s;
    case KindXml: return u"XML/"_s;
    default: return {};
    }
}

// A folder prefix matches only up to a path boundary (/home/a/share must not match
// /home/a/share2/x) and in the same case: the file system tells /A/Share from /a/share.
bool beginsWithFolder(const QString &path, const QString &folder)
{
    if (folder.isEmpty() || !path.startsWith(folder, Qt::CaseSensitive))
        return false;
    return path.size() == folder.size() || path.at(folder.size()) == u'/' || folder.endsWith(u'/');
}

// Templates carried over from earlier editions, and typed by users used to them, separate
// folders with a backslash; here it is the folder separator it was meant as.
QString withForwardSlashes(const QString &path)
{
    QString result = path;
    return result.replace(u'\\', u'/');
}

// A Windows drive letter ("F:/...") names no folder on this system.
bool hasDriveLetter(const QString &path)
{
    return path.size() >= 2 && path.at(1) == u':' && path.at(0).isLetter();
}

// Without drive letters the "drive" of an absolute path is the file-system root.
QString driveOf(const QString &path)
{
    return QDir::isAbsolutePath(path) ? u"/"_s : QString();
}

}  // namespace

QString CestyTyp1(const Directories &dirs, int type, int kind, const QString &prefix, const QString &stem)
{
    const QString tail = u"/Tervik/RUR "_s + QString::number(kProgramYear) + u'/';
    QString base;
    switch (type) {
    case 1: base = dirs.dataIniDir.isEmpty() ? kDat + tail : dirs.dataIniDir; break;
    case 2: base = kUziv + tail; break;
    case 3: base = kDisk + tail; break;
    default: break;
    }
    QString ext;
    switch (kind) {
    case KindBackup: ext = u".zip"_s; break;
    case KindKpc: ext = u".kpc"_s; break;
    case KindXml: ext = u".xml"_s; break;
    default: return base;
    }
    // Without a base the path is relative, and CestyTyp2 puts the kind's folder in front.
    if (type != 4)
        base += kindFolder(kind);
    return base + prefix + stem + ext;
}

QString CestyTyp2(const Directories &dirs, const QString &pathTemplate, int kind)
{
    // A leading backslash marks a relative path, not the file-system root.
    QString result = withForwardSlashes(pathTemplate.startsWith(u'\\') ? pathTemplate.mid(1) : pathTemplate);
    if (hasDriveLetter(result))
        return u"Nastavte správně cestu."_s;
    const auto expand = [&](const QString &marker, const QString &folder) {
        if (!result.startsWith(marker, Qt::CaseInsensitive))
            return;
        QString rest = result.mid(marker.size());
        if (!rest.startsWith(u'/'))
            rest.prepend(u'/');
        result = folder.isEmpty() ? QString() : folder + rest;
    };
    expand(kDat, dirs.commonDataFolder);
    expand(kUziv, dirs.documentsFolder);
    if (!result.isEmpty() && !QDir::isAbsolutePath(result) && !result.contains(u'%')) {
        if (kind == KindNone)
            result.clear();
        else
            result = dirs.localDataRoot + kindFolder(kind) + result;
    }
    if (result.startsWith(kDisk, Qt::CaseInsensitive))
        return u"Nastavte písmeno disku (např. F:)."_s;
    if (result.isEmpty() || result.contains(u'%'))
        return u"Nastavte správně cestu."_s;
    return result;
}

bool isPathMessage(const QString &text)
{
    return text == u"Nastavte písmeno disku (např. F:)."_s || text == u"Nastavte správně cestu."_s;
}

QString CestyTyp3(const Directories &dirs, const QString &path)
{
    QString result = withForwardSlashes(path);
    if (beginsWithFolder(result, dirs.commonDataFolder))
        result = kDat + result.mid(dirs.commonDataFolder.size());
    if (beginsWithFolder(result, dirs.documentsFolder))
        result = kUziv + result.mid(dirs.documentsFolder.size());
    return result;
}

QString DirTyp(const Directories &dirs, int type, const QString &pathText)
{
    const QString path = withForwardSlashes(pathText);
    QString result;
    switch (type) {
    case 1: {
        QDir parent(dirs.localDataRoot);
        parent.cdUp();
        result = withSlash(parent.absolutePath());
        break;
    }
    case 2:
        result = driveOf(path);
        if (result.isEmpty())
            result = dirs.localDataRoot;
        if (beginsWithFolder(path, dirs.commonDataFolder))
            result = dirs.commonDataFolder + u"/Tervik/"_s;
        if (!dirs.dataIniDir.isEmpty() && path.startsWith(dirs.dataIniDir))
            result = dirs.dataIniDir;
        if (beginsWithFolder(path, dirs.documentsFolder)) {
            result = dirs.documentsFolder + u"/Tervik/"_s;
            if (!QFileInfo(result).isDir())
                result = dirs.documentsFolder + u'/';
        }
        break;
    case 3: result = driveOf(dirs.dataRoot); break;
    case 4: result = dirs.localDataRoot; break;
    case 5: result = driveOf(dirs.localDataRoot); break;
    default: break;
    }
    if (result.isEmpty() || !QFileInfo(result).isDir())
        result = dirs.localDataRoot;
    return result;
}

QString DirTyp2(const Directories &dirs, const QString &pathText, const QString &defaultPath)
{
    const QString path = withForwardSlashes(pathText);
    if (path.startsWith(kDat + u"/Tervik/"_s, Qt::CaseInsensitive) && !dirs.commonDataFolder.isEmpty())
        return dirs.commonDataFolder + u"/Tervik/"_s;
    return defaultPath;
}

QString fileStemFromNames(const QString &tia, const QString &jmb, const QString &pra, const QString &oj1a,
                          const QString &ojp3)
{
    const bool personal = !tia.isEmpty() || !jmb.isEmpty() || !pra.isEmpty();
    const bool company = !oj1a.isEmpty() || !ojp3.isEmpty();
    QString stem;
    if (personal && !company)
        stem = (tia + u' ' + jmb + u' ' + pra).trimmed();
    else if (!personal && company)
        stem = ojp3.isEmpty() ? oj1a.trimmed() : ojp3.left(130).trimmed();
    for (QChar c : u"\\/:*?\"<>|"_s)
        stem.remove(c);
    return stem.trimmed();
}

}  // namespace rur::base
