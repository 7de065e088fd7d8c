#include "engine/Sqlite.h"

#include "engine/EngineError.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace rur::engine {

namespace {

// Errors reach the user: the message is Czech and names the table file; SQLite's own text
// follows only where no plain reason can be given.
[[noreturn]] void throwSql(SqliteFile &db, const QString &what)
{
    const int ext = db.lastExtendedCode();
    if (ext == SQLITE_CONSTRAINT_PRIMARYKEY || ext == SQLITE_CONSTRAINT_UNIQUE)
        throw EngineError(ErrKeyViolation, u"Duplicitní klíč."_s, __FILE__, __LINE__);
    const char *path = db.isOpen() ? sqlite3_db_filename(db.handle(), "main") : nullptr;
    const QString file = path && *path ? QFileInfo(QString::fromUtf8(path)).fileName() : QString();
    const QString table = u"Tabulka "_s + file;
    switch (ext & 0xff) {
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        throw EngineError(ErrUnreadable, table + u" je poškozená nebo nečitelná."_s, __FILE__, __LINE__);
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        throw EngineError(ErrLocked, u"Tabulku "_s + file + u" právě používá jiný uživatel. Zkuste to znovu."_s,
                          __FILE__, __LINE__);
    case SQLITE_FULL:
        throw EngineError(ErrGeneral, u"Na disku není dost místa pro tabulku "_s + file + u'.', __FILE__, __LINE__);
    case SQLITE_READONLY:
    case SQLITE_CANTOPEN:
    case SQLITE_IOERR:
    case SQLITE_PERM:
        throw EngineError(ErrGeneral, table + u" nelze zapsat."_s, __FILE__, __LINE__);
    default:
        // Neither the statement nor SQLite's text reaches the user: both are internals, and a
        // crafted file can make the latter say anything.
        Q_UNUSED(what);
        throw EngineError(ErrSql, u"Chyba při práci s tabulkou "_s + file + u'.', __FILE__, __LINE__);
    }
}

}  // namespace

SqliteFile::~SqliteFile()
{
    close();
}

bool SqliteFile::open(const QString &path, bool create, QString *error, bool readOnly)
{
    close();
    const QByteArray native = QFile::encodeName(path);
    int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
    if (create && !readOnly)
        flags |= SQLITE_OPEN_CREATE;
    const int rc = sqlite3_open_v2(native.constData(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        if (error)
            *error = db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QString::fromUtf8(sqlite3_errstr(rc));
        close();
        return false;
    }
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, 2000);
    // journal_mode=DELETE and synchronous=FULL: crash-safe, no files left when closed, and
    // fit for network shares. Setting them does not write to the file.
    char *msg = nullptr;
    const char *pragmas = readOnly ? "PRAGMA synchronous=FULL;" : "PRAGMA synchronous=FULL; PRAGMA journal_mode=DELETE;";
    if (sqlite3_exec(db_, pragmas, nullptr, nullptr, &msg) != SQLITE_OK) {
        if (error)
            *error = QString::fromUtf8(msg ? msg : "");
        sqlite3_free(msg);
        close();
        return false;
    }
    return true;
}

