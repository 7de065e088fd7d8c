// Reading a table's rows into memory: all of them when the table opens or refreshes, or the
// one row the table itself has just written.
#include "engine/Table.h"

#include "engine/Sqlite.h"
#include "engine/TableValues.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace rur::engine {

using namespace detail;

QString Table::selectColumns() const
{
    QStringList cols{u"rowid"_s};
    for (int i : std::as_const(storedIndex_))
        cols.append(quoteIdentifier(def_.fields[i].name));
    return u"SELECT "_s + cols.join(u", "_s) + u" FROM "_s + sqlTable();
}

Table::Row Table::readRow(Statement &st, RowPacker &packer) const
{
    Row r;
    r.rowid = st.columnInt64(0);
    for (int c = 0; c < storedIndex_.size(); ++c) {
        if (!readStored(def_.fields[storedIndex_[c]], st, c + 1, packer, c))
            throwOpenError(ErrUnreadable, u"hodnota pole "_s + def_.fields[storedIndex_[c]].name + u" neodpovídá typu"_s);
    }
    r.values = packer.take();
    return r;
}

std::function<bool(const Table::Row &)> Table::rowCondition() const
{
    if (!ranged_ && !master_)
        return {};
    // Range and master-detail conditions compare in memory with the field's own ordering.
    const auto valueOf = [this](const Row &r, int fieldIndex) { return r.values.at(int(storedIndex_.indexOf(fieldIndex))); };
    QList<int> keys;
    QVariantList starts, ends;
    if (ranged_) {
        keys = orderFields();
        for (int k = 0; k < keys.size(); ++k) {
            const FieldDef &f = def_.fields[keys[k]];
            if (k < rangeStart_.size())
                starts.append(convertToFieldType(f, rangeStart_[k]));
            if (k < rangeEnd_.size())
                ends.append(convertToFieldType(f, rangeEnd_[k]));
        }
    }
    const bool masterEmpty = master_ && (!master_->isActive() || master_->isEmpty());
    QList<int> details;
    QVariantList wanted;
    if (master_ && !masterEmpty) {
        for (int k = 0; k < detailFields_.size(); ++k) {
            const int fi = def_.indexOf(detailFields_[k]);
            details.append(fi);
            wanted.append(convertToFieldType(def_.fields[fi], master_->field(masterFields_.value(k)).value()));
        }
    }
    const bool hasMaster = master_ != nullptr;
    return [this, valueOf, keys, starts, ends, hasMaster, masterEmpty, details, wanted](const Row &r) {
        for (int k = 0; k < keys.size(); ++k) {
            const FieldType t = def_.fields[keys[k]].type;
            if (k < starts.size() && compareValues(valueOf(r, keys[k]), starts[k], t) < 0)
                return false;
            if (k < ends.size() && compareValues(valueOf(r, keys[k]), ends[k], t) > 0)
                return false;
        }
        if (hasMaster) {
            if (masterEmpty)
                return false;
            for (int k = 0; k < details.size(); ++k)
                if (compareValues(valueOf(r, details[k]), wanted[k], def_.fields[details[k]].type) != 0)
                    return false;
        }
        return true;
    };
}

void Table::placeAt(qint64 keepRowid, int fallbackPos)
{
    pos_ = -1;
    if (keepRowid != 0)
        for (int i = 0; i < rows_.size(); ++i)
            if (rows_[i].rowid == keepRowid)
                pos_ = i;
    if (pos_ < 0 && !rows_.isEmpty())
        pos_ = std::clamp(fallbackPos, 0, int(rows_.size()) - 1);
}

void Table::readRows(qint64 keepRowid, int fallbackPos)
{
    // The version is taken before the rows: a write between the two makes the next
    // refreshIfChanged read again, never skip a change.
    readConnection_ = &connection();
    readVersion_ = groupDb_ ? -1 : db_->dataVersion();
    Statement st(connection(), selectColumns() + whereClause() + u" ORDER BY rowid"_s);
    QList<Row> rows;
    RowPacker packer(int(storedIndex_.size()));
    while (st.step())
        rows.append(readRow(st, packer));
    if (!rows.isEmpty())
        if (const auto kept = rowCondition())
            rows.removeIf([&](const Row &r) { return !kept(r); });
    rows_ = std::move(rows);
    sortRows();
    placeAt(keepRowid, fallbackPos);
    emit rowsReloaded();
}

bool Table::unchangedSinceRead() const
{
    return !grouped() && db_ && readConnection_ == db_.get() && readVersion_ >= 0 && db_->dataVersion() == readVersion_;
}

void Table::rereadRow(qint64 oldRowid, qint64 rowid, int fallbackPos)
{
    // Another connection's write may have changed any row (and this one's place): then all
    // are read, as they are inside a group transaction, whose connection keeps no version.
    if (!unchangedSinceRead()) {
        readRows(rowid, fallbackPos);
        return;
    }
    if (oldRowid != 0)
        rows_.removeIf([&](const Row &r) { return r.rowid == oldRowid; });
    if (rowid != 0) {
        const QString where = whereClause();
        Statement st(connection(), selectColumns() + (where.isEmpty() ? u" WHERE"_s : where + u" AND"_s) + u" rowid = ?"_s);
        st.bind(1, rowid);
        RowPacker packer(int(storedIndex_.size()));
        if (st.step()) {
            Row row = readRow(st, packer);
            const auto kept = rowCondition();
            if (!kept || kept(row)) {
                // In the index order, as a full read puts the rows.
                const auto before = rowOrder();
                rows_.insert(std::upper_bound(rows_.cbegin(), rows_.cend(), row, before) - rows_.cbegin(), std::move(row));
            }
        }
    }
    placeAt(rowid, fallbackPos);
    emit rowsReloaded();
}

}  // namespace rur::engine
