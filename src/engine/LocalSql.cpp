#include "engine/LocalSql.h"

#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Sqlite.h"
#include "engine/TableFile.h"

#include <QFile>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace rur::engine {

namespace {

[[noreturn]] void badStatement(const QString &sql)
{
    RUR_THROW(ErrSql, u"Nepodporovaný příkaz SQL: "_s + sql.simplified());
}

FieldDef parseColumn(const QString &text, const QString &sql)
{
    static const QRegularExpression re(uR"(^\s*(\w+)\s+(\w+)\s*(?:\(\s*(\d+)\s*\))?\s*$)"_s);
    const auto m = re.match(text);
    if (!m.hasMatch())
        badStatement(sql);
    const QString name = m.captured(1);
    const QString type = m.captured(2).toLower();
    if (type == u"float"_s)
        return floatField(name);
    if (type == u"char"_s && !m.captured(3).isEmpty())
        return textField(name, m.captured(3).toInt());
    if (type == u"boolean"_s)
        return boolField(name);
    if (type == u"date"_s)
        return dateField(name);
    if (type == u"smallint"_s)
        return smallintField(name);
    if (type == u"integer"_s)
        return integerField(name);
    badStatement(sql);
}

// Opens the file of a table of the database and names the SQL table inside it: the table of
// the file's own name in an undamaged file, or the statement fails and changes nothing.
QString openTableFile(Database &database, const QString &table, SqliteFile &db, const QString &sql)
{
    const QString path = database.filePath(table + u".DB"_s);
    QString error;
    if (!QFile::exists(path) || !db.open(path, false, &error))
        RUR_THROW(ErrSql, u"Tabulka "_s + table + u".DB neexistuje: "_s + sql.simplified());
    const QString damaged = u"Tabulka "_s + table + u".DB je poškozená nebo nečitelná."_s;
    if (!isPlainFileWithin(path, kMaxTableFileSize) || !db.damage(path).isEmpty())
        RUR_THROW(ErrUnreadable, damaged);
    Statement st(db, u"SELECT name FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE"_s);
    st.bind(1, table);
    if (!st.step())
        RUR_THROW(ErrUnreadable, damaged);
    return st.columnText(0);
}

}  // namespace

AlterTableStatement parseAlterTable(const QString &sql)
{
    static const QRegularExpression head(uR"(^\s*alter\s+table\s+(\w+)\s+(.*)$)"_s,
                                         QRegularExpression::CaseInsensitiveOption
                                             | QRegularExpression::DotMatchesEverythingOption);
    const auto m = head.match(sql);
    if (!m.hasMatch())
        badStatement(sql);
    AlterTableStatement out;
    out.table = m.captured(1);
    static const QRegularExpression addWord(uR"(^\s*add\s+)"_s, QRegularExpression::CaseInsensitiveOption);
    for (const QString &part : m.captured(2).split(u',')) {
        auto a = addWord.match(part);
        if (!a.hasMatch())
            badStatement(sql);
        out.columns.append(parseColumn(part.mid(a.capturedEnd()), sql));
    }
    return out;
}

void executeSql(Database &database, const QString &sql)
{
    const QString simple = sql.simplified();
    if (simple.startsWith(u"alter "_s, Qt::CaseInsensitive)) {
        const AlterTableStatement st = parseAlterTable(sql);
        SqliteFile db;
        const QString inFile = openTableFile(database, st.table, db, sql);
        // SQLite runs DDL inside a transaction: a column that already exists fails the
        // whole statement and none of its columns is added.
        Transaction tx(db);
        for (const FieldDef &f : st.columns)
            db.exec(u"ALTER TABLE "_s + quoteIdentifier(inFile) + u" ADD COLUMN "_s + quoteIdentifier(f.name) + u' '
                    + sqlTypeName(f));
        tx.commit();
        return;
    }
    static const QRegularExpression update(uR"(^update\s+(\w+)\s+set\s+(\w+)\s*=\s*(true|false)\s*;?$)"_s,
                                           QRegularExpression::CaseInsensitiveOption);
    const auto m = update.match(simple);
    if (!m.hasMatch())
        badStatement(sql);
    SqliteFile db;
    const QString inFile = openTableFile(database, m.captured(1), db, sql);
    Transaction tx(db);
    db.exec(u"UPDATE "_s + quoteIdentifier(inFile) + u" SET "_s + quoteIdentifier(m.captured(2)) + u" = "_s
            + (m.captured(3).compare(u"true"_s, Qt::CaseInsensitive) == 0 ? u"1"_s : u"0"_s));
    tx.commit();
}

}  // namespace rur::engine
