#include "engine/GroupWrite.h"

#include "engine/EngineError.h"
#include "engine/Sqlite.h"
#include "engine/Table.h"
#include "engine/TableFile.h"

#include <QHash>
#include <memory>
#include <utility>

using namespace Qt::StringLiterals;

namespace rur::engine {

namespace {

// "INSERT INTO %1.T (a, b) VALUES (?, ?)": the schema is filled in when the connection of the
// write is known.
QString insertSql(const QString &fileTable, const QList<const FieldDef *> &fields)
{
    QStringList names, marks;
    for (const FieldDef *f : fields) {
        names.append(quoteIdentifier(f->name));
        marks.append(u"?"_s);
    }
    return u"INSERT INTO %1."_s + quoteIdentifier(fileTable) + u" ("_s + names.join(u", "_s) + u") VALUES ("_s
           + marks.join(u", "_s) + u')';
}

const FieldDef &storedField(const Table &t, const QString &name)
{
    const int fi = t.def().indexOf(name);
    if (fi < 0 || t.def().fields[fi].calculated)
        RUR_THROW(ErrGeneral, u"Tabulka "_s + t.fileName() + u" nemá pole "_s + name + u'.');
    return t.def().fields[fi];
}

}  // namespace

void GroupWrite::queue(Table &t, bool insert, QString sql, QVariantList values, RowSource source,
                       QList<const FieldDef *> fields)
{
    if (!tables_.contains(&t))
        tables_.append(&t);
    operations_.append({&t, insert, std::move(sql), std::move(values), std::move(source), std::move(fields)});
}

void GroupWrite::remove(Table &t, const QString &fieldName, const QVariant &value)
{
    t.checkActive();
    const int fi = t.def().indexOf(fieldName);
    if (fi < 0)
        RUR_THROW(ErrGeneral, u"Tabulka "_s + t.fileName() + u" nemá pole "_s + fieldName + u'.');
    const FieldDef &f = t.def().fields[fi];
    queue(t, false,
          u"DELETE FROM %1."_s + quoteIdentifier(t.fileTable_) + u" WHERE "_s + quoteIdentifier(f.name) + u" = ?"_s,
          {Table::storageValue(f, convertToFieldType(f, value))});
}

void GroupWrite::removeAll(Table &t)
{
    t.checkActive();
    queue(t, false, u"DELETE FROM %1."_s + quoteIdentifier(t.fileTable_), {});
}

void GroupWrite::insert(Table &t)
{
    t.checkActive();
    if (t.state() != Table::State::Insert)
        RUR_THROW(ErrNotEditing, u"Tabulka "_s + t.fileName() + u" není v režimu vkládání."_s);
    if (t.beforePost)
        t.beforePost(t);
    QList<const FieldDef *> fields;
    QVariantList values;
    for (int i : std::as_const(t.storedIndex_)) {
        const FieldDef &f = t.def().fields[i];
        if (f.type == FieldType::AutoInc && t.buffer_[i].isNull())
            continue;
        fields.append(&f);
        values.append(Table::storageValue(f, t.buffer_[i]));
    }
    queue(t, true, insertSql(t.fileTable_, fields), values);
}

void GroupWrite::insertValues(Table &t, const QVariantMap &values)
{
    t.checkActive();
    QList<const FieldDef *> fields;
    QVariantList bound;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const FieldDef &f = storedField(t, it.key());
        fields.append(&f);
        bound.append(Table::storageValue(f, convertToFieldType(f, it.value())));
    }
    queue(t, false, insertSql(t.fileTable_, fields), bound);
}

void GroupWrite::insertRows(Table &t, const QStringList &fieldNames, QList<QVariantList> rows)
{
    qsizetype next = 0;
    insertRowsFrom(t, fieldNames, [rows = std::move(rows), next](QVariantList &row) mutable {
        if (next >= rows.size())
            return false;
        row = std::move(rows[next++]);
        return true;
    });
}

void GroupWrite::insertRowsFrom(Table &t, const QStringList &fieldNames, RowSource source)
{
    t.checkActive();
    QList<const FieldDef *> fields;
    for (const QString &name : fieldNames)
        fields.append(&storedField(t, name));
    const QString sql = insertSql(t.fileTable_, fields);
    queue(t, false, sql, {}, std::move(source), std::move(fields));
}

