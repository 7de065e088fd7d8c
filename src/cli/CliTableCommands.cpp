// rur-cli commands that describe the tables a script reads and types into: what each table
// holds, and each field's type, length, label and whether a procedure computes it.
#include "cli/CliSupport.h"

#include "data/TableGuide.h"

using namespace Qt::StringLiterals;

namespace rur::cli {

namespace {

// A cell of a tab-separated line: tabs and line breaks would split it.
QString cell(QString text)
{
    return text.replace(u'\t', u' ').replace(u'\n', u' ');
}

int cmdTables(Context &ctx)
{
    if (!ctx.args.isEmpty())
        return usage(ctx);
    if (ctx.flags.contains(u"--markdown"_s)) {
        print(stdout, data::tablesReferencePage().chopped(1));
        return 0;
    }
    for (const data::TableEntry &t : data::tableEntries())
        print(stdout, t.name + u'\t' + cell(t.holds));
    return 0;
}

int cmdFields(Context &ctx)
{
    if (ctx.args.size() != 1)
        return usage(ctx);
    const QList<data::FieldEntry> fields = data::fieldEntries(ctx.args[0]);
    if (fields.isEmpty()) {
        print(stderr, u"Tabulka "_s + ctx.args[0] + u" neexistuje; seznam tabulek vypíše rur-cli tables."_s);
        return 1;
    }
    for (const data::FieldEntry &f : fields)
        print(stdout, QStringList{f.name, f.type, f.length > 0 ? QString::number(f.length) : QString(), cell(f.label),
                                  f.computed, cell(f.note)}
                          .join(u'\t'));
    return 0;
}

const CommandRegistration tableCommands[] = {
    CommandRegistration({u"tables"_s,
                         u"  tables [--markdown]          vypíše tabulky (název, co obsahuje); s --markdown celou stránku\n"
                         u"                               docs/tables.md s poli všech tabulek"_s,
                         {}, cmdTables, 84, u"rur-cli tables"_s}),
    CommandRegistration({u"fields"_s,
                         u"  fields TABULKA               vypíše pole tabulky, po řádku oddělené tabulátorem: název, typ,\n"
                         u"                               délka textu, popisek v okně, počítá se / plní postup, poznámka"_s,
                         {}, cmdFields, 86, u"rur-cli fields Prp"_s}),
};

}  // namespace

}  // namespace rur::cli
