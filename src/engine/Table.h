#pragma once

#include "engine/EngineError.h"
#include "engine/Field.h"
#include "engine/PackedRow.h"
#include "engine/TableDef.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QVariant>
#include <functional>
#include <memory>

namespace rur::engine {

class Database;
class LockFile;
class SqliteFile;
class Statement;

struct LocateOptions {
    bool caseInsensitive = false;
    bool partialKey = false;
};

// A table cursor over one table file: the record operations, field objects, hooks and
// signals that the program's data module and data-aware widgets work with. The rows of
// the table are read in index order when it opens or refreshes; a posted row is written
// in one transaction.
class Table : public QObject {
    Q_OBJECT

public:
    enum class State { Inactive, Browse, Edit, Insert };
    enum class PostErrorAction { Fail, Abort, Retry };
    using Bookmark = qint64;

    Table(Database *database, TableDef def, QObject *parent = nullptr);
    ~Table() override;

    const TableDef &def() const { return def_; }
    QString name() const { return def_.name; }
    QString fileName() const { return def_.fileName; }
    QString filePath() const;
    Database *database() const { return database_; }

    // Opening. open() throws EngineError: ErrFileMissing, ErrFieldMissing, ErrUnreadable
    // or ErrLocked, with a Czech message naming the table.
    void setExclusive(bool exclusive) { exclusive_ = exclusive; }
    bool exclusive() const { return exclusive_; }
    void open();
    void close();
    // Opens as open() does (every check of the file, the same errors) without reading the
    // rows, and closes again: for tables that are only checked, not used, at a data set's
    // opening. Their rows are read, and checked, when a window opens them.
    void verify();
    bool isActive() const { return state_ != State::Inactive; }
    State state() const { return state_; }
    bool isEditing() const { return state_ == State::Edit || state_ == State::Insert; }

    // The columns of the open table as its file holds them, beyond the layout too (a Paradox
    // file's fields, although only the layout's values are read from it).
    QStringList fileColumns() const;

    // A read-only query: "Select * from T [where ...] [order by ...]" over this table's fields.
    void setSelectStatement(const QString &sql);
    bool isReadOnly() const { return readOnly_; }
    // Opens the file for reading only (set before open): no write check, the file opened
    // read-only, shared locks only and only where a lock file exists, nothing created in the
    // directory. For tables of other programs, which the program reads but must not change.
    void setReadOnly(bool readOnly);

    // Index order: field names separated by ";" or the name of a secondary index.
    void setIndexFieldNames(const QString &names);
    void setIndexName(const QString &indexName);
    QString indexFieldNames() const;
    QString indexName() const { return indexName_; }
    void addIndex(const QString &indexName, const QString &fieldNames);
    void deleteIndex(const QString &indexName);
    void rebuildIndexes();  // needs an exclusive open

    // Navigation.
    void first();
    void last();
    void next();
    void prior();
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }
    int recordCount() const { return int(rows_.size()); }
    bool isEmpty() const { return rows_.isEmpty(); }
    int recNo() const;  // 1-based; 0 without a current row
    // Moves to the row at a 0-based position of the current order (a grid's click); a pending
    // edit is posted first, as any move posts it. False for a position out of range.
    bool goToRow(int row);

    // Editing. Edit on an empty table inserts, as the single-row tables expect.
    void edit();
    void append();
    void insert();
    void post();
    void cancel();
    void deleteRecord();
    void emptyTable();
    void refresh();
    // Refreshes only when another connection has written the file since the rows were read
    // (another user, a group write); true when the rows were read again.
    bool refreshIfChanged();
    bool isModified() const { return modified_; }
    // Posts a modified edit, cancels an unmodified one.
    void checkBrowseMode();

    Bookmark bookmark() const;
    bool gotoBookmark(Bookmark bookmark);

    bool locate(const QString &fieldNames, const QVariantList &values, LocateOptions options = {});
    bool findKey(const QVariantList &values);

    void setFilter(const QString &expression);  // "Cislo = 1"
    QString filter() const { return filter_; }
    void setFiltered(bool filtered);
    bool filtered() const { return filtered_; }
    void setRange(const QVariantList &start, const QVariantList &end);  // on the index fields
    void cancelRange();
    // Detail rows of the master's current row: detailFields equal the master's masterFields.
    void setMasterSource(Table *master, const QString &masterFields, const QString &detailFields);

