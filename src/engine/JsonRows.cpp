#include "engine/JsonRows.h"

#include "engine/Field.h"
#include "engine/NumberFormat.h"
#include "engine/Table.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace rur::engine {

QString jsonString(const QString &s)
{
    QString out = u"\""_s;
    for (QChar c : s) {
        switch (c.unicode()) {
        case '"': out += u"\\\""_s; break;
        case '\\': out += u"\\\\"_s; break;
        case '\n': out += u"\\n"_s; break;
        case '\r': out += u"\\r"_s; break;
        case '\t': out += u"\\t"_s; break;
        default:
            if (c.unicode() < 0x20)
                out += u"\\u%1"_s.arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    return out + u'"';
}

namespace {

QString jsonValue(const FieldDef &f, const QVariant &v)
{
    if (v.isNull())
        return u"null"_s;
    switch (f.type) {
    case FieldType::Float: {
        const double d = v.toDouble();
        return std::isfinite(d) ? shortestText(d) : u"null"_s;
    }
    case FieldType::Smallint:
    case FieldType::Integer:
    case FieldType::AutoInc: return QString::number(v.toLongLong());
    case FieldType::Boolean: return v.toBool() ? u"true"_s : u"false"_s;
    case FieldType::Date: return jsonString(formatDate(v.toDate()));
    default: return jsonString(v.toString());
    }
}

QString objectOf(const Table &t, const QVariantList &values)
{
    QStringList members;
    for (int i = 0; i < t.def().fields.size(); ++i)
        members.append(jsonString(t.def().fields[i].name) + u": "_s + jsonValue(t.def().fields[i], values.value(i)));
    return u'{' + members.join(u", "_s) + u'}';
}

}  // namespace

QString recordToJson(Table &table)
{
    QVariantList values;
    for (int i = 0; i < table.fieldCount(); ++i)
        values.append(table.value(i));
    return objectOf(table, values);
}

QString rowsToJson(Table &table)
{
    QStringList rows;
    for (int r = 0; r < table.recordCount(); ++r)
        rows.append(objectOf(table, table.rowValues(r)));
    return u"["_s + rows.join(u",\n "_s) + u']';
}

}  // namespace rur::engine
