#pragma once

#include <QList>
#include <QString>
#include <QVariant>

namespace rur::engine {

class Table;

// Writes rows of several tables (one file each) in one transaction: the first table's file
// is opened with the others attached, so a crash or an error leaves all the changes or none.
// Rows to insert are prepared as usual (append, set fields); their store hooks run when they
// are added here. After commit every table re-reads its rows and runs its after hooks.
class GroupWrite {
public:
    GroupWrite() = default;
    GroupWrite(const GroupWrite &) = delete;
    GroupWrite &operator=(const GroupWrite &) = delete;

    // Deletes the rows whose field equals the value.
    void remove(Table &table, const QString &fieldName, const QVariant &value);
    // Deletes every row of the table.
    void removeAll(Table &table);
    // Inserts the row the table is inserting (State::Insert); runs its store hook now.
    void insert(Table &table);
    // Throws EngineError (9729 for a duplicate key); the tables then keep their state.
    void commit();

private:
    struct Operation {
        Table *table;
        bool insert;
        QString sql;
        QVariantList values;
    };
    QList<Operation> operations_;
    QList<Table *> tables_;
};

}  // namespace rur::engine
