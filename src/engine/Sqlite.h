#pragma once

#include <QString>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

namespace rur::engine {

// A thin owner of one SQLite connection to one table file.
class SqliteFile {
public:
    SqliteFile() = default;
    ~SqliteFile();
    SqliteFile(const SqliteFile &) = delete;
    SqliteFile &operator=(const SqliteFile &) = delete;

    // Opens an existing file (create=false) or creates it; returns false and the SQLite
    // error text on failure. Sets the rollback journal and full synchronous writes. A
    // read-only connection never writes to the file (nor sets its journal mode).
    bool open(const QString &path, bool create, QString *error, bool readOnly = false);
    void close();
    bool isOpen() const { return db_ != nullptr; }
    // How long a statement waits for another connection's lock before it fails (2 s).
    void setBusyTimeout(int ms);
    sqlite3 *handle() const { return db_; }

    // Whether the open file is a whole, undamaged database: as long as its header says
    // (a truncated file is not) and passing SQLite's quick check. Empty when it is, else
    // SQLite's or our own reason (for diagnostics; users get the damaged-table message).
    QString damage(const QString &path);

    // A number that changes whenever another connection (of this process or another one)
    // commits a change to the file; this connection's own writes leave it as it is.
    qint64 dataVersion();

    // Runs statements without results; throws EngineError (ErrSql, or 9729 for a key violation).
    void exec(const QString &sql);
    QString lastError() const;
    int lastExtendedCode() const;

private:
    sqlite3 *db_ = nullptr;
};

class Statement {
public:
    Statement(SqliteFile &db, const QString &sql);  // throws EngineError
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    void bind(int index, const QVariant &value);  // 1-based; a null QVariant binds NULL
    bool step();                                  // true while a row is there; throws on error
    void reset();
    int columnCount() const;
    QVariant column(int index) const;             // SQLite's own storage class
    // The storage class of a column: SQLITE_INTEGER, SQLITE_FLOAT, SQLITE_TEXT, SQLITE_BLOB
    // or SQLITE_NULL.
    int columnType(int index) const;
    qint64 columnInt64(int index) const;
    double columnDouble(int index) const;
    QString columnText(int index) const;
    // A text column's UTF-8 bytes, as SQLite holds them until the next step or reset.
    QByteArrayView columnUtf8(int index) const;

private:
    SqliteFile &db_;
    sqlite3_stmt *stmt_ = nullptr;
};

// RAII write transaction: rolled back unless committed. Nested in an open transaction of the
// connection, it is a savepoint.
class Transaction {
public:
    explicit Transaction(SqliteFile &db);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;
    void commit();

private:
    SqliteFile &db_;
    QString savepoint_;  // set when nested in an open transaction
    bool done_ = false;
};

// Quotes an identifier for SQL.
QString quoteIdentifier(const QString &name);

}  // namespace rur::engine
