#include "engine/TableFile.h"

#include "engine/EngineError.h"
#include "engine/Sqlite.h"
#include "engine/TableCheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace rur::engine {

namespace {

std::function<void(const char *)> &crashHook()
{
    static std::function<void(const char *)> hook;
    return hook;
}

bool syncPath(const QString &path, bool directory)
{
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), (directory ? O_RDONLY | O_DIRECTORY : O_RDWR) | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

// Renames a finished temporary file over the target. A rollback journal left by a crashed
// writer of the old file must not be replayed onto the new one, so it goes first.
bool renameOver(const QString &temp, const QString &target)
{
    QFile::remove(target + u"-journal"_s);
    crashPoint("replace:before-rename");
    const bool ok = ::rename(QFile::encodeName(temp).constData(), QFile::encodeName(target).constData()) == 0;
    if (!ok) {
        QFile::remove(temp);
        return false;
    }
    syncPath(QFileInfo(target).absolutePath(), true);
    crashPoint("replace:after-rename");
    return true;
}

}  // namespace

QString tempPathBeside(const QString &target)
{
    // The process id keeps the names of two processes apart even when one was forked
    // from the other with the same random state.
    const QFileInfo fi(target);
    const QString temp = fi.absolutePath() + u"/."_s + fi.fileName() + u".tmp"_s + QString::number(::getpid()) + u'-'
                         + QString::number(QRandomGenerator::global()->generate(), 16);
    QFile::remove(temp);
    return temp;
}

bool isPlainFileWithin(const QString &path, qint64 limit)
{
    const QFileInfo info(path);
    return info.isFile() && info.size() <= limit;
}

QString tableFileDamage(const QString &path, const QString &tableName)
{
    if (!isPlainFileWithin(path, kMaxTableFileSize))
        return u"není to soubor přiměřené velikosti"_s;
    SqliteFile db;
    QString error;
    if (!db.open(path, false, &error))
        return error;
    if (QString damage = db.damage(path); !damage.isEmpty())
        return damage;
    return schemaDamage(db, u"main"_s, tableName);
}

bool isWorkFile(const QString &fileName)
{
    static const QRegularExpression pattern(
        u"(-journal|-wal|-shm|-mj[0-9A-Fa-f]+)$|^\\..+\\.tmp[0-9a-f-]+(\\.[0-9A-Za-z]{6})?$"_s);
    return pattern.match(fileName).hasMatch();
}

void removeWorkFiles(const QString &directory)
{
    const QDir dir(directory);
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    // Journals first: whether one is hot may depend on its super-journal.
    for (const QString &name : names) {
        if (!name.endsWith(u"-journal"_s) && !name.endsWith(u"-wal"_s))
            continue;
        const QString table = dir.filePath(name.left(name.lastIndexOf(u'-')));
        if (QFileInfo(table).isFile()) {
            // Opening and reading the file plays a hot journal back (and setting the rollback
            // journal folds a write-ahead log in); a journal SQLite could not look at stays.
            SqliteFile db;
            QString error;
            if (!db.open(table, false, &error))
                continue;
            try {
                Statement read(db, u"SELECT count(*) FROM sqlite_master"_s);
                read.step();
            } catch (const EngineError &) {
                continue;
            }
        }
        QFile::remove(dir.filePath(name));
    }
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (!isWorkFile(name))
            continue;
        const QString path = dir.filePath(name);
        if (name.contains(u"-mj"_s)) {
            QFile file(path);
            if (file.size() > 65536 || !file.open(QIODevice::ReadOnly))
                continue;
            bool needed = false;
            for (const QByteArray &child : file.readAll().split('\0'))
                if (!child.isEmpty() && QFileInfo::exists(QFile::decodeName(child)))
                    needed = true;
            file.close();
            if (needed)
                continue;
        }
        QFile::remove(path);
    }
}

bool isWritablePath(const QString &path)
{
    return ::access(QFile::encodeName(path).constData(), W_OK) == 0;
}

QString readOnlyDirectoryMessage(const QString &directory)
{
    QString shown = QDir::toNativeSeparators(directory);
    if (shown.size() > 1 && shown.endsWith(QDir::separator()))
        shown.chop(1);
    return u"Do adresáře "_s + shown + u" nelze zapisovat."_s;
}

void crashPoint(const char *name)
{
    if (crashHook())
        crashHook()(name);
}

void setCrashHook(std::function<void(const char *)> hook)
{
    crashHook() = std::move(hook);
}

QString createTableSql(const TableDef &def)
{
    const IndexDef *pk = def.primaryIndex();
    QStringList cols;
    bool autoIncKey = false;
    for (const FieldDef &f : def.fields) {
        if (f.calculated)
            continue;
        QString col = quoteIdentifier(f.name) + u' ' + sqlTypeName(f);
        if (f.type == FieldType::AutoInc && pk && pk->fields.size() == 1
            && pk->fields.first().compare(f.name, Qt::CaseInsensitive) == 0) {
            col += u" PRIMARY KEY AUTOINCREMENT"_s;
            autoIncKey = true;
        }
        cols.append(col);
    }
    if (pk && !autoIncKey) {
        QStringList keys;
        for (const QString &k : pk->fields)
            keys.append(quoteIdentifier(k));
        cols.append(u"PRIMARY KEY ("_s + keys.join(u", "_s) + u')');
    }
    return u"CREATE TABLE "_s + quoteIdentifier(def.name) + u" ("_s + cols.join(u", "_s) + u')';
}

