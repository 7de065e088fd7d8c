// Finding rows and narrowing them: bookmarks, locate, keys, filters, ranges, master and detail.
#include "engine/Table.h"

#include "engine/FilterExpression.h"
#include "engine/TableValues.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace rur::engine {

using namespace detail;

QString Table::whereClause() const
{
    QStringList parts;
    if (!selectWhere_.isEmpty())
        parts.append(u'(' + selectWhere_ + u')');
    if (filtered_ && !filter_.trimmed().isEmpty())
        parts.append(u'(' + filterToSql(filter_, def_) + u')');
    return parts.isEmpty() ? QString() : u" WHERE "_s + parts.join(u" AND "_s);
}
Table::Bookmark Table::bookmark() const
{
    return pos_ >= 0 && pos_ < rows_.size() ? rows_[pos_].rowid : 0;
}

bool Table::gotoBookmark(Bookmark bookmark)
{
    for (int i = 0; i < rows_.size(); ++i) {
        if (rows_[i].rowid == bookmark) {
            checkBrowseMode();
            moveTo(i);
            bof_ = eof_ = false;
            return true;
        }
    }
    return false;
}

bool Table::locate(const QString &fieldNames, const QVariantList &values, LocateOptions options)
{
    checkActive();
    checkBrowseMode();
    const QStringList names = splitNames(fieldNames);
    QList<int> cols;
    QVariantList wanted;
    for (int k = 0; k < names.size(); ++k) {
        const int fi = def_.indexOf(names[k]);
        if (fi < 0 || def_.fields[fi].calculated)
            RUR_THROW(ErrGeneral, u"Tabulka "_s + def_.fileName + u" nemá pole "_s + names[k] + u'.');
        cols.append(int(storedIndex_.indexOf(fi)));
        wanted.append(convertToFieldType(def_.fields[fi], values.value(k)));
    }
    for (int r = 0; r < rows_.size(); ++r) {
        bool match = true;
        for (int k = 0; k < cols.size() && match; ++k) {
            const QVariant have = rows_[r].values.at(cols[k]);
            const FieldType t = def_.fields[storedIndex_[cols[k]]].type;
            if ((t == FieldType::Char || t == FieldType::Memo) && !have.isNull() && !wanted[k].isNull()) {
                const Qt::CaseSensitivity cs = options.caseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive;
                const QString h = have.toString(), w = wanted[k].toString();
                match = options.partialKey ? h.startsWith(w, cs) : h.compare(w, cs) == 0;
            } else {
                match = compareValues(have, wanted[k], t) == 0 && have.isNull() == wanted[k].isNull();
            }
        }
        if (match) {
            moveTo(r);
            bof_ = eof_ = false;
            return true;
        }
    }
    return false;
}

bool Table::findKey(const QVariantList &values)
{
    return locate(orderNames_.mid(0, values.size()).join(u';'), values);
}

void Table::setFilter(const QString &expression)
{
    filterToSql(expression, def_);  // refuses a bad expression before it is kept
    filter_ = expression;
    if (isActive() && filtered_)
        refresh();
}

void Table::setFiltered(bool on)
{
    if (filtered_ == on)
        return;
    filtered_ = on;
    if (isActive())
        refresh();
}

void Table::setRange(const QVariantList &start, const QVariantList &end)
{
    rangeStart_ = start;
    rangeEnd_ = end;
    ranged_ = true;
    if (isActive()) {
        refresh();
        first();
    }
}

void Table::cancelRange()
{
    ranged_ = false;
    if (isActive())
        refresh();
}

void Table::setMasterSource(Table *master, const QString &masterFields, const QString &detailFields)
{
    if (masterConnection_)
        disconnect(masterConnection_);
    master_ = master;
    masterFields_ = splitNames(masterFields);
    detailFields_ = splitNames(detailFields);
    if (master_)
        masterConnection_ = connect(master_, &Table::recordChanged, this, &Table::onMasterMoved);
    if (isActive())
        onMasterMoved();
}

void Table::onMasterMoved()
{
    if (!isActive() || isEditing())
        return;
    readRows(0, 0);
    loadBuffer();
    bof_ = true;
    eof_ = rows_.isEmpty();
    emit recordChanged();
}

}  // namespace rur::engine