void GroupWrite::update(Table &t, const QString &keyField, const QVariant &key, const QVariantMap &values)
{
    t.checkActive();
    const FieldDef &k = storedField(t, keyField);
    QStringList sets;
    QVariantList bound;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const FieldDef &f = storedField(t, it.key());
        sets.append(quoteIdentifier(f.name) + u" = ?"_s);
        bound.append(Table::storageValue(f, convertToFieldType(f, it.value())));
    }
    if (sets.isEmpty())
        return;
    bound.append(Table::storageValue(k, convertToFieldType(k, key)));
    queue(t, false,
          u"UPDATE %1."_s + quoteIdentifier(t.fileTable_) + u" SET "_s + sets.join(u", "_s) + u" WHERE "_s
              + quoteIdentifier(k.name) + u" = ?"_s,
          bound);
}

void GroupWrite::commit()
{
    if (operations_.isEmpty())
        return;
    // Inside a group transaction the writes join it; otherwise they get one of their own.
    SqliteFile own;
    SqliteFile *connection = tables_.first()->groupDb_;
    QHash<Table *, QString> schema;
    if (connection) {
        for (Table *t : std::as_const(tables_)) {
            if (t->groupDb_ != connection)
                RUR_THROW(ErrGeneral, u"Tabulka "_s + t->fileName() + u" není součástí probíhající změny."_s);
            schema.insert(t, quoteIdentifier(t->groupSchema_));
        }
    } else {
        QString error;
        if (!own.open(tables_.first()->filePath(), false, &error))
            RUR_THROW(ErrUnreadable, u"Tabulka "_s + tables_.first()->fileName() + u" je poškozená nebo nečitelná."_s);
        connection = &own;
        for (int i = 0; i < tables_.size(); ++i) {
            if (tables_[i]->grouped())
                RUR_THROW(ErrGeneral, u"Tabulka "_s + tables_[i]->fileName() + u" je součástí jiné změny."_s);
            if (i == 0) {
                schema.insert(tables_[i], u"main"_s);
                continue;
            }
            const QString alias = u"aux%1"_s.arg(i);
            Statement attach(own, u"ATTACH DATABASE ? AS "_s + alias);
            attach.bind(1, tables_[i]->filePath());
            attach.step();
            schema.insert(tables_[i], alias);
        }
    }
    SqliteFile &db = *connection;
    QHash<Table *, qint64> inserted;
    {
        Transaction tx(db);
        // Operations of one kind that follow each other (the rows of an import) share their
        // prepared statement.
        std::unique_ptr<Statement> st;
        const Operation *previous = nullptr;
        for (const Operation &op : std::as_const(operations_)) {
            if (previous && previous->table == op.table && previous->sql == op.sql)
                st->reset();
            else
                st = std::make_unique<Statement>(db, op.sql.arg(schema.value(op.table)));
            previous = &op;
            if (op.source) {
                // Each row is converted and written as it comes; a value that does not fit its
                // field throws, and the transaction is rolled back.
                QVariantList row;
                while (op.source(row)) {
                    for (qsizetype i = 0; i < op.fields.size(); ++i) {
                        const FieldDef &f = *op.fields[i];
                        const QVariant value = i < row.size() ? convertToFieldType(f, row[i]) : QVariant();
                        st->bind(int(i) + 1, Table::storageValue(f, value));
                    }
                    st->step();
                    st->reset();
                    crashPoint("group:between");
                }
                continue;
            }
            for (int i = 0; i < op.values.size(); ++i)
                st->bind(i + 1, op.values[i]);
            st->step();
            if (op.insert) {
                Statement last(db, u"SELECT last_insert_rowid()"_s);
                last.step();
                inserted.insert(op.table, last.columnInt64(0));
            }
            crashPoint("group:between");
        }
        tx.commit();
    }
    own.close();
    // What was written is let go before the tables read their rows again.
    operations_.clear();
    const QList<Table *> written = std::exchange(tables_, {});
    for (Table *t : written) {
        const bool wasInsert = inserted.contains(t);
        const int fallback = t->pos_;
        t->state_ = Table::State::Browse;
        t->readRows(inserted.value(t, t->bookmark()), fallback);
        t->loadBuffer();
        if (wasInsert)
            emit t->stateChanged();
        emit t->recordChanged();
        if (wasInsert && t->afterPost)
            t->afterPost(*t);
        else if (!wasInsert && t->afterDelete)
            t->afterDelete(*t);
    }
}

}  // namespace rur::engine
