#include "engine/TableCheck.h"

#include "engine/EngineError.h"
#include "engine/Sqlite.h"
#include "engine/TableFile.h"
#include "engine/TableValues.h"

using namespace Qt::StringLiterals;

namespace rur::engine {

QString schemaDamage(SqliteFile &db, const QString &schema, const QString &tableName, QString *fileTable)
{
    try {
        Statement st(db, u"SELECT type, name, tbl_name FROM "_s + quoteIdentifier(schema) + u".sqlite_master"_s);
        QString found;
        while (st.step()) {
            const QString type = st.columnText(0), name = st.columnText(1), owner = st.columnText(2);
            if (name.startsWith(u"sqlite_"_s, Qt::CaseInsensitive) && type != u"view"_s && type != u"trigger"_s)
                continue;  // SQLite's own: the key counter, statistics, automatic indexes
            const bool ours = owner.compare(tableName, Qt::CaseInsensitive) == 0;
            if (type == u"table"_s && ours && name.compare(tableName, Qt::CaseInsensitive) == 0)
                found = name;
            else if (!(type == u"index"_s && ours))
                return u"soubor obsahuje i jiné objekty než tabulku "_s + tableName;
        }
        if (found.isEmpty())
            return u"soubor neobsahuje tabulku "_s + tableName;
        if (fileTable)
            *fileTable = found;
        return {};
    } catch (const EngineError &e) {
        return e.message();
    }
}

namespace {

// The pragma statement rather than its table-valued form: the latter crashes this SQLite
// (3.40) on a database read from memory (sqlite3_deserialize), as the conversion reads them.
QStringList columnsOf(SqliteFile &db, const QString &schema, const QString &fileTable)
{
    QStringList columns;
    Statement st(db, u"PRAGMA "_s + quoteIdentifier(schema) + u".table_info("_s + quoteIdentifier(fileTable) + u')');
    while (st.step())
        columns.append(st.columnText(1));
    return columns;
}

}  // namespace

QString missingField(SqliteFile &db, const QString &schema, const QString &fileTable, const TableDef &def,
                     const QStringList &allowMissing)
{
    const QStringList columns = columnsOf(db, schema, fileTable);
    for (const FieldDef &f : def.fields)
        if (!f.calculated && !columns.contains(f.name, Qt::CaseInsensitive)
            && !allowMissing.contains(f.name, Qt::CaseInsensitive))
            return f.name;
    return {};
}

QString valueDamage(SqliteFile &db, const QString &schema, const QString &fileTable, const TableDef &def)
{
    QStringList present;
    try {
        present = columnsOf(db, schema, fileTable);
    } catch (const EngineError &e) {
        return e.message();
    }
    QList<const FieldDef *> fields;
    QStringList columns;
    for (const FieldDef &f : def.fields) {
        if (f.calculated || !present.contains(f.name, Qt::CaseInsensitive))
            continue;
        fields.append(&f);
        columns.append(quoteIdentifier(f.name));
    }
    if (fields.isEmpty())
        return {};
    try {
        Statement st(db, u"SELECT "_s + columns.join(u", "_s) + u" FROM "_s + quoteIdentifier(schema) + u'.'
                             + quoteIdentifier(fileTable));
        QVariant value;
        while (st.step())
            for (int c = 0; c < fields.size(); ++c)
                if (!detail::fromStorage(*fields[c], st.column(c), &value))
                    return u"hodnota pole "_s + fields[c]->name + u" neodpovídá typu"_s;
    } catch (const EngineError &e) {
        return e.message();
    }
    return {};
}

QString tableFileDamage(const QString &path, const TableDef &def, const QStringList &allowMissing)
{
    if (!isPlainFileWithin(path, kMaxTableFileSize))
        return u"není to soubor přiměřené velikosti"_s;
    SqliteFile db;
    QString error;
    if (!db.open(path, false, &error, true))
        return error;
    if (QString damage = db.damage(path); !damage.isEmpty())
        return damage;
    QString fileTable;
    if (QString damage = schemaDamage(db, u"main"_s, def.name, &fileTable); !damage.isEmpty())
        return damage;
    try {
        if (const QString field = missingField(db, u"main"_s, fileTable, def, allowMissing); !field.isEmpty())
            return u"tabulka nemá pole "_s + field;
    } catch (const EngineError &e) {
        return e.message();
    }
    return valueDamage(db, u"main"_s, fileTable, def);
}

}  // namespace rur::engine
