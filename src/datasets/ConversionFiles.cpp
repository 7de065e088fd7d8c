#include "datasets/ConversionFiles.h"

#include "datasets/Conversion.h"
#include "engine/EngineError.h"
#include "engine/Sqlite.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace rur::datasets {

namespace {

constexpr qint64 kMaxSettingsFileBytes = 4 * 1024 * 1024;

QString withoutSlash(const QString &path)
{
    return QDir::cleanPath(path);
}

QString copyBounded(const QString &from, const QString &to, qint64 limit)
{
    const QFileInfo info(from);
    if (!info.isFile())
        return u"Soubor "_s + from + u" nelze přečíst."_s;
    if (info.size() > limit)
        return u"Soubor "_s + from + u" je příliš velký."_s;
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        return u"Soubor "_s + from + u" nelze přečíst."_s;
    QFile out(to);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return u"Soubor "_s + to + u" nelze vytvořit."_s;
    char buffer[65536];
    qint64 total = 0;
    for (;;) {
        const qint64 n = in.read(buffer, sizeof buffer);
        if (n < 0)
            return u"Soubor "_s + from + u" nelze přečíst."_s;
        if (n == 0)
            break;
        total += n;
        if (total > limit)  // the file grew while it was read
            return u"Soubor "_s + from + u" je příliš velký."_s;
        if (out.write(buffer, n) != n)
            return u"Soubor "_s + to + u" nelze zapsat (není dost místa na disku?)."_s;
    }
    if (!out.flush())
        return u"Soubor "_s + to + u" nelze zapsat (není dost místa na disku?)."_s;
    return {};
}

}  // namespace

FolderEntries::FolderEntries(const QString &folder) : folder_(withoutSlash(folder) + u'/')
{
    names_ = QDir(folder_).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

QString FolderEntries::find(const QString &name) const
{
    if (name.isEmpty())
        return {};
    if (names_.contains(name))
        return folder_ + name;
    for (const QString &entry : names_)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return folder_ + entry;
    return {};
}

QString copyTableFile(const QString &from, const QString &to)
{
    if (QString problem = copyBounded(from, to, kMaxConvertedFileBytes); !problem.isEmpty())
        return problem;
    const QString journal = from + u"-journal"_s;
    if (QFileInfo(journal).isFile())
        return copyBounded(journal, to + u"-journal"_s, kMaxConvertedFileBytes);
    return {};
}

QString copyPlainFile(const QString &from, const QString &to)
{
    return copyBounded(from, to, kMaxSettingsFileBytes);
}

QString tableFileProblem(const QString &path)
{
    const QString unreadable = u"Tabulka "_s + QFileInfo(path).fileName() + u" je poškozená nebo nečitelná."_s;
    engine::SqliteFile db;
    QString error;
    if (!db.open(path, false, &error))
        return unreadable;
    try {
        // Reading rolls back a journal a crashed writer left; quick_check then reads every page.
        engine::Statement check(db, u"PRAGMA quick_check(1)"_s);
        if (!check.step() || check.columnText(0) != u"ok"_s)
            return unreadable;
        engine::Statement tables(
            db, u"SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%'"_s);
        if (!tables.step() || tables.columnInt64(0) < 1)
            return unreadable;
    } catch (const engine::EngineError &) {
        return unreadable;
    }
    return {};
}

QString newStagingPath(const QString &dataRoot, const QString &dataSetDir)
{
    const QString stem = dataSetDir.isEmpty() ? QString() : dataSetDir + u'.';
    return withoutSlash(dataRoot) + u"/."_s + stem + u"prevod-"_s + QString::number(::getpid()) + u'-'
           + QString::number(QRandomGenerator::global()->generate(), 16) + u'/';
}

void removeStaleStaging(const QString &dataRoot)
{
    static const QRegularExpression staging(u"^\\.(D[0-9]{1,9}\\.)?prevod-[0-9]+-[0-9a-f]+$"_s);
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-3600);
    QDir root(dataRoot);
    for (const QFileInfo &entry : root.entryInfoList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot)) {
        if (entry.isSymLink() || !staging.match(entry.fileName()).hasMatch())
            continue;
        if (entry.lastModified().toUTC() < before)
            QDir(entry.absoluteFilePath()).removeRecursively();
    }
}

QString freeAsideName(const QString &target)
{
    const QString base = withoutSlash(target) + u".puvodni"_s;
    QString name = base;
    for (int n = 2; QFileInfo::exists(name) || QFileInfo(name).isSymLink(); ++n)
        name = base + QString::number(n);
    return name;
}

bool renamePath(const QString &from, const QString &to)
{
    return ::rename(QFile::encodeName(withoutSlash(from)).constData(), QFile::encodeName(withoutSlash(to)).constData())
           == 0;
}

bool syncFileSystemOf(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::syncfs(fd) == 0;
    ::close(fd);
    return ok;
}

void syncDirectory(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace rur::datasets
