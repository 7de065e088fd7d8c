// Opening and closing a table and reading its rows.
#include "engine/Table.h"

#include "engine/Database.h"
#include "engine/FilterExpression.h"
#include "engine/LockFile.h"
#include "engine/ParadoxImport.h"
#include "engine/Sqlite.h"
#include "engine/TableCheck.h"
#include "engine/TableFile.h"
#include "engine/TableValues.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace rur::engine {

using namespace detail;

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
    return groupDb_ ? quoteIdentifier(groupSchema_) + u'.' + quoteIdentifier(fileTable_) : quoteIdentifier(fileTable_);
}

SqliteFile &Table::connection() const
{
    return groupDb_ ? *groupDb_ : *db_;
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
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        throwOpenError(ErrFileMissing, {});
    // Only a regular file of a plausible size is a table: a device, a pipe or a huge file
    // would hang the program or fill the memory.
    if (!isPlainFileWithin(path, kMaxTableFileSize))
        throwOpenError(ErrUnreadable, {});
    // A Paradox table (an earlier edition's, a sibling program's) is never written: it is
    // read whole into memory, without locks (the lock files beside it belong to the program
    // that wrote it, and no instance of this one locks a file it can't write).
    const bool paradox = !groupDb_ && tableFileFormatOf(path) == TableFileFormat::Paradox;
    if (paradox && !fileReadOnly_)
        throw EngineError(ErrReadOnly, u"Tabulka "_s + def_.fileName + u" je ve formátu Paradox, program ji jen čte."_s,
                          __FILE__, __LINE__);
    // A table that can't be written is not opened for editing: its lock file and journal
    // could not be made, and a save would fail after the user typed.
    if (!readOnly_ && (!isWritablePath(database_->directory()) || !isWritablePath(path)))
        throwOpenError(ErrReadOnly, {});
    const QString lockPath = database_->directory() + QLatin1String(kUsersLockFile);
    std::unique_ptr<LockFile> lock;
    if (paradox) {
        // no lock, see above
    } else if (!fileReadOnly_) {
        database_->connect();
        lock = std::make_unique<LockFile>(lockPath);
    } else if (QFileInfo(lockPath).isReadable()) {
        lock = std::make_unique<LockFile>(lockPath, true);
    }
    const std::int64_t slot = LockFile::tableSlot(def_.name);
    if (lock && (!lock->lockShared(0) || !(exclusive_ && !fileReadOnly_ ? lock->lockExclusive(slot) : lock->lockShared(slot))))
        throwOpenError(ErrLocked, {});

    // Inside a group transaction the file is already open (and was checked when the table
    // was first opened): the table reads through the group's connection.
    std::unique_ptr<SqliteFile> db;
    if (paradox) {
        db = paradoxInMemory(path, def_);
    } else if (!groupDb_) {
        db = std::make_unique<SqliteFile>();
        QString error;
        if (!db->open(path, false, &error, fileReadOnly_))
            throwOpenError(ErrUnreadable, error);
    }
    SqliteFile &conn = groupDb_ ? *groupDb_ : *db;
    const QString schema = groupDb_ ? groupSchema_ : u"main"_s;
    try {
        // A damaged file is never read as an empty or partial table: the next save would
        // overwrite what is left of the user's data.
        if (db && !paradox)
            if (const QString damage = db->damage(path); !damage.isEmpty())
                throwOpenError(ErrUnreadable, damage);
        // The table of the file's own name, and nothing else: a file holding another table,
        // a view or a trigger is not ours to read, to write or to upgrade.
        if (const QString damage = schemaDamage(conn, schema, def_.name, &fileTable_); !damage.isEmpty())
            throwOpenError(ErrUnreadable, damage);
        if (const QString field = missingField(conn, schema, fileTable_, def_); !field.isEmpty())
            throwOpenError(ErrFieldMissing, field);
    } catch (const EngineError &e) {
        if (e.code() == ErrFieldMissing)
            throw;
        throwOpenError(e.code() == ErrLocked ? ErrLocked : ErrUnreadable, e.message());
    }
    db_ = std::move(db);
    lock_ = std::move(lock);
    state_ = State::Browse;
    try {
        if (rowsWanted_)
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

void Table::verify()
{
    if (isActive())
        return;
    rowsWanted_ = false;
    try {
        open();
    } catch (...) {
        rowsWanted_ = true;
        throw;
    }
    rowsWanted_ = true;
    close();
}

void Table::close()
{
    if (state_ == State::Inactive)
        return;
    rows_.clear();
    readConnection_ = nullptr;
    readVersion_ = -1;
    emit rowsReloaded();
    buffer_.clear();
    pos_ = -1;
    modified_ = false;
    db_.reset();
    lock_.reset();
    state_ = State::Inactive;
    emit stateChanged();
}

QStringList Table::fileColumns() const
{
    checkActive();
    Statement st(connection(), u"SELECT name FROM pragma_table_info(?, ?)"_s);
    st.bind(1, fileTable_);
    st.bind(2, groupDb_ ? groupSchema_ : u"main"_s);
    QStringList columns;
    while (st.step())
        columns.append(st.columnText(0));
    return columns;
}

void Table::checkActive() const
{
    if (!isActive())
        RUR_THROW(ErrGeneral, u"Tabulka "_s + def_.fileName + u" není otevřená."_s);
}

void Table::setReadOnly(bool readOnly)
{
    if (isActive())
        RUR_THROW(ErrGeneral, u"Tabulka "_s + def_.fileName + u" je otevřená."_s);
    readOnly_ = fileReadOnly_ = readOnly;
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
}  // namespace rur::engine
