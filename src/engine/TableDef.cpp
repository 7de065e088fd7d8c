#include "engine/TableDef.h"

using namespace Qt::StringLiterals;

namespace rur::engine {

TableDef::TableDef(QString tableName, QString file) : name(std::move(tableName)), fileName(std::move(file)) {}

TableDef &TableDef::add(FieldDef f)
{
    fields.append(std::move(f));
    return *this;
}

TableDef &TableDef::add(const QList<FieldDef> &list)
{
    fields.append(list);
    return *this;
}

TableDef &TableDef::primaryKey(const QStringList &keyFields)
{
    indexes.append(IndexDef{QString(), keyFields, true});
    return *this;
}

TableDef &TableDef::index(const QString &indexName, const QStringList &indexFields)
{
    indexes.append(IndexDef{indexName, indexFields, false});
    return *this;
}

int TableDef::indexOf(const QString &fieldName) const
{
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i].name.compare(fieldName, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

const FieldDef *TableDef::field(const QString &fieldName) const
{
    const int i = indexOf(fieldName);
    return i < 0 ? nullptr : &fields[i];
}

const IndexDef *TableDef::primaryIndex() const
{
    for (const IndexDef &ix : indexes)
        if (ix.primary)
            return &ix;
    return nullptr;
}

const IndexDef *TableDef::namedIndex(const QString &indexName) const
{
    for (const IndexDef &ix : indexes)
        if (!ix.primary && ix.name.compare(indexName, Qt::CaseInsensitive) == 0)
            return &ix;
    return nullptr;
}

QList<FieldDef> TableDef::storedFields() const
{
    QList<FieldDef> out;
    for (const FieldDef &f : fields)
        if (!f.calculated)
            out.append(f);
    return out;
}

TableDef TableDef::without(const QStringList &fieldNames) const
{
    TableDef t = *this;
    t.fields.removeIf([&](const FieldDef &f) { return !f.calculated && fieldNames.contains(f.name, Qt::CaseInsensitive); });
    return t;
}

QString fieldCaption(const FieldDef &f)
{
    if (f.label.isEmpty())
        return u"pole "_s + f.name;
    if (f.label.startsWith(u"ř. "_s))
        return f.label;
    return u"pole „"_s + f.label + u'“';
}

QString sqlTypeName(const FieldDef &f)
{
    switch (f.type) {
    case FieldType::Float: return u"FLOAT"_s;
    case FieldType::Char: return u"CHAR(%1)"_s.arg(f.size);
    case FieldType::Boolean: return u"BOOLEAN"_s;
    case FieldType::Date: return u"DATE"_s;
    case FieldType::Smallint: return u"SMALLINT"_s;
    // "INT", not "INTEGER": a key of the latter spelling would become SQLite's row id, and
    // changing the key would then change the row's identity under an open cursor.
    case FieldType::Integer: return u"INT"_s;
    case FieldType::AutoInc: return u"INTEGER"_s;
    case FieldType::Memo: return u"TEXT"_s;
    }
    return u"TEXT"_s;
}

FieldDef floatField(const QString &name, const QString &format, std::optional<double> min, std::optional<double> max)
{
    return FieldDef{name, FieldType::Float, 0, format, min, max, false};
}

FieldDef amountField(const QString &name)
{
    return floatField(name, u"0"_s, -99999999999.0, 99999999999.0);
}

FieldDef coefficientField(const QString &name)
{
    return floatField(name, u"0.00"_s, -9.99, 9.99);
}

FieldDef textField(const QString &name, int size)
{
    return FieldDef{name, FieldType::Char, size, {}, {}, {}, false};
}

FieldDef digitsField(const QString &name, int size)
{
    FieldDef f = textField(name, size);
    f.digits = true;
    return f;
}

FieldDef boolField(const QString &name)
{
    return FieldDef{name, FieldType::Boolean, 0, {}, {}, {}, false};
}

FieldDef dateField(const QString &name)
{
    return FieldDef{name, FieldType::Date, 0, {}, {}, {}, false};
}

FieldDef smallintField(const QString &name, std::optional<double> min, std::optional<double> max)
{
    return FieldDef{name, FieldType::Smallint, 0, {}, min, max, false};
}

FieldDef integerField(const QString &name, std::optional<double> min, std::optional<double> max)
{
    return FieldDef{name, FieldType::Integer, 0, {}, min, max, false};
}

FieldDef autoIncField(const QString &name)
{
    return FieldDef{name, FieldType::AutoInc, 0, {}, {}, {}, false};
}

FieldDef memoField(const QString &name)
{
    return FieldDef{name, FieldType::Memo, 0, {}, {}, {}, false};
}

FieldDef calculated(FieldDef f)
{
    f.calculated = true;
    return f;
}

QList<FieldDef> amountFields(const QStringList &names)
{
    QList<FieldDef> out;
    out.reserve(names.size());
    for (const QString &n : names)
        out.append(amountField(n));
    return out;
}

}  // namespace rur::engine
