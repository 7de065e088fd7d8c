#include "engine/ParadoxImport.h"

#include "engine/EngineError.h"
#include "engine/Sqlite.h"
#include "engine/TableFile.h"

#include <QFile>
#include <QFileInfo>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace rur::engine {

namespace {

bool holdsAll(const TableDef &layout, const QStringList &fields)
{
    for (const QString &f : fields)
        if (layout.indexOf(f) < 0)
            return false;
    return !fields.isEmpty();
}

}  // namespace

TableDef paradoxTableDef(const QString &tableName, const ParadoxTable &table, const TableDef *def)
{
    TableDef layout(tableName, tableName + u".DB"_s);
    for (const ParadoxField &f : table.fields)
        layout.add(f.field);
    if (!def)
        return layout;
    for (const IndexDef &index : def->indexes) {
        if (!holdsAll(layout, index.fields))
            continue;
        if (index.primary)
            layout.primaryKey(index.fields);
        else
            layout.index(index.name, index.fields);
    }
    return layout;
}

void writeParadoxRows(SqliteFile &db, const TableDef &layout, const ParadoxTable &table)
{
    Transaction tx(db);
    db.exec(createTableSql(layout));
    for (const QString &sql : createIndexSql(layout))
        db.exec(sql);
    QStringList names, marks;
    for (const FieldDef &f : layout.fields) {
        names.append(quoteIdentifier(f.name));
        marks.append(u"?"_s);
    }
    Statement insert(db, u"INSERT INTO "_s + quoteIdentifier(layout.name) + u" ("_s + names.join(u", "_s)
                             + u") VALUES ("_s + marks.join(u", "_s) + u')');
    for (const QVariantList &row : table.rows) {
        for (int i = 0; i < row.size(); ++i)
            insert.bind(i + 1, row[i]);
        insert.step();
        insert.reset();
    }
    tx.commit();
}

QString convertParadoxFile(const QString &source, const QString &target, const TableDef *def)
{
    const QFileInfo info(target);
    ParadoxTable table;
    if (const ParadoxProblem problem = readParadoxFile(source, &table); !problem.isEmpty())
        return paradoxDamageMessage(info.fileName(), problem);
    const TableDef layout = paradoxTableDef(info.completeBaseName(), table, def);
    const QString temp = tempPathBeside(target);
    const QString cannotWrite = u"Soubor "_s + target + u" nelze zapsat (není dost místa na disku?)."_s;
    {
        SqliteFile db;
        QString error;
        if (!db.open(temp, true, &error)) {
            QFile::remove(temp);
            return cannotWrite;
        }
        try {
            // The file is private until it is renamed into place.
            db.exec(u"PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF"_s);
            writeParadoxRows(db, layout, table);
        } catch (const EngineError &e) {
            db.close();
            QFile::remove(temp);
            // Two records with one key: the table is not what its key says.
            return e.code() == ErrKeyViolation ? paradoxDamageMessage(info.fileName(), {}) : cannotWrite;
        }
    }
    if (std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(target).constData()) != 0) {
        QFile::remove(temp);
        return cannotWrite;
    }
    return {};
}

std::unique_ptr<SqliteFile> paradoxInMemory(const QString &path, const TableDef &def)
{
    QStringList wanted;
    for (const FieldDef &f : def.fields)
        if (!f.calculated)
            wanted.append(f.name);
    ParadoxTable table;
    if (const ParadoxProblem problem = readParadoxFile(path, &table, &wanted); !problem.isEmpty())
        RUR_THROW(ErrUnreadable, paradoxDamageMessage(def.fileName, problem));
    auto db = std::make_unique<SqliteFile>();
    QString error;
    if (!db->open(u":memory:"_s, true, &error))
        RUR_THROW(ErrUnreadable, paradoxDamageMessage(def.fileName, {}));
    try {
        writeParadoxRows(*db, paradoxTableDef(def.name, table, &def), table);
    } catch (const EngineError &) {
        RUR_THROW(ErrUnreadable, paradoxDamageMessage(def.fileName, {}));
    }
    return db;
}

}  // namespace rur::engine
