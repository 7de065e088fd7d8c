// rur-cli commands of the bank orders: the ABO file and its numbering settings.
#include "cli/CliSupport.h"

#include "base/Paths.h"
#include "data/DataM1.h"
#include "data/FileStem.h"
#include "engine/EngineError.h"
#include "engine/GroupTransaction.h"
#include "engine/Table.h"
#include "payments/AboFile.h"
#include "payments/BankOrders.h"
#include "platform/IniFile.h"

#include <QDate>
#include <QFileInfo>
#include <utility>

using namespace Qt::StringLiterals;

namespace rur::cli {

namespace {

// Where "&Přenést" writes when the window opens now: the newest path of the history, else
// the data folder's default, expanded.
QString windowPath(Context &ctx, data::TDM1 &dm)
{
    const payments::AboPaths paths = payments::readAboPaths(platform::IniFile(ctx.dirs.dataSetIni()));
    const QString stem = paths.firmName ? data::NazevSb1(dm, ctx.dirs) : ctx.dirs.dataSetDir;
    return payments::fullAboPath(ctx.dirs, payments::initialAboPath(ctx.dirs, paths, stem));
}

int cmdAbo(Context &ctx)
{
    if (ctx.args.size() != 1)
        return usage(ctx);
    data::TDM1 dm;
    if (const int rc = openSet(ctx, dm); rc != 0)
        return rc;
    const QString path = ctx.options.contains(u"--out"_s) ? absolutePath(ctx, ctx.options.value(u"--out"_s))
                                                           : windowPath(ctx, dm);
    if (base::isPathMessage(path)) {
        print(stderr, u"Nastavte správně cestu."_s);
        return 1;
    }
    if (ctx.options.contains(u"--out"_s) && !folderExists(path))
        return 1;
    try {
        // The numbers the file gave the orders and, without --keep, the emptied list are one
        // change: a command cut short leaves the orders as they were.
        engine::GroupTransaction change({dm.Mban.get(), dm.Mban1.get()});
        if (!payments::writeAboFile(dm, {path, QDate::currentDate(), ctx.dirs.dataSetIni()}, ctx.prompter)) {
            flushMessages(ctx);
            return 1;
        }
        // The Yes answer of the window: the orders were taken by the bank.
        if (!ctx.flags.contains(u"--keep"_s))
            payments::emptyOrders(dm);
        change.commit();
    } catch (const engine::EngineError &e) {
        flushMessages(ctx);
        print(stderr, e.message());
        return 1;
    }
    flushMessages(ctx);
    if (QFileInfo::exists(path))
        print(stdout, path);
    else
        print(stderr, u"Seznam příkazů je prázdný, soubor nebyl vytvořen."_s);
    return 0;
}

int cmdAboSettings(Context &ctx)
{
    if (ctx.args.size() != 1)
        return usage(ctx);
    data::TDM1 dm;
    if (const int rc = openSet(ctx, dm); rc != 0)
        return rc;
    platform::IniFile ini(ctx.dirs.dataSetIni());
    payments::AboNumbering n = payments::readAboNumbering(ini);
    const bool changes = ctx.options.contains(u"--numbering"_s) || ctx.options.contains(u"--from"_s)
                         || ctx.options.contains(u"--to"_s) || ctx.options.contains(u"--next"_s);
    if (ctx.options.contains(u"--numbering"_s)) {
        const QString v = ctx.options.value(u"--numbering"_s);
        if (v != u"yes"_s && v != u"no"_s)
            return usage(ctx);
        n.on = v == u"yes"_s;
    }
    // As the settings window takes typed numbers: not a number gives 1, 999 and 1, and the
    // next number stays inside the interval. A number the file can't hold in its three digits
    // (which the window's fields don't take) is refused.
    const std::pair<QString, int *> numbers[] = {{u"--from"_s, &n.from}, {u"--to"_s, &n.to}, {u"--next"_s, &n.next}};
    for (const auto &[option, number] : numbers) {
        if (!ctx.options.contains(option))
            continue;
        const int typed = payments::numberOrDefault(ctx.options.value(option), option == u"--to"_s ? 999 : 1);
        if (!payments::aboNumberFits(typed)) {
            print(stderr, u"Číslo "_s + option + u" musí být celé číslo od 0 do 999, jaké vezme okno nastavení ABO."_s);
            return 2;
        }
        *number = typed;
    }
    if (changes) {
        n.next = payments::nextNumberInInterval(n.next, n.from, n.to);
        if (!payments::writeAboNumbering(ini, n)) {
            print(stderr, ini.problem().isEmpty() ? u"Nastavení nelze uložit."_s : ini.problem());
            return 1;
        }
    }
    print(stdout, u"Používat interval účetních souborů: "_s + (n.on ? u"ano"_s : u"ne"_s));
    print(stdout, u"Interval účetních souborů od: %1 do: %2"_s.arg(n.from).arg(n.to));
    print(stdout, u"Číslo pro další příkaz: %1"_s.arg(n.next));
    return 0;
}

const CommandRegistration paymentCommands[] = {
    CommandRegistration({u"abo"_s,
                         u"  abo RUR [--out SOUBOR] [--keep]   zapíše příkazy do souboru ABO (KPC) jako „Přenést“, vypíše cestu; bez --keep pak seznam příkazů vyprázdní"_s,
                         {u"--out"_s}, cmdAbo, 310, u"rur-cli abo D1 --out ~/prikazy.kpc --keep"_s}),
    CommandRegistration({u"abo-settings"_s,
                         u"  abo-settings RUR [--numbering yes|no] [--from N] [--to N] [--next N]   nastaví a vypíše číslování účetních souborů ABO"_s,
                         {u"--numbering"_s, u"--from"_s, u"--to"_s, u"--next"_s}, cmdAboSettings, 320,
                         u"rur-cli abo-settings D1 --numbering yes --from 5 --to 7 --next 5"_s}),
};

}  // namespace

}  // namespace rur::cli
