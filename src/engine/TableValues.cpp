#include "engine/TableValues.h"

#include "engine/PackedRow.h"
#include "engine/Sqlite.h"

#include <QCollator>
#include <QDate>
#include <QLocale>

#include <sqlite3.h>

#include <cmath>
#include <cstring>
#include <limits>

using namespace Qt::StringLiterals;

namespace rur::engine::detail {

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

// The number a numeric field holds, read directly for the types the table keeps: the general
// conversion costs more than the rest of a comparison, and a large table's order is checked
// with a comparison per row.
double numberOf(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Int: return *static_cast<const int *>(v.constData());
    case QMetaType::Double: return *static_cast<const double *>(v.constData());
    case QMetaType::LongLong: return double(*static_cast<const qlonglong *>(v.constData()));
    default: return v.toDouble();
    }
}

}  // namespace

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
        const double x = numberOf(a), y = numberOf(b);
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
    case FieldType::Date: {
        // yyyy-mm-dd by hand for the years of four digits (Qt's own form goes through printf).
        const QDate d = v.toDate();
        if (!d.isValid() || d.year() < 1000 || d.year() > 9999)
            return d.toString(Qt::ISODate);
        char16_t text[10];
        const auto digits = [&](int at, int value, int count) {
            for (int i = count - 1; i >= 0; --i, value /= 10)
                text[at + i] = char16_t(u'0' + value % 10);
        };
        digits(0, d.year(), 4);
        text[4] = u'-';
        digits(5, d.month(), 2);
        text[7] = u'-';
        digits(8, d.day(), 2);
        return QString::fromUtf16(text, 10);
    }
    case FieldType::Float: return v.toDouble();
    case FieldType::Smallint:
    case FieldType::Integer:
    case FieldType::AutoInc: return qint64(v.toInt());
    default: return v.toString();
    }
}

bool fromStorage(const FieldDef &f, const QVariant &v, QVariant *out)
{
    *out = QVariant();
    if (v.isNull())
        return true;
    const int kind = v.typeId();
    const bool number = kind == QMetaType::LongLong || kind == QMetaType::Double;
    switch (f.type) {
    case FieldType::Boolean:
        if (!number)
            return false;
        *out = v.toDouble() != 0;
        return true;
    case FieldType::Date: {
        if (kind != QMetaType::QString)
            return false;
        const QString text = v.toString();
        if (text.isEmpty())
            return true;
        // YYYY-MM-DD and nothing else: a time or a zone after the date is not a date field.
        if (text.size() != 10)
            return false;
        const QDate d = QDate::fromString(text, u"yyyy-MM-dd"_s);
        *out = d;
        return d.isValid();
    }
    case FieldType::Float: {
        if (!number || !std::isfinite(v.toDouble()))
            return false;
        *out = v.toDouble();
        return true;
    }
    case FieldType::Smallint:
    case FieldType::Integer:
    case FieldType::AutoInc: {
        if (!number)
            return false;
        const double x = v.toDouble();
        const double limit = f.type == FieldType::Smallint ? 32768.0 : 2147483648.0;
        if (x != std::trunc(x) || x < -limit || x >= limit)
            return false;
        *out = int(x);
        return true;
    }
    default: {
        if (kind == QMetaType::QByteArray)
            return false;  // a BLOB, or text that is not UTF-8
        const QString s = v.toString();
        // A NUL would cut the text short in every file it goes on to.
        if (s.contains(QChar(0)))
            return false;
        *out = s.isEmpty() ? QVariant() : QVariant(s);
        return true;
    }
    }
}

bool isReadableText(QByteArrayView utf8)
{
    return !std::memchr(utf8.data(), 0, size_t(utf8.size())) && QUtf8StringView(utf8).isValidUtf8();
}

bool readStored(const FieldDef &f, const Statement &st, int column, RowPacker &row, int index)
{
    // A text field's text goes into the row as the file holds it, without a string made.
    if ((f.type == FieldType::Char || f.type == FieldType::Memo) && st.columnType(column) == SQLITE_TEXT) {
        const QByteArrayView bytes = st.columnUtf8(column);
        if (!isReadableText(bytes))
            return false;
        if (bytes.isEmpty())
            row.setNull(index);
        else
            row.setText(index, bytes);
        return true;
    }
    QVariant value;
    if (!fromStorage(f, st, column, &value))
        return false;
    row.set(index, value);
    return true;
}

bool fromStorage(const FieldDef &f, const Statement &st, int column, QVariant *out)
{
    const int kind = st.columnType(column);
    switch (kind) {
    case SQLITE_NULL:
        *out = QVariant();
        return true;
    case SQLITE_FLOAT:
        if (f.type == FieldType::Float) {
            const double x = st.columnDouble(column);
            *out = x;
            return std::isfinite(x);
        }
        return fromStorage(f, QVariant(st.columnDouble(column)), out);
    case SQLITE_INTEGER:
        if (f.type == FieldType::Float) {
            *out = double(st.columnInt64(column));
            return true;
        }
        if (f.type == FieldType::Integer || f.type == FieldType::AutoInc) {
            const qint64 x = st.columnInt64(column);
            *out = int(x);
            return x >= std::numeric_limits<int>::min() && x <= std::numeric_limits<int>::max();
        }
        return fromStorage(f, QVariant(st.columnInt64(column)), out);
    case SQLITE_BLOB:
        return false;  // bytes: no field shows them and no filing file carries them
    case SQLITE_TEXT: {
        // The bytes are looked at before any string is made: most texts of a large table are
        // short, and a date needs no string at all. Text that is not UTF-8 is not read (it
        // would gain replacement characters), nor is a NUL, which would cut it short on its
        // way out.
        const QByteArrayView bytes = st.columnUtf8(column);
        if (!isReadableText(bytes))
            return false;
        if (f.type == FieldType::Char || f.type == FieldType::Memo) {
            *out = bytes.isEmpty() ? QVariant() : QVariant(QString::fromUtf8(bytes));
            return true;
        }
        // Dates as the program writes them, yyyy-mm-dd, read without the general parser.
        if (f.type == FieldType::Date && bytes.size() == 10 && bytes[4] == '-' && bytes[7] == '-') {
            const auto number = [&](int from, int length) {
                int n = 0;
                for (int i = from; i < from + length; ++i) {
                    if (bytes[i] < '0' || bytes[i] > '9')
                        return -1;
                    n = n * 10 + (bytes[i] - '0');
                }
                return n;
            };
            const QDate d(number(0, 4), number(5, 2), number(8, 2));
            *out = d;
            return d.isValid();
        }
        return fromStorage(f, QVariant(QString::fromUtf8(bytes)), out);
    }
    default:
        return fromStorage(f, st.column(column), out);
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

}  // namespace rur::engine::detail
