#include "engine/Table.h"

#include "engine/Database.h"
#include "engine/FilterExpression.h"
#include "engine/LockFile.h"
#include "engine/NumberFormat.h"
#include "engine/Sqlite.h"
#include "engine/TableFile.h"

#include <QCollator>
#include <QFile>
#include <QRegularExpression>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace rur::engine {

namespace {

const QCollator &czechCollator()
{
    static const QCollator collator = [] {
        QCollator c{QLocale(QLocale::Czech, QLocale::CzechRepublic)};
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator;
}

// Blank values sort first, as in the index order of the original tables.
int compareValues(const QVariant &a, const QVariant &b, FieldType type)
{
    if (a.isNull() || b.isNull())
        return int(!a.isNull()) - int(!b.isNull());
    switch (type) {
    case FieldType::Char:
    case FieldType::Memo: return czechCollator().compare(a.toString(), b.toString());
    case FieldType::Date: {
        const QDate x = a.toDate(), y = b.toDate();
        return x < y ? -1 : (y < x ? 1 : 0);
    }
    default: {
        const double x = a.toDouble(), y = b.toDouble();
        return x < y ? -1 : (y < x ? 1 : 0);
    }
    }
}

// Value as written into the file.
QVariant toStorage(const FieldDef &f, const QVariant &v)
{
    if (v.isNull())
        return {};
    switch (f.type) {
    case FieldType::Boolean: return qint64(v.toBool() ? 1 : 0);
    case FieldType::Date: return v.toDate().toString(Qt::ISODate);
    case FieldType::Float: return v.toDouble();
    case FieldType::Smallint:
    case FieldType::Integer:
    case FieldType::AutoInc: return qint64(v.toInt());
    default: return v.toString();
    }
}

// Value as read from the file; whatever another program left there is taken as well as
// it converts, never thrown at the user.
QVariant fromStorage(const FieldDef &f, const QVariant &v)
{
    if (v.isNull())
        return {};
    switch (f.type) {
    case FieldType::Boolean: return v.toLongLong() != 0;
    case FieldType::Date: {
        const QDate d = QDate::fromString(v.toString(), Qt::ISODate);
        return d.isValid() ? QVariant(d) : QVariant();
    }
    case FieldType::Float: return v.toDouble();
    case FieldType::Smallint:
    case FieldType::Integer:
    case FieldType::AutoInc: return int(v.toLongLong());
    default: {
        const QString s = v.toString();
        return s.isEmpty() ? QVariant() : QVariant(s);
    }
    }
}

QStringList splitNames(const QString &names)
{
    QStringList out;
    for (const QString &part : names.split(u';', Qt::SkipEmptyParts))
        if (!part.trimmed().isEmpty())
            out.append(part.trimmed());
    return out;
}

}  // namespace

QVariant Table::storageValue(const FieldDef &field, const QVariant &value)
{
    return toStorage(field, value);
}

Table::Table(Database *database, TableDef def, QObject *parent)
    : QObject(parent), database_(database), def_(std::move(def))
{
    for (int i = 0; i < def_.fields.size(); ++i)
        if (!def_.fields[i].calculated)
            storedIndex_.append(i);
    if (const IndexDef *pk = def_.primaryIndex())
        orderNames_ = pk->fields;
    orderDescending_ = QList<bool>(orderNames_.size(), false);
    if (database_)
        database_->attach(this);
}

Table::~Table()
{
    close();
    if (database_)
        database_->detach(this);
}

QString Table::filePath() const
{
    return database_ ? database_->filePath(def_.fileName) : def_.fileName;
}

QString Table::sqlTable() const
{
    return quoteIdentifier(fileTable_);
}

void Table::throwOpenError(int code, const QString &detail) const
{
    QString msg;
    switch (code) {
    case ErrFileMissing: msg = u"Tabulka "_s + def_.fileName + u" neexistuje."_s; break;
    case ErrFieldMissing: msg = u"Tabulka "_s + def_.fileName + u" nemá pole "_s + detail + u'.'; break;
    case ErrLocked: msg = u"Tabulku "_s + def_.fileName + u" právě používá jiný uživatel."_s; break;
    case ErrReadOnly: msg = readOnlyDirectoryMessage(database_->directory()); break;
    default: msg = u"Tabulka "_s + def_.fileName + u" je poškozená nebo nečitelná."_s; break;
    }
    throw EngineError(code, msg, __FILE__, __LINE__);
}

void Table::open()
{
    if (isActive())
        return;
    if (!database_)
        throwOpenError(ErrFileMissing, {});
    const QString path = filePath();
    if (!QFile::exists(path))
        throwOpenError(ErrFileMissing, {});
    // A table that can't be written is not opened for editing: its lock file and journal
    // could not be made, and a save would fail after the user typed.
    if (!readOnly_ && (!isWritablePath(database_->directory()) || !isWritablePath(path)))
        throwOpenError(ErrReadOnly, {});
    database_->connect();

    auto lock = std::make_unique<LockFile>(database_->directory() + QLatin1String(kUsersLockFile));
    const std::int64_t slot = LockFile::tableSlot(def_.name);
    if (!lock->lockShared(0) || !(exclusive_ ? lock->lockExclusive(slot) : lock->lockShared(slot)))
        throwOpenError(ErrLocked, {});

    auto db = std::make_unique<SqliteFile>();
    QString error;
    if (!db->open(path, false, &error))
        throwOpenError(ErrUnreadable, error);
    try {
        Statement st(*db, u"SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%' "
                          u"ORDER BY name COLLATE NOCASE <> ? LIMIT 1"_s);
        st.bind(1, def_.name);
        if (!st.step())
            throwOpenError(ErrUnreadable, {});
        fileTable_ = st.columnText(0);
        const QStringList columns = tableColumns(*db, fileTable_);
        for (int i : std::as_const(storedIndex_)) {
            if (!columns.contains(def_.fields[i].name, Qt::CaseInsensitive))
                throwOpenError(ErrFieldMissing, def_.fields[i].name);
        }
    } catch (const EngineError &e) {
        if (e.code() == ErrFieldMissing)
            throw;
        throwOpenError(e.code() == ErrLocked ? ErrLocked : ErrUnreadable, e.message());
    }
    db_ = std::move(db);
    lock_ = std::move(lock);
    state_ = State::Browse;
    try {
        readRows(0, 0);
    } catch (const EngineError &e) {
        db_.reset();
        lock_.reset();
        state_ = State::Inactive;
        throwOpenError(e.code() == ErrLocked ? ErrLocked : ErrUnreadable, e.message());
    }
    pos_ = rows_.isEmpty() ? -1 : 0;
    bof_ = true;
    eof_ = rows_.isEmpty();
    loadBuffer();
    emit stateChanged();
    emit recordChanged();
}

void Table::close()
{
    if (state_ == State::Inactive)
        return;
    rows_.clear();
    emit rowsReloaded();
    buffer_.clear();
    pos_ = -1;
    modified_ = false;
    db_.reset();
    lock_.reset();
    state_ = State::Inactive;
    emit stateChanged();
}

void Table::checkActive() const
{
    if (!isActive())
        RUR_THROW(ErrGeneral, u"Tabulka "_s + def_.fileName + u" není otevřená."_s);
}

void Table::setSelectStatement(const QString &sql)
{
    // Select * from T [where ...] [order by a, b [desc]]
    static const QRegularExpression re(
        uR"(^\s*select\s+\*\s+from\s+(\w+)(?:\s+where\s+(.+?))?(?:\s+order\s+by\s+(.+?))?\s*;?\s*$)"_s,
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const auto m = re.match(sql);
    if (!m.hasMatch() || m.captured(1).compare(def_.name, Qt::CaseInsensitive) != 0)
        RUR_THROW(ErrSql, u"Nepodporovaný příkaz SQL: "_s + sql);
    selectWhere_ = m.captured(2).isEmpty() ? QString() : filterToSql(m.captured(2), def_);
    readOnly_ = true;
    if (!m.captured(3).isEmpty()) {
        orderNames_.clear();
        orderDescending_.clear();
        for (const QString &part : m.captured(3).split(u',')) {
            QStringList words = part.simplified().split(u' ');
            const bool desc = words.size() > 1 && words[1].compare(u"desc"_s, Qt::CaseInsensitive) == 0;
            if (!def_.field(words[0]))
                RUR_THROW(ErrSql, u"Nepodporovaný příkaz SQL: "_s + sql);
            orderNames_.append(words[0]);
            orderDescending_.append(desc);
        }
        indexName_.clear();
    }
    if (isActive())
        refresh();
}

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

QString Table::whereClause() const
{
    QStringList parts;
    if (!selectWhere_.isEmpty())
        parts.append(u'(' + selectWhere_ + u')');
    if (filtered_ && !filter_.trimmed().isEmpty())
        parts.append(u'(' + filterToSql(filter_, def_) + u')');
    return parts.isEmpty() ? QString() : u" WHERE "_s + parts.join(u" AND "_s);
}

void Table::readRows(qint64 keepRowid, int fallbackPos)
{
    QStringList cols{u"rowid"_s};
    for (int i : std::as_const(storedIndex_))
        cols.append(quoteIdentifier(def_.fields[i].name));
    Statement st(*db_, u"SELECT "_s + cols.join(u", "_s) + u" FROM "_s + sqlTable() + whereClause() + u" ORDER BY rowid"_s);
    QList<Row> rows;
    while (st.step()) {
        Row r;
        r.rowid = st.columnInt64(0);
        r.values.reserve(storedIndex_.size());
        for (int c = 0; c < storedIndex_.size(); ++c)
            r.values.append(fromStorage(def_.fields[storedIndex_[c]], st.column(c + 1)));
        rows.append(std::move(r));
    }
    // Range and master-detail conditions compare in memory with the field's own ordering.
    auto valueOf = [&](const Row &r, int fieldIndex) { return r.values[storedIndex_.indexOf(fieldIndex)]; };
    if (ranged_) {
        const QList<int> keys = orderFields();
        rows.removeIf([&](const Row &r) {
            for (int k = 0; k < keys.size(); ++k) {
                const FieldType t = def_.fields[keys[k]].type;
                if (k < rangeStart_.size() && compareValues(valueOf(r, keys[k]), convertToFieldType(def_.fields[keys[k]], rangeStart_[k]), t) < 0)
                    return true;
                if (k < rangeEnd_.size() && compareValues(valueOf(r, keys[k]), convertToFieldType(def_.fields[keys[k]], rangeEnd_[k]), t) > 0)
                    return true;
            }
            return false;
        });
    }
    if (master_) {
        QVariantList wanted;
        for (const QString &mf : std::as_const(masterFields_))
            wanted.append(master_->isActive() && !master_->isEmpty() ? master_->field(mf).value() : QVariant());
        const bool masterEmpty = !master_->isActive() || master_->isEmpty();
        rows.removeIf([&](const Row &r) {
            if (masterEmpty)
                return true;
            for (int k = 0; k < detailFields_.size(); ++k) {
                const int fi = def_.indexOf(detailFields_[k]);
                if (compareValues(valueOf(r, fi), convertToFieldType(def_.fields[fi], wanted.value(k)), def_.fields[fi].type) != 0)
                    return true;
            }
            return false;
        });
    }
    rows_ = std::move(rows);
    sortRows();
    pos_ = -1;
    if (keepRowid != 0)
        for (int i = 0; i < rows_.size(); ++i)
            if (rows_[i].rowid == keepRowid)
                pos_ = i;
    if (pos_ < 0 && !rows_.isEmpty())
        pos_ = std::clamp(fallbackPos, 0, int(rows_.size()) - 1);
    emit rowsReloaded();
}

void Table::sortRows()
{
    const QList<int> keys = orderFields();
    if (keys.isEmpty())
        return;
    QList<int> cols;
    for (int k : keys)
        cols.append(int(storedIndex_.indexOf(k)));
    std::stable_sort(rows_.begin(), rows_.end(), [&](const Row &a, const Row &b) {
        for (int k = 0; k < keys.size(); ++k) {
            if (cols[k] < 0)
                continue;
            int c = compareValues(a.values[cols[k]], b.values[cols[k]], def_.fields[keys[k]].type);
            if (orderDescending_.value(k))
                c = -c;
            if (c != 0)
                return c < 0;
        }
        return false;
    });
}

void Table::loadBuffer()
{
    buffer_ = QVariantList(def_.fields.size());
    if (pos_ >= 0 && pos_ < rows_.size())
        for (int c = 0; c < storedIndex_.size(); ++c)
            buffer_[storedIndex_[c]] = rows_[pos_].values[c];
    modified_ = false;
    calculate();
}

void Table::calculate()
{
    if (calculating_)
        return;
    for (int i = 0; i < def_.fields.size(); ++i)
        if (def_.fields[i].calculated)
            buffer_[i] = QVariant();
    if (!onCalcFields || (pos_ < 0 && state_ != State::Insert))
        return;
    calculating_ = true;
    try {
        onCalcFields(*this);
    } catch (...) {
        calculating_ = false;
        throw;
    }
    calculating_ = false;
}

QVariantList Table::rowValues(int row)
{
    checkActive();
    if (row < 0 || row >= rows_.size())
        return {};
    if (row == pos_)
        return buffer_;
    const QVariantList savedBuffer = buffer_;
    const int savedPos = pos_;
    const bool savedModified = modified_;
    const State savedState = state_;
    const QSignalBlocker blocker(this);
    state_ = State::Browse;
    pos_ = row;
    loadBuffer();
    QVariantList out = buffer_;
    buffer_ = savedBuffer;
    pos_ = savedPos;
    modified_ = savedModified;
    state_ = savedState;
    return out;
}

QVariant Table::storedValue(int row, int fieldIndex) const
{
    if (row < 0 || row >= rows_.size())
        return {};
    const qsizetype column = storedIndex_.indexOf(fieldIndex);
    return column < 0 ? QVariant() : rows_[row].values[column];
}

void Table::moveTo(int pos)
{
    pos_ = rows_.isEmpty() ? -1 : std::clamp(pos, 0, int(rows_.size()) - 1);
    loadBuffer();
    emit recordChanged();
}

int Table::recNo() const
{
    if (state_ == State::Insert)
        return 0;
    return pos_ < 0 ? 0 : pos_ + 1;
}

void Table::first()
{
    checkActive();
    checkBrowseMode();
    moveTo(0);
    bof_ = true;
    eof_ = rows_.isEmpty();
}

void Table::last()
{
    checkActive();
    checkBrowseMode();
    moveTo(int(rows_.size()) - 1);
    eof_ = true;
    bof_ = rows_.isEmpty();
}

void Table::next()
{
    checkActive();
    checkBrowseMode();
    if (pos_ + 1 < rows_.size()) {
        moveTo(pos_ + 1);
        bof_ = false;
        eof_ = false;
    } else {
        eof_ = true;
    }
}

void Table::prior()
{
    checkActive();
    checkBrowseMode();
    if (pos_ > 0) {
        moveTo(pos_ - 1);
        eof_ = false;
        bof_ = false;
    } else {
        bof_ = true;
    }
}

void Table::checkBrowseMode()
{
    if (!isEditing())
        return;
    if (modified_)
        post();
    else
        cancel();
}

void Table::edit()
{
    checkActive();
    if (isEditing())
        return;
    if (readOnly_)
        RUR_THROW(ErrGeneral, u"Dotaz nad tabulkou "_s + def_.fileName + u" nelze upravovat."_s);
    if (rows_.isEmpty()) {
        insert();
        return;
    }
    state_ = State::Edit;
    modified_ = false;
    emit stateChanged();
}

void Table::insert()
{
    checkActive();
    checkBrowseMode();
    if (readOnly_)
        RUR_THROW(ErrGeneral, u"Dotaz nad tabulkou "_s + def_.fileName + u" nelze upravovat."_s);
    insertPos_ = pos_;
    state_ = State::Insert;
    buffer_ = QVariantList(def_.fields.size());
    modified_ = false;
    eof_ = bof_ = false;
    if (onNewRecord)
        onNewRecord(*this);
    calculate();
    emit stateChanged();
    emit dataChanged(-1);
}

void Table::append()
{
    insert();
    insertPos_ = int(rows_.size());
}

void Table::writeBuffer()
{
    Transaction tx(*db_);
    QStringList names, marks;
    QVariantList values;
    for (int i : std::as_const(storedIndex_)) {
        const FieldDef &f = def_.fields[i];
        if (state_ == State::Insert && f.type == FieldType::AutoInc && buffer_[i].isNull())
            continue;  // the file numbers the row
        names.append(quoteIdentifier(f.name));
        marks.append(u"?"_s);
        values.append(toStorage(f, buffer_[i]));
    }
    qint64 rowid = 0;
    if (state_ == State::Insert) {
        Statement st(*db_, names.isEmpty() ? u"INSERT INTO "_s + sqlTable() + u" DEFAULT VALUES"_s
                                            : u"INSERT INTO "_s + sqlTable() + u" ("_s + names.join(u", "_s)
                                                  + u") VALUES ("_s + marks.join(u", "_s) + u')');
        for (int i = 0; i < values.size(); ++i)
            st.bind(i + 1, values[i]);
        st.step();
        Statement last(*db_, u"SELECT last_insert_rowid()"_s);
        last.step();
        rowid = last.columnInt64(0);
    } else {
        rowid = rows_[pos_].rowid;
        QStringList sets;
        for (const QString &n : std::as_const(names))
            sets.append(n + u" = ?"_s);
        Statement st(*db_, u"UPDATE "_s + sqlTable() + u" SET "_s + sets.join(u", "_s) + u" WHERE rowid = ?"_s);
        for (int i = 0; i < values.size(); ++i)
            st.bind(i + 1, values[i]);
        st.bind(int(values.size()) + 1, rowid);
        st.step();
        // An auto-increment key is the row id itself.
        for (int i : std::as_const(storedIndex_))
            if (def_.fields[i].type == FieldType::AutoInc && !buffer_[i].isNull())
                rowid = buffer_[i].toLongLong();
    }
    crashPoint("table:before-commit");
    tx.commit();
    const int fallback = state_ == State::Insert ? insertPos_ : pos_;
    state_ = State::Browse;
    readRows(rowid, fallback);
}

void Table::post()
{
    checkActive();
    if (!isEditing())
        RUR_THROW(ErrNotEditing, u"Tabulka "_s + def_.fileName + u" není v režimu úprav."_s);
    if (beforePost)
        beforePost(*this);
    const State before = state_;
    for (;;) {
        try {
            writeBuffer();
            break;
        } catch (const EngineError &e) {
            state_ = before;
            const PostErrorAction action = onPostError ? onPostError(*this, e) : PostErrorAction::Fail;
            if (action == PostErrorAction::Retry)
                continue;
            if (action == PostErrorAction::Abort)
                throw EngineError(ErrAbort, QString(), __FILE__, __LINE__);
            throw;
        }
    }
    loadBuffer();
    emit stateChanged();
    emit recordChanged();
    if (afterPost)
        afterPost(*this);
}

void Table::cancel()
{
    checkActive();
    if (!isEditing())
        return;
    state_ = State::Browse;
    loadBuffer();
    emit stateChanged();
    emit recordChanged();
}

void Table::deleteRecord()
{
    checkActive();
    if (state_ == State::Insert) {
        cancel();
        return;
    }
    if (readOnly_)
        RUR_THROW(ErrGeneral, u"Dotaz nad tabulkou "_s + def_.fileName + u" nelze upravovat."_s);
    if (rows_.isEmpty())
        RUR_THROW(ErrGeneral, u"Tabulka "_s + def_.fileName + u" je prázdná."_s);
    const int oldPos = pos_;
    {
        Transaction tx(*db_);
        Statement st(*db_, u"DELETE FROM "_s + sqlTable() + u" WHERE rowid = ?"_s);
        st.bind(1, rows_[pos_].rowid);
        st.step();
        tx.commit();
    }
    const bool wasEditing = state_ == State::Edit;
    state_ = State::Browse;
    readRows(0, oldPos);
    loadBuffer();
    eof_ = rows_.isEmpty();
    if (wasEditing)
        emit stateChanged();
    emit recordChanged();
    if (afterDelete)
        afterDelete(*this);
}

void Table::emptyTable()
{
    checkActive();
    if (isEditing())
        cancel();
    {
        Transaction tx(*db_);
        db_->exec(u"DELETE FROM "_s + sqlTable());
        tx.commit();
    }
    readRows(0, 0);
    loadBuffer();
    bof_ = eof_ = true;
    emit recordChanged();
}

void Table::refresh()
{
    checkActive();
    checkBrowseMode();
    const qint64 keep = pos_ >= 0 && pos_ < rows_.size() ? rows_[pos_].rowid : 0;
    readRows(keep, pos_);
    loadBuffer();
    emit recordChanged();
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
            const QVariant &have = rows_[r].values[cols[k]];
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

Field Table::field(const QString &fieldName)
{
    const int i = def_.indexOf(fieldName);
    if (i < 0)
        RUR_THROW(ErrGeneral, u"Tabulka "_s + def_.fileName + u" nemá pole "_s + fieldName + u'.');
    return Field(this, i);
}

QVariant Table::value(int fieldIndex) const
{
    if (fieldIndex < 0 || fieldIndex >= buffer_.size())
        return {};
    return buffer_[fieldIndex];
}

void Table::setValue(int fieldIndex, const QVariant &v)
{
    checkActive();
    const FieldDef &f = def_.fields.at(fieldIndex);
    if (f.calculated) {
        if (!calculating_)
            RUR_THROW(ErrNotEditing, u"Pole "_s + f.name + u" je počítané."_s);
        buffer_[fieldIndex] = v.isNull() ? QVariant() : convertToFieldType(f, v);
        return;
    }
    if (!isEditing())
        RUR_THROW(ErrNotEditing, u"Tabulka "_s + def_.fileName + u" není v režimu úprav."_s);
    const QVariant converted = convertToFieldType(f, v);
    if (!converted.isNull() && (f.minValue || f.maxValue)) {
        const double x = converted.toDouble();
        if ((f.minValue && x < *f.minValue) || (f.maxValue && x > *f.maxValue)) {
            const QString fmt = f.displayFormat.isEmpty() ? QString() : f.displayFormat;
            RUR_THROW(ErrOutOfRange, u"Hodnota "_s + formatFloat(x, QString(), u',') + u" není platná pro "_s + fieldCaption(f)
                                         + u". Povolený rozsah je "_s + formatFloat(f.minValue.value_or(0), fmt)
                                         + u" až "_s + formatFloat(f.maxValue.value_or(0), fmt) + u'.');
        }
    }
    buffer_[fieldIndex] = converted;
    modified_ = true;
    calculate();
    emit dataChanged(fieldIndex);
}

void Table::setFieldText(int fieldIndex, const QString &text)
{
    if (auto it = setTextHooks_.constFind(fieldIndex); it != setTextHooks_.constEnd() && *it) {
        (*it)(Field(this, fieldIndex), text);
        return;
    }
    setValue(fieldIndex, text);
}

void Table::setFieldLabel(const QString &fieldName, const QString &label)
{
    if (const int i = def_.indexOf(fieldName); i >= 0)
        def_.fields[i].label = label;
}

void Table::setOnSetText(const QString &fieldName, std::function<void(Field, const QString &)> hook)
{
    const int i = def_.indexOf(fieldName);
    if (i < 0)
        RUR_THROW(ErrGeneral, u"Tabulka "_s + def_.fileName + u" nemá pole "_s + fieldName + u'.');
    setTextHooks_[i] = std::move(hook);
}

}  // namespace rur::engine
