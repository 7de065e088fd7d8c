#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <functional>

namespace rur::engine {

class Table;
struct FieldDef;

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
    // Inserts a row of the given stored fields (the others empty), without the store hook:
    // for scratch tables that many rows at once are written to.
    void insertValues(Table &table, const QVariantMap &values);
    // Inserts many rows of the same stored fields (each row's values in the order of the
    // names), without the store hook: an import of thousands of rows into one table.
    void insertRows(Table &table, const QStringList &fieldNames, QList<QVariantList> rows);
    // The same for rows that a source gives one by one while the transaction runs, so that a
    // large import is never held in memory whole: the source fills the row and returns true,
    // or returns false after the last. Whatever the source throws leaves every table as it was.
    using RowSource = std::function<bool(QVariantList &row)>;
    void insertRowsFrom(Table &table, const QStringList &fieldNames, RowSource source);
    // Sets stored fields of the rows whose key field equals the value, without the store
    // hook: for fields the program numbers itself, many rows in one transaction.
    void update(Table &table, const QString &keyField, const QVariant &key, const QVariantMap &values);
    // Throws EngineError (9729 for a duplicate key); the tables then keep their state.
    void commit();

private:
    struct Operation {
        Table *table;
        bool insert;
        QString sql;
        QVariantList values;
        RowSource source;                // rows of insertRowsFrom
        QList<const FieldDef *> fields;  // and their fields
    };
    void queue(Table &table, bool insert, QString sql, QVariantList values, RowSource source = {},
               QList<const FieldDef *> fields = {});
    QList<Operation> operations_;
    QList<Table *> tables_;
};

}  // namespace rur::engine
