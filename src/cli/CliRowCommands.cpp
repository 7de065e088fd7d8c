// rur-cli commands that add and delete rows of the list tables, as a list window does.
#include "cli/CliSupport.h"

#include "data/DataM1.h"
#include "data/Templates.h"
#include "engine/EngineError.h"
#include "engine/Table.h"

using namespace Qt::StringLiterals;

namespace rur::cli {

namespace {

// The list table named by the second argument, open; nothing (message printed) for an
// unknown table, a one-row table or one that only saving a return changes.
engine::Table *listTable(Context &ctx, data::TDM1 &dm)
{
    engine::Table *table = dm.table(ctx.args[1]);
    if (!table) {
        print(stderr, u"Tabulka "_s + ctx.args[1] + u" neexistuje."_s);
        return nullptr;
    }
    if (!data::templateRows(table->name()).isEmpty() || table == dm.Dtabn1s.get() || table == dm.Dtabn2s.get()) {
        print(stderr, u"Tabulka "_s + table->name() + u" nemá seznam řádků, do kterého lze přidávat a mazat."_s);
        return nullptr;
    }
    if (!table->isActive())
        table->open();
    return table;
}

int cmdAppend(Context &ctx)
{
    if (ctx.args.size() < 2)
        return usage(ctx);
    const auto assignments = fieldAssignments(ctx.args.mid(2));
    if (!assignments)
        return usage(ctx);
    data::TDM1 dm;
    if (const int rc = openSet(ctx, dm); rc != 0)
        return rc;
    engine::Table *table = nullptr;
    try {
        table = listTable(ctx, dm);
        if (!table)
            return 1;
        // As the window's insert: the new-row hook fills its defaults, then the typed texts.
        table->append();
        for (const auto &[name, text] : *assignments)
            typeText(table->field(name), text);
        table->post();
    } catch (const engine::EngineError &e) {
        if (table && table->isActive() && table->isEditing())
            table->cancel();
        flushMessages(ctx);
        print(stderr, e.message());
        return 1;
    }
    flushMessages(ctx);
    print(stdout, u"Řádek přidán do tabulky "_s + table->name() + u" ("_s + data::TDM1::recordPosition(*table) + u")."_s);
    return 0;
}

int cmdDeleteRow(Context &ctx)
{
    const QString where = ctx.options.value(u"--where"_s);
    const qsizetype eq = where.indexOf(u'=');
    if (ctx.args.size() != 2 || eq <= 0)
        return usage(ctx);
    const QString fieldName = where.left(eq), text = where.mid(eq + 1);
    data::TDM1 dm;
    if (const int rc = openSet(ctx, dm); rc != 0)
        return rc;
    try {
        engine::Table *table = listTable(ctx, dm);
        if (!table)
            return 1;
        const engine::Field field = table->field(fieldName);
        const QVariant wanted = text.isEmpty() ? QVariant() : engine::convertToFieldType(field.def(), typedText(field, text));
        // The rows holding the value, compared as the field stores it.
        QList<int> rows;
        for (int row = 0; row < table->recordCount(); ++row) {
            const QVariant v = table->storedValue(row, field.index());
            const QVariant stored = v.isNull() ? QVariant() : engine::convertToFieldType(field.def(), v);
            if (stored == wanted)
                rows.append(row);
        }
        if (rows.isEmpty()) {
            print(stderr, u"V tabulce "_s + table->name() + u" není řádek s "_s + fieldName + u" = "_s + text + u'.');
            return 1;
        }
        if (rows.size() > 1) {
            print(stderr, u"V tabulce "_s + table->name() + u" je %1 řádků s "_s.arg(rows.size()) + fieldName + u" = "_s
                              + text + u"; upřesněte podmínku, nic nebylo smazáno."_s);
            return 1;
        }
        table->goToRow(rows.first());
        table->deleteRecord();
        flushMessages(ctx);
        print(stdout, u"Řádek smazán z tabulky "_s + table->name() + u" ("_s + data::TDM1::recordPosition(*table) + u")."_s);
    } catch (const engine::EngineError &e) {
        flushMessages(ctx);
        print(stderr, e.message());
        return 1;
    }
    return 0;
}

const CommandRegistration rowCommands[] = {
    CommandRegistration({u"append"_s,
                         u"  append RUR TABULKA POLE=TEXT ...   přidá řádek do seznamu jako okno (výchozí hodnoty nového řádku, texty jako při psaní) a uloží jej"_s,
                         {}, cmdAppend, 290,
                         u"rur-cli append D1 Mbzp Bai=0800 Nai=\"Česká spořitelna\" Cui=19-2000145399"_s}),
    CommandRegistration({u"delete-row"_s, u"  delete-row RUR TABULKA --where POLE=HODNOTA   smaže jediný řádek seznamu s touto hodnotou"_s,
                         {u"--where"_s}, cmdDeleteRow, 300, u"rur-cli delete-row D1 Mbzp --where Bai=0800"_s}),
};

}  // namespace

}  // namespace rur::cli