QString SqliteFile::damage(const QString &path)
{
    // One statement for the size the header declares, one for SQLite's own check (stopping
    // at its first finding): tables are small, and preparing statements is most of the cost.
    sqlite3_stmt *st = nullptr;
    qint64 declared = -1;
    if (sqlite3_prepare_v2(db_, "SELECT page_size * page_count FROM pragma_page_size(), pragma_page_count()", -1, &st,
                           nullptr) == SQLITE_OK
        && sqlite3_step(st) == SQLITE_ROW)
        declared = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    if (declared < 0)
        return u"hlavička souboru je nečitelná"_s;
    if (QFileInfo(path).size() < declared)
        return u"soubor je zkrácený"_s;
    QString result = u"kontrolu nelze provést"_s;
    if (sqlite3_prepare_v2(db_, "PRAGMA quick_check(1)", -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        result = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
    else
        result = QString::fromUtf8(sqlite3_errmsg(db_));
    sqlite3_finalize(st);
    return result == u"ok"_s ? QString() : result;
}

qint64 SqliteFile::dataVersion()
{
    sqlite3_stmt *st = nullptr;
    qint64 version = -1;
    if (sqlite3_prepare_v2(db_, "PRAGMA data_version", -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        version = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    return version;
}

void SqliteFile::setBusyTimeout(int ms)
{
    if (db_)
        sqlite3_busy_timeout(db_, ms);
}

void SqliteFile::close()
{
    if (db_)
        sqlite3_close_v2(db_);
    db_ = nullptr;
}

void SqliteFile::exec(const QString &sql)
{
    char *msg = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_exec(db_, utf8.constData(), nullptr, nullptr, &msg) != SQLITE_OK) {
        sqlite3_free(msg);
        throwSql(*this, sql);
    }
}

QString SqliteFile::lastError() const
{
    return db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QString();
}

int SqliteFile::lastExtendedCode() const
{
    return db_ ? sqlite3_extended_errcode(db_) : SQLITE_ERROR;
}

Statement::Statement(SqliteFile &db, const QString &sql) : db_(db)
{
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(db.handle(), utf8.constData(), int(utf8.size()), &stmt_, nullptr) != SQLITE_OK)
        throwSql(db, sql);
}

Statement::~Statement()
{
    sqlite3_finalize(stmt_);
}

void Statement::bind(int index, const QVariant &value)
{
    int rc = SQLITE_OK;
    if (!value.isValid() || value.isNull()) {
        rc = sqlite3_bind_null(stmt_, index);
    } else {
        switch (value.typeId()) {
        case QMetaType::Double:
            rc = sqlite3_bind_double(stmt_, index, value.toDouble());
            break;
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::Bool:
            rc = sqlite3_bind_int64(stmt_, index, value.toLongLong());
            break;
        default: {
            const QByteArray utf8 = value.toString().toUtf8();
            rc = sqlite3_bind_text(stmt_, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        }
        }
    }
    if (rc != SQLITE_OK)
        throwSql(db_, u"bind"_s);
}

bool Statement::step()
{
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    throwSql(db_, QString::fromUtf8(sqlite3_sql(stmt_)));
}

void Statement::reset()
{
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

int Statement::columnCount() const
{
    return sqlite3_column_count(stmt_);
}

QVariant Statement::column(int index) const
{
    switch (sqlite3_column_type(stmt_, index)) {
    case SQLITE_INTEGER: return QVariant(qint64(sqlite3_column_int64(stmt_, index)));
    case SQLITE_FLOAT: return QVariant(sqlite3_column_double(stmt_, index));
    case SQLITE_NULL: return QVariant();
    case SQLITE_TEXT: {
        // Text that is not valid UTF-8 comes back as bytes, which no field takes: decoding it
        // would put replacement characters into the user's data.
        const auto *text = static_cast<const char *>(sqlite3_column_blob(stmt_, index));
        const int size = sqlite3_column_bytes(stmt_, index);
        if (!QUtf8StringView(text, size).isValidUtf8())
            return QVariant(QByteArray(text, size));
        return QVariant(QString::fromUtf8(text, size));
    }
    default: {
        const auto *blob = static_cast<const char *>(sqlite3_column_blob(stmt_, index));
        return QVariant(QByteArray(blob, sqlite3_column_bytes(stmt_, index)));
    }
    }
}

int Statement::columnType(int index) const
{
    return sqlite3_column_type(stmt_, index);
}

qint64 Statement::columnInt64(int index) const
{
    return sqlite3_column_int64(stmt_, index);
}

double Statement::columnDouble(int index) const
{
    return sqlite3_column_double(stmt_, index);
}

QString Statement::columnText(int index) const
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt_, index));
    return text ? QString::fromUtf8(text, sqlite3_column_bytes(stmt_, index)) : QString();
}

QByteArrayView Statement::columnUtf8(int index) const
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt_, index));
    return text ? QByteArrayView(text, sqlite3_column_bytes(stmt_, index)) : QByteArrayView();
}

Transaction::Transaction(SqliteFile &db) : db_(db)
{
    // Inside a transaction already open on the connection (a group transaction), this one
    // is a savepoint of it: its changes become durable with the group's, or not at all.
    if (sqlite3_get_autocommit(db_.handle()) == 0) {
        static int counter = 0;
        savepoint_ = u"rur"_s + QString::number(++counter);
        db_.exec(u"SAVEPOINT "_s + savepoint_);
    } else {
        db_.exec(u"BEGIN IMMEDIATE"_s);
    }
}

Transaction::~Transaction()
{
    if (!done_) {
        try {
            db_.exec(savepoint_.isEmpty() ? u"ROLLBACK"_s
                                          : u"ROLLBACK TO "_s + savepoint_ + u"; RELEASE "_s + savepoint_);
        } catch (...) {
        }
    }
}

void Transaction::commit()
{
    db_.exec(savepoint_.isEmpty() ? u"COMMIT"_s : u"RELEASE "_s + savepoint_);
    done_ = true;
}

QString quoteIdentifier(const QString &name)
{
    QString q = name;
    q.replace(u'"', u"\"\""_s);
    return u'"' + q + u'"';
}

}  // namespace rur::engine
