#pragma once

#include <QList>
#include <QString>
#include <memory>

namespace rur::engine {

class SqliteFile;
class Table;

// One transaction over several tables of a directory, for a procedure that changes more than
// one of them: their files are attached to one connection, every file is locked for writing
// when the transaction begins, and from then on the tables read and write through it (their
// own posts and deletes, group writes, closing and opening again), each seeing the changes
// made so far. commit() makes all the changes durable at once (SQLite's super-journal); a
// crash, an error or leaving the scope without commit leaves every file as it was. At the
// end the tables read their rows again; a table left in edit or insert is cancelled.
class GroupTransaction {
public:
    // Waits up to waitMs for another writer of the files to finish. Throws EngineError when a
    // file is missing or damaged, or another writer holds it longer.
    explicit GroupTransaction(const QList<Table *> &tables, int waitMs = 2000);
    ~GroupTransaction();
    GroupTransaction(const GroupTransaction &) = delete;
    GroupTransaction &operator=(const GroupTransaction &) = delete;

    void commit();

    // The most files one transaction can span (the main file and the attached ones).
    static constexpr int kMaxTables = 11;

private:
    void release();

    std::unique_ptr<SqliteFile> db_;
    QList<Table *> tables_;
    bool done_ = false;
};

}  // namespace rur::engine