    // Fields.
    int fieldCount() const { return int(def_.fields.size()); }
    Field fieldAt(int index) { return Field(this, index); }
    Field field(const QString &fieldName);  // throws for an unknown name
    bool hasField(const QString &fieldName) const { return def_.indexOf(fieldName) >= 0; }
    // How messages name a field (see FieldDef::label); unknown names are ignored.
    void setFieldLabel(const QString &fieldName, const QString &label);
    QVariant value(int fieldIndex) const;
    void setValue(int fieldIndex, const QVariant &value);
    void setFieldText(int fieldIndex, const QString &text);
    // Every field of a row (stored and calculated) without moving the cursor.
    QVariantList rowValues(int row);
    // One stored field of a row, without moving the cursor or calculating (for lists).
    QVariant storedValue(int row, int fieldIndex) const;
    int currentRow() const { return pos_; }

    // Hooks, named as the program names table events.
    std::function<void(Table &)> beforePost;
    std::function<void(Table &)> afterPost;
    std::function<void(Table &)> afterDelete;
    std::function<void(Table &)> onNewRecord;
    std::function<void(Table &)> onCalcFields;
    std::function<PostErrorAction(Table &, const EngineError &)> onPostError;
    void setOnSetText(const QString &fieldName, std::function<void(Field, const QString &)> hook);

    // Value of a field as it is written into the file.
    static QVariant storageValue(const FieldDef &field, const QVariant &value);

signals:
    void stateChanged();
    void dataChanged(int fieldIndex);  // -1: the whole record
    void recordChanged();              // moved, refreshed, posted or deleted
    void rowsReloaded();               // the rows were read again or put in another order

private:
    friend class Database;
    friend class GroupWrite;
    friend class GroupTransaction;
    struct Row {
        qint64 rowid = 0;
        detail::PackedRow values;  // stored fields in declaration order
    };

    void checkActive() const;
    void readRows(qint64 keepRowid, int fallbackPos);
    // After the table's own write of one row (its row id before and after; 0 for none):
    // that row alone is read again and put in its place when nobody else has written the
    // file since the rows were read; otherwise every row is.
    void rereadRow(qint64 oldRowid, qint64 rowid, int fallbackPos);
    bool unchangedSinceRead() const;
    QString selectColumns() const;
    Row readRow(Statement &st, detail::RowPacker &packer) const;
    // The conditions kept in memory (the range, the master's row); none when the table has none.
    std::function<bool(const Row &)> rowCondition() const;
    // The order of the rows: by the index fields, and by row id where they are equal.
    std::function<bool(const Row &, const Row &)> rowOrder() const;
    void placeAt(qint64 keepRowid, int fallbackPos);
    void sortRows();
    void loadBuffer();
    void calculate();
    void writeBuffer();
    void moveTo(int pos);
    QList<int> orderFields() const;
    QString whereClause() const;
    QString sqlTable() const;
    // The connection the table reads and writes through: its own, or that of the group
    // transaction it takes part in.
    SqliteFile &connection() const;
    bool grouped() const { return groupDb_ != nullptr; }
    void onMasterMoved();
    [[noreturn]] void throwOpenError(int code, const QString &detail) const;

    Database *database_;
    TableDef def_;
    QList<int> storedIndex_;  // field index of each stored column, in order
    std::unique_ptr<SqliteFile> db_;
    std::unique_ptr<LockFile> lock_;
    QString fileTable_;       // name of the SQL table inside the file
    SqliteFile *groupDb_ = nullptr;  // set while a group transaction holds the table
    QString groupSchema_;            // the table file's name on that connection

    State state_ = State::Inactive;
    bool exclusive_ = false;
    bool rowsWanted_ = true;  // false while verify() opens
    bool readOnly_ = false;
    bool fileReadOnly_ = false;
    QList<Row> rows_;
    // The connection the rows were last read through and its data version then: rows read
    // through another connection (a group transaction's) are always read again.
    const SqliteFile *readConnection_ = nullptr;
    qint64 readVersion_ = -1;
    int pos_ = -1;
    bool bof_ = true;
    bool eof_ = true;
    QVariantList buffer_;  // every field of the current record
    bool modified_ = false;
    bool calculating_ = false;
    int insertPos_ = -1;

    QStringList orderNames_;
    QList<bool> orderDescending_;
    QString indexName_;
    QString filter_;
    bool filtered_ = false;
    QString selectWhere_;
    QVariantList rangeStart_, rangeEnd_;
    bool ranged_ = false;
    Table *master_ = nullptr;
    QStringList masterFields_, detailFields_;
    QMetaObject::Connection masterConnection_;
    QHash<int, std::function<void(Field, const QString &)>> setTextHooks_;
};

}  // namespace rur::engine
