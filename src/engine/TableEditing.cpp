// Changing rows: edit, insert, post, cancel, delete, and the values of the fields.
#include "engine/Table.h"

#include "engine/NumberFormat.h"
#include "engine/Sqlite.h"
#include "engine/TableFile.h"
#include "engine/TableValues.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace rur::engine {

using namespace detail;

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
    Transaction tx(connection());
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
    qint64 rowid = 0, oldRowid = 0;
    if (state_ == State::Insert) {
        Statement st(connection(), names.isEmpty() ? u"INSERT INTO "_s + sqlTable() + u" DEFAULT VALUES"_s
                                            : u"INSERT INTO "_s + sqlTable() + u" ("_s + names.join(u", "_s)
                                                  + u") VALUES ("_s + marks.join(u", "_s) + u')');
        for (int i = 0; i < values.size(); ++i)
            st.bind(i + 1, values[i]);
        st.step();
        Statement last(connection(), u"SELECT last_insert_rowid()"_s);
        last.step();
        rowid = last.columnInt64(0);
    } else {
        rowid = oldRowid = rows_[pos_].rowid;
        QStringList sets;
        for (const QString &n : std::as_const(names))
            sets.append(n + u" = ?"_s);
        Statement st(connection(), u"UPDATE "_s + sqlTable() + u" SET "_s + sets.join(u", "_s) + u" WHERE rowid = ?"_s);
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
    rereadRow(oldRowid, rowid, fallback);
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
    const qint64 rowid = rows_[pos_].rowid;
    {
        Transaction tx(connection());
        Statement st(connection(), u"DELETE FROM "_s + sqlTable() + u" WHERE rowid = ?"_s);
        st.bind(1, rowid);
        st.step();
        tx.commit();
    }
    const bool wasEditing = state_ == State::Edit;
    state_ = State::Browse;
    rereadRow(rowid, 0, oldPos);
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
        Transaction tx(connection());
        connection().exec(u"DELETE FROM "_s + sqlTable());
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
bool Table::refreshIfChanged()
{
    checkActive();
    if (!isEditing() && unchangedSinceRead())
        return false;
    refresh();
    return true;
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
