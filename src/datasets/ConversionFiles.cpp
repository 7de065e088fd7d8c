#include "datasets/ConversionFiles.h"

#include "data/Schemas.h"
#include "datasets/Conversion.h"
#include "engine/EngineError.h"
#include "engine/LockFile.h"
#include "engine/ParadoxImport.h"
#include "engine/Sqlite.h"
#include "engine/TableCheck.h"
#include "engine/TableFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace rur::datasets {

namespace {

constexpr qint64 kMaxSettingsFileBytes = 4 * 1024 * 1024;
// Tables up to this size are checked in memory (all of a usual data set's are).
constexpr qint64 kMaxCheckedInMemoryBytes = 64 * 1024 * 1024;

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

QString unreadableTable(const QString &fileName)
{
    return u"Tabulka "_s + fileName + u" je poškozená nebo nečitelná."_s;
}

}  // namespace

FolderEntries::FolderEntries(const QString &folder) : folder_(withoutSlash(folder) + u'/')
{
    // Names only: a folder of an edition with hundreds of data sets is listed without a
    // stat of every entry.
    DIR *dir = ::opendir(QFile::encodeName(folder_).constData());
    if (!dir)
        return;
    while (const dirent *entry = ::readdir(dir)) {
        if (qstrcmp(entry->d_name, ".") != 0 && qstrcmp(entry->d_name, "..") != 0)
            names_.append(QFile::decodeName(entry->d_name));
    }
    ::closedir(dir);
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

TableChecker::TableChecker() : db_(std::make_unique<engine::SqliteFile>())
{
    QString error;
    if (!db_->open(u":memory:"_s, true, &error))
        db_.reset();
}

TableChecker::~TableChecker() = default;

QString TableChecker::problem(QByteArray &bytes, const QString &fileName, const engine::TableDef *def,
                              const QStringList &allowMissing)
{
    if (!db_ || bytes.isEmpty())
        return unreadableTable(fileName);
    sqlite3 *handle = db_->handle();
    bool ok = sqlite3_deserialize(handle, "main", reinterpret_cast<unsigned char *>(bytes.data()), bytes.size(),
                                  bytes.size(), SQLITE_DESERIALIZE_READONLY)
              == SQLITE_OK;
    const auto single = [handle](const char *sql) -> QByteArray {
        sqlite3_stmt *st = nullptr;
        QByteArray out;
        if (sqlite3_prepare_v2(handle, sql, -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
            out = QByteArray(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
        return out;
    };
    ok = ok && single("PRAGMA quick_check(1)") == "ok";
    ok = ok
         && single("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%'").toInt()
                > 0;
    if (ok && def) {
        QString fileTable;
        try {
            ok = engine::schemaDamage(*db_, u"main"_s, def->name, &fileTable).isEmpty()
                 && engine::missingField(*db_, u"main"_s, fileTable, *def, allowMissing).isEmpty()
                 && engine::valueDamage(*db_, u"main"_s, fileTable, *def).isEmpty();
        } catch (const engine::EngineError &) {
            ok = false;
        }
    }
    // The connection lets go of the bytes before the caller may change them.
    sqlite3_deserialize(handle, "main", nullptr, 0, 0, SQLITE_DESERIALIZE_READONLY);
    return ok ? QString() : unreadableTable(fileName);
}

QString copyTableFile(const QString &from, const QString &to, TableChecker &checker, const engine::TableDef *def,
                      const QStringList &allowMissing)
{
    if (engine::tableFileFormatOf(from) == engine::TableFileFormat::Paradox) {
        if (QString problem = engine::convertParadoxFile(from, to, def); !problem.isEmpty())
            return problem;
        // The converted table answers to the same check as a copied one.
        if (def && !engine::tableFileDamage(to, *def, allowMissing).isEmpty()) {
            QFile::remove(to);
            return unreadableTable(QFileInfo(from).fileName());
        }
        return {};
    }
    const QFileInfo info(from);
    const QString journal = from + u"-journal"_s;
    // A journal a crashed writer left is copied along and rolled back in the copy by SQLite,
    // so that file is checked where it lies; so is a table too big to hold in memory.
    if (QFileInfo(journal).isFile() || !info.isFile() || info.size() > kMaxCheckedInMemoryBytes) {
        if (QString problem = copyBounded(from, to, kMaxConvertedFileBytes); !problem.isEmpty())
            return problem;
        if (QFileInfo(journal).isFile())
            if (QString problem = copyBounded(journal, to + u"-journal"_s, kMaxConvertedFileBytes); !problem.isEmpty())
                return problem;
        return tableFileProblem(to, def, allowMissing);
    }
    // The usual table: read once, checked in memory, written once; a damaged one is not
    // even written.
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        return u"Soubor "_s + from + u" nelze přečíst."_s;
    QByteArray bytes = in.read(info.size() + 1);
    if (bytes.size() != info.size())  // changed since it was looked at
        return u"Soubor "_s + from + u" se během převodu změnil."_s;
    if (QString problem = checker.problem(bytes, info.fileName(), def, allowMissing); !problem.isEmpty())
        return problem;
    QFile out(to);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return u"Soubor "_s + to + u" nelze vytvořit."_s;
    if (out.write(bytes) != bytes.size() || !out.flush())
        return u"Soubor "_s + to + u" nelze zapsat (není dost místa na disku?)."_s;
    return {};
}

QString copySettingsFile(const QString &from, const QString &to, const QString &section)
{
    const QFileInfo info(from);
    QFile in(from);
    if (!info.isFile() || !in.open(QIODevice::ReadOnly))
        return u"Soubor "_s + from + u" nelze přečíst."_s;
    if (info.size() > kMaxSettingsFileBytes)
        return u"Soubor "_s + from + u" je příliš velký."_s;
    const QByteArray text = clearEarlierSettings(in.read(kMaxSettingsFileBytes + 1), section);
    QFile out(to);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly) || out.write(text) != text.size() || !out.flush())
        return u"Soubor "_s + to + u" nelze zapsat (není dost místa na disku?)."_s;
    return {};
}

QString tableFileProblem(const QString &path, const engine::TableDef *def, const QStringList &allowMissing)
{
    const QString unreadable = unreadableTable(QFileInfo(path).fileName());
    {
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
    }
    if (def && !engine::tableFileDamage(path, *def, allowMissing).isEmpty())
        return unreadable;
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

namespace {

QString placementListPath(const QString &dataRoot)
{
    return withoutSlash(dataRoot) + u"/.prevod.lst"_s;
}

// Removes a temporary copy ("/.X.tmp<pid>-...") whose writer no longer runs on this computer.
void removeOrphanedCopies(const QString &folder)
{
    static const QRegularExpression copy(u"^\\..+\\.tmp([0-9]+)-[0-9a-f]+$"_s);
    for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        const auto m = copy.match(name);
        if (!m.hasMatch())
            continue;
        const pid_t pid = pid_t(m.captured(1).toLongLong());
        if (pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH)
            QFile::remove(withoutSlash(folder) + u'/' + name);
    }
}

}  // namespace

QString conversionLockPath(const QString &dataRoot)
{
    return withoutSlash(dataRoot) + u"/.prevod.lck"_s;
}

bool notePlacement(const QString &dataRoot, const QString &target, const QString &aside)
{
    QFile list(placementListPath(dataRoot));
    if (!list.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const QByteArray line = QFile::encodeName(withoutSlash(target)) + '\t' + QFile::encodeName(aside) + '\n';
    const bool ok = list.write(line) == line.size() && list.flush() && ::fsync(list.handle()) == 0;
    list.close();
    return ok && list.error() == QFileDevice::NoError;
}

void removePlacementNotes(const QString &dataRoot)
{
    QFile::remove(placementListPath(dataRoot));
    syncDirectory(dataRoot);
}

void finishInterruptedConversion(const QString &dataRoot)
{
    static const QRegularExpression staging(u"^\\.(D[0-9]{1,9}\\.)?prevod-[0-9]+-[0-9a-f]+$"_s);
    static const QRegularExpression copy(u"^\\..+\\.tmp[0-9]+-[0-9a-f]+$"_s);
    // Nothing is touched (not even a lock file made) in a data root with nothing to finish.
    const QStringList hidden = QDir(dataRoot).entryList({u".*"_s}, QDir::AllEntries | QDir::Hidden | QDir::System);
    const bool leftovers = std::any_of(hidden.cbegin(), hidden.cend(), [&](const QString &name) {
        return name == u".prevod.lst"_s || staging.match(name).hasMatch() || copy.match(name).hasMatch();
    });
    if (!leftovers)
        return;
    engine::LockFile lock(conversionLockPath(dataRoot));
    if (!lock.lockExclusive(0))
        return;  // a conversion runs (or the root can't be written)
    const QString listPath = placementListPath(dataRoot);
    if (QFile::exists(listPath)) {
        // The catalogue is written last: rows in it mean the conversion got through.
        bool catalogued = false;
        {
            engine::SqliteFile db;
            QString error;
            if (db.open(withoutSlash(dataRoot) + u"/Data.DB"_s, false, &error)) {
                try {
                    engine::Statement rows(db, u"SELECT count(*) FROM Data"_s);
                    catalogued = rows.step() && rows.columnInt64(0) > 0;
                } catch (const engine::EngineError &) {
                }
            }
        }
        bool undone = true;
        if (!catalogued) {
            QFile list(listPath);
            QList<QByteArray> lines;
            if (list.size() <= 1 << 20 && list.open(QIODevice::ReadOnly))
                lines = list.readAll().split('\n');
            list.close();
            // Last placed first: each entry is undone as far as it got.
            for (auto it = lines.crbegin(); it != lines.crend(); ++it) {
                const QList<QByteArray> parts = it->split('\t');
                if (parts.size() != 2)
                    continue;
                const QString target = QFile::decodeName(parts[0]), aside = QFile::decodeName(parts[1]);
                // Only data-set folders of this root are ever noted.
                if (QFileInfo(target).absolutePath() != QFileInfo(withoutSlash(dataRoot)).absoluteFilePath())
                    continue;
                if (aside.isEmpty()) {
                    QDir(target).removeRecursively();
                } else if (QFileInfo::exists(aside)) {
                    QDir(target).removeRecursively();
                    undone = renamePath(aside, target) && undone;
                }
            }
            try {
                engine::createTableFile(withoutSlash(dataRoot) + u"/Uziv.DB"_s, data::passwordsDef());
            } catch (const engine::EngineError &) {
                undone = false;
            }
        }
        if (undone)
            removePlacementNotes(dataRoot);
    }
    for (const QFileInfo &entry : QDir(dataRoot).entryInfoList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot))
        if (!entry.isSymLink() && staging.match(entry.fileName()).hasMatch())
            QDir(entry.absoluteFilePath()).removeRecursively();
    removeOrphanedCopies(dataRoot);
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
