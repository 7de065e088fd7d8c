#include "engine/TableValues.h"

#include <QCollator>
#include <QDate>
#include <QLocale>

#include <cmath>

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

QStringList splitNames(const QString &names)
{
    QStringList out;
    for (const QString &part : names.split(u';', Qt::SkipEmptyParts))
        if (!part.trimmed().isEmpty())
            out.append(part.trimmed());
    return out;
}

}  // namespace rur::engine::detail
