#include "engine/TableValues.h"

#include <QCollator>
#include <QDate>
#include <QLocale>

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

}  // namespace rur::engine::detail
