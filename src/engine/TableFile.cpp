#include "engine/TableFile.h"

#include "engine/EngineError.h"
#include "engine/Sqlite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace rur::engine {

namespace {

std::function<void(const char *)> &crashHook()
{
    static std::function<void(const char *)> hook;
    return hook;
}

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

bool replaceFileAtomically(const QString &source, const QString &target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QString temp = tempPathBeside(target);
    QFile out(temp);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    char buffer[65536];
    for (;;) {
        const qint64 n = in.read(buffer, sizeof buffer);
        if (n < 0 || (n > 0 && out.write(buffer, n) != n)) {
            out.close();
            QFile::remove(temp);
            return false;
        }
        if (n == 0)
            break;
        crashPoint("replace:writing");
    }
    out.flush();
    const bool synced = ::fsync(out.handle()) == 0;
    out.close();
    if (!synced || out.error() != QFileDevice::NoError) {
        QFile::remove(temp);
        return false;
    }
    return renameOver(temp, target);
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
