// The order of a table's rows: index field names, named indexes and sorting.
#include "engine/Table.h"

#include "engine/Sqlite.h"
#include "engine/TableValues.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace rur::engine {

using namespace detail;

QList<int> Table::orderFields() const
{
    QList<int> out;
    for (const QString &n : orderNames_)
        if (const int i = def_.indexOf(n); i >= 0)
            out.append(i);
    return out;
}

void Table::setIndexFieldNames(const QString &names)
{
    const QStringList list = splitNames(names);
    for (const QString &n : list)
        if (!def_.field(n))
            RUR_THROW(ErrGeneral, u"Tabulka "_s + def_.fileName + u" nemá pole "_s + n + u'.');
    orderNames_ = list;
    orderDescending_ = QList<bool>(list.size(), false);
    indexName_.clear();
    if (isActive()) {
        const Bookmark keep = bookmark();
        sortRows();
        emit rowsReloaded();
        gotoBookmark(keep);
    }
}

void Table::setIndexName(const QString &name)
{
    if (name.isEmpty()) {
        const IndexDef *pk = def_.primaryIndex();
        setIndexFieldNames(pk ? pk->fields.join(u';') : QString());
        return;
    }
    const IndexDef *ix = def_.namedIndex(name);
    if (!ix)
        RUR_THROW(ErrGeneral, u"Tabulka "_s + def_.fileName + u" nemá index "_s + name + u'.');
    setIndexFieldNames(ix->fields.join(u';'));
    indexName_ = ix->name;
}

QString Table::indexFieldNames() const
{
    return orderNames_.join(u';');
}

void Table::addIndex(const QString &indexName, const QString &fieldNames)
{
    const QStringList names = splitNames(fieldNames);
    QStringList quoted;
    for (const QString &n : names) {
        if (!def_.field(n))
            RUR_THROW(ErrGeneral, u"Tabulka "_s + def_.fileName + u" nemá pole "_s + n + u'.');
        quoted.append(quoteIdentifier(n));
    }
    std::unique_ptr<SqliteFile> own;
    SqliteFile *db = db_.get();
    if (!db) {
        own = std::make_unique<SqliteFile>();
        QString error;
        if (!own->open(filePath(), false, &error))
            throwOpenError(ErrUnreadable, error);
        db = own.get();
        fileTable_ = def_.name;
    }
    db->exec(u"CREATE INDEX IF NOT EXISTS "_s + quoteIdentifier(indexName) + u" ON "_s + quoteIdentifier(fileTable_)
             + u" ("_s + quoted.join(u", "_s) + u')');
    if (!def_.namedIndex(indexName))
        def_.index(indexName, names);
}

void Table::deleteIndex(const QString &indexName)
{
    checkActive();
    db_->exec(u"DROP INDEX IF EXISTS "_s + quoteIdentifier(indexName));
    def_.indexes.removeIf([&](const IndexDef &ix) { return !ix.primary && ix.name.compare(indexName, Qt::CaseInsensitive) == 0; });
    if (indexName_.compare(indexName, Qt::CaseInsensitive) == 0)
        setIndexName(QString());
}

void Table::rebuildIndexes()
{
    checkActive();
    if (!exclusive_)
        RUR_THROW(ErrLocked, u"Indexy tabulky "_s + def_.fileName + u" lze obnovit jen při výhradním otevření."_s);
    db_->exec(u"REINDEX "_s + sqlTable());
}
std::function<bool(const Table::Row &, const Table::Row &)> Table::rowOrder() const
{
    const QList<int> keys = orderFields();
    QList<int> cols;
    for (int k : keys)
        cols.append(int(storedIndex_.indexOf(k)));
    // Rows of equal keys stand in the order of their row ids, the order they were added in:
    // the same whether all rows were read or one was put in its place after a save.
    return [this, keys, cols](const Row &a, const Row &b) {
        for (int k = 0; k < keys.size(); ++k) {
            if (cols[k] < 0)
                continue;
            int c = compareValues(a.values.at(cols[k]), b.values.at(cols[k]), def_.fields[keys[k]].type);
            if (orderDescending_.value(k))
                c = -c;
            if (c != 0)
                return c < 0;
        }
        return a.rowid < b.rowid;
    };
}

void Table::sortRows()
{
    const auto before = rowOrder();
    // Rows mostly lie in the file in key order already (an auto-increment key is the row
    // id): one pass over them is far cheaper than a sort of a large table.
    if (!std::is_sorted(rows_.begin(), rows_.end(), before))
        std::sort(rows_.begin(), rows_.end(), before);
}

}  // namespace rur::engine