QStringList createIndexSql(const TableDef &def)
{
    QStringList out;
    for (const IndexDef &ix : def.indexes) {
        if (ix.primary)
            continue;
        QStringList keys;
        for (const QString &k : ix.fields)
            keys.append(quoteIdentifier(k));
        out.append(u"CREATE INDEX "_s + quoteIdentifier(ix.name) + u" ON "_s + quoteIdentifier(def.name) + u" ("_s
                   + keys.join(u", "_s) + u')');
    }
    return out;
}

void createTableFile(const QString &path, const TableDef &def, const QList<QVariantMap> &rows)
{
    const QString temp = tempPathBeside(path);
    {
        SqliteFile db;
        QString error;
        if (!db.open(temp, true, &error))
            RUR_THROW(ErrGeneral, u"Soubor "_s + path + u" nelze vytvořit: "_s + error);
        try {
            // The file is private until it is renamed into place and is flushed whole
            // before that, so it needs no journal of its own.
            db.exec(u"PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF"_s);
            Transaction tx(db);
            db.exec(createTableSql(def));
            for (const QString &sql : createIndexSql(def))
                db.exec(sql);
            for (const QVariantMap &row : rows) {
                QStringList names, marks;
                QVariantList values;
                for (auto it = row.begin(); it != row.end(); ++it) {
                    names.append(quoteIdentifier(it.key()));
                    marks.append(u"?"_s);
                    values.append(it.value());
                }
                Statement st(db, names.isEmpty()
                                     ? u"INSERT INTO "_s + quoteIdentifier(def.name) + u" DEFAULT VALUES"_s
                                     : u"INSERT INTO "_s + quoteIdentifier(def.name) + u" ("_s + names.join(u", "_s)
                                           + u") VALUES ("_s + marks.join(u", "_s) + u')');
                for (int i = 0; i < values.size(); ++i)
                    st.bind(i + 1, values[i]);
                st.step();
            }
            tx.commit();
        } catch (...) {
            db.close();
            QFile::remove(temp);
            throw;
        }
    }
    if (!syncPath(temp, false) || !renameOver(temp, path)) {
        QFile::remove(temp);
        RUR_THROW(ErrGeneral, u"Soubor "_s + path + u" nelze vytvořit."_s);
    }
}

namespace {

// Writes a copy of source beside target; returns the temporary path, or empty on failure.
// Only a regular file of a plausible size is copied: a pipe would block, a device would
// fill the disk. The file is checked on the open descriptor, so it can't be swapped between
// the check and the copy.
QString writeTempCopy(const QString &source, const QString &target, bool sync)
{
    const int fd = ::open(QFile::encodeName(source).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat st{};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxTableFileSize) {
        if (fd >= 0)
            ::close(fd);
        return {};
    }
    QFile in;
    if (!in.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return {};
    }
    const QString temp = tempPathBeside(target);
    QFile out(temp);
    if (!out.open(QIODevice::WriteOnly))
        return {};
    char buffer[65536];
    qint64 total = 0;
    for (;;) {
        const qint64 n = in.read(buffer, sizeof buffer);
        total += std::max<qint64>(n, 0);
        if (n < 0 || total > kMaxTableFileSize || (n > 0 && out.write(buffer, n) != n)) {
            out.close();
            QFile::remove(temp);
            return {};
        }
        if (n == 0)
            break;
        crashPoint("replace:writing");
    }
    out.flush();
    const bool synced = !sync || ::fsync(out.handle()) == 0;
    out.close();
    if (!synced || out.error() != QFileDevice::NoError) {
        QFile::remove(temp);
        return {};
    }
    return temp;
}

}  // namespace

bool replaceFileAtomically(const QString &source, const QString &target)
{
    const QString temp = writeTempCopy(source, target, true);
    return !temp.isEmpty() && renameOver(temp, target);
}

bool replaceFilesAtomically(const QList<std::pair<QString, QString>> &copies)
{
    bool ok = true;
    QList<std::pair<QString, QString>> written;
    for (const auto &[source, target] : copies) {
        const QString temp = writeTempCopy(source, target, false);
        if (temp.isEmpty())
            ok = false;
        else
            written.append({temp, target});
    }
    if (written.isEmpty())
        return ok;
    // One flush makes every new file durable before any of them replaces its target.
    const QByteArray dir = QFile::encodeName(QFileInfo(written.first().second).absolutePath());
    const int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool flushed = fd >= 0 && ::syncfs(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    if (!flushed) {
        for (const auto &[temp, target] : written)
            QFile::remove(temp);
        return false;
    }
    for (const auto &[temp, target] : written) {
        QFile::remove(target + u"-journal"_s);
        crashPoint("replace:before-rename");
        if (::rename(QFile::encodeName(temp).constData(), QFile::encodeName(target).constData()) != 0) {
            QFile::remove(temp);
            ok = false;
        }
    }
    QSet<QString> directories;
    for (const auto &[temp, target] : written)
        directories.insert(QFileInfo(target).absolutePath());
    for (const QString &d : std::as_const(directories))
        syncPath(d, true);
    crashPoint("replace:after-rename");
    return ok;
}

QStringList tableColumns(SqliteFile &db, const QString &tableName)
{
    QStringList out;
    Statement st(db, u"SELECT name FROM pragma_table_info(?)"_s);
    st.bind(1, tableName);
    while (st.step())
        out.append(st.columnText(0));
    return out;
}

}  // namespace rur::engine
