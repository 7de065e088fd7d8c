// rur-cli commands of the VAT paid ledger.
#include "cli/CliSupport.h"

#include "data/DataM1.h"
#include "engine/EngineError.h"
#include "engine/Field.h"
#include "engine/NumberFormat.h"
#include "engine/Table.h"
#include "ledger/Ledger.h"

using namespace Qt::StringLiterals;

namespace rur::cli {

namespace {

QString amountText(double amount)
{
    return engine::formatFloat(amount, u"0"_s) + u" Kč"_s;
}

// The twelve entries as a table: period, date and amount, then the total paid.
QString ledgerText(const data::TDM1 &dm)
{
    const QList<ledger::LedgerSlot> entries = ledger::ledgerSlots(dm);
    const engine::Table &prp = *dm.Prp;
    QStringList lines{ledger::ledgerHeading(prp.value(prp.def().indexOf(u"R"_s)).toString()),
                      u"%1  %2  %3"_s.arg(u"Období"_s, -16).arg(u"Datum"_s, -10).arg(u"Částka"_s, 16)};
    for (const ledger::LedgerSlot &s : entries) {
        const QString period = s.label.isEmpty() ? QString::number(s.slot) + u'.' : s.label;
        lines.append(u"%1  %2  %3"_s.arg(period, -16)
                         .arg(s.date.isValid() ? engine::formatDate(s.date) : QString(), -10)
                         .arg(amountText(s.amount), 16));
    }
    lines.append(u"Zaplaceno celkem: "_s + amountText(ledger::totalPaid(entries)));
    return lines.join(u'\n');
}

// ledger SET [--navrh] [--prikaz N]: the proposal of the return's tax as the window makes it
// on opening, the transfer of slot N into the payment order, then the ledger.
int cmdLedger(Context &ctx)
{
    if (ctx.args.size() != 1)
        return usage(ctx);
    int slot = 0;
    if (ctx.options.contains(u"--prikaz"_s)) {
        bool ok = false;
        slot = ctx.options.value(u"--prikaz"_s).toInt(&ok);
        if (!ok || slot < 1 || slot > ledger::kSlots) {
            print(stderr, u"Období pro příkaz musí být číslo 1 až 12."_s);
            return 2;
        }
    }
    data::TDM1 dm;
    if (const int rc = openSet(ctx, dm); rc != 0)
        return rc;
    try {
        if (ctx.flags.contains(u"--navrh"_s)) {
            ledger::prepareLedger(dm);
            ledger::closeLedger(dm);
        }
        if (slot != 0) {
            // The question is answered Yes, as the command asks for the transfer.
            if (!ledger::PrenosZ1(dm, slot, ctx.prompter))
                return 1;
            const engine::Field due = dm.Mtt->field(u"D1"_s);
            print(stdout, u"Do příkazu k úhradě: daň "_s + amountText(dm.Mtt->field(u"Cad1"_s).asFloat())
                              + (due.isNull() ? u", bez data splatnosti (období "_s + QString::number(slot)
                                                    + u" nemá datum)."_s
                                              : u", splatnost "_s + due.displayText() + u'.'));
        }
    } catch (const engine::EngineError &e) {
        flushMessages(ctx);
        print(stderr, e.message());
        return 1;
    }
    flushMessages(ctx);
    print(stdout, ledgerText(dm));
    return 0;
}

const CommandRegistration ledgerCommands[] = {
    CommandRegistration({u"ledger"_s,
                         u"  ledger RUR [--navrh] [--prikaz N]   vypíše, co bylo na RUR zaplaceno (12 období, datum, částka, celkem);\n"
                         u"                               --navrh navrhne daň přiznání pro aktuální období, --prikaz N přenese\n"
                         u"                               částku a datum období N do příkazu k úhradě"_s,
                         {u"--prikaz"_s}, cmdLedger, 280, u"rur-cli ledger D1 --prikaz 3"_s}),
};

}  // namespace

}  // namespace rur::cli
