// rur-cli commands that transfer data from the sibling programs: the current return from a
// cash journal, the taxpayer data from an income-tax return.
#include "cli/CliSupport.h"

#include "base/Paths.h"
#include "data/DataM1.h"
#include "engine/EngineError.h"
#include "platform/IniFile.h"
#include "transfer/JournalTransfer.h"
#include "transfer/SiblingData.h"
#include "transfer/SiblingSearch.h"
#include "transfer/TaxReturnTransfer.h"

using namespace Qt::StringLiterals;

namespace rur::cli {

namespace {

using transfer::SiblingData;

// The catalogue number of --set (true without it); false for a text that is no number.
bool chosenNumber(const Context &ctx, int *number)
{
    if (!ctx.options.contains(u"--set"_s))
        return true;
    bool ok = false;
    *number = ctx.options.value(u"--set"_s).toInt(&ok);
    return ok;
}

// Shows the sibling's catalogue as the window does, on the row of --set or the one used
// last; remembers the path and the row in the data set's settings as closing the window
// does. False (message printed) when it can't be shown or --set names no row.
bool showSibling(Context &ctx, SiblingData &sibling, const QString &path)
{
    const transfer::SiblingProgram &program = sibling.program();
    platform::IniFile ini(ctx.dirs.dataSetIni());
    int number = transfer::readSiblingChoice(ini, program).number;
    const bool chosen = ctx.options.contains(u"--set"_s);
    if (!chosenNumber(ctx, &number)) {
        print(stderr, u"Číslo "_s + ctx.options.value(u"--set"_s) + u" není platné číslo."_s);
        return false;
    }
    if (!sibling.show(path, number)) {
        print(stderr, program.showFailed + u'\n' + sibling.problem());
        return false;
    }
    if (chosen && sibling.currentNumber() != number) {
        print(stderr, u"V seznamu "_s + path + u" není číslo "_s + QString::number(number) + u'.');
        return false;
    }
    transfer::writeSiblingChoice(ini, program, {base::CestyTyp3(ctx.dirs, path), sibling.currentNumber()});
    return true;
}

// --from and --to typed into the journal's period (shorthand dates as in the window), and
// the period stored through its check.
bool setJournalPeriod(Context &ctx, SiblingData &journal)
{
    engine::Table *period = journal.period();
    const bool given = ctx.options.contains(u"--from"_s) || ctx.options.contains(u"--to"_s);
    if (given && period->isReadOnly()) {
        print(stderr, journal.periodReadOnlyReason());
        return false;
    }
    const std::pair<QString, QString> dates[] = {{u"--from"_s, u"Dz"_s}, {u"--to"_s, u"Dk"_s}};
    try {
        for (const auto &[option, field] : dates) {
            if (!ctx.options.contains(option))
                continue;
            period->edit();
            period->field(field).setText(ctx.options.value(option));
        }
    } catch (const engine::EngineError &e) {
        period->cancel();
        print(stderr, e.message());
        return false;
    }
    const bool saved = transfer::saveJournalPeriod(*period, ctx.prompter);
    flushMessages(ctx);
    return saved;
}

int finish(Context &ctx, transfer::TransferResult result)
{
    flushMessages(ctx);
    return result == transfer::TransferResult::Done ? 0 : 1;
}

int cmdTransferJournal(Context &ctx)
{
    if (ctx.args.size() != 1 || !ctx.options.contains(u"--journal"_s))
        return usage(ctx);
    data::TDM1 dm;
    if (const int rc = openSet(ctx, dm); rc != 0)
        return rc;
    SiblingData journal(transfer::SiblingKind::Journal);
    if (!showSibling(ctx, journal, absolutePath(ctx, ctx.options.value(u"--journal"_s))) || !setJournalPeriod(ctx, journal))
        return 1;
    return finish(ctx, transfer::transferJournal(dm, journal, ctx.prompter));
}

int cmdTransferTaxpayer(Context &ctx)
{
    const QString kind = ctx.args.value(1).toLower();
    if (ctx.args.size() != 2 || (kind != u"po"_s && kind != u"sz"_s) || !ctx.options.contains(u"--source"_s))
        return usage(ctx);
    data::TDM1 dm;
    if (const int rc = openSet(ctx, dm); rc != 0)
        return rc;
    SiblingData sibling(kind == u"po"_s ? transfer::SiblingKind::TaxReturnPO : transfer::SiblingKind::TaxReturnSZ);
    if (!showSibling(ctx, sibling, absolutePath(ctx, ctx.options.value(u"--source"_s))))
        return 1;
    return finish(ctx, transfer::transferTaxpayer(dm, sibling, ctx.prompter));
}

const CommandRegistration transferCommands[] = {
    CommandRegistration({u"transfer-journal"_s,
                         u"  transfer-journal RUR --journal SOUBOR [--set CISLO] [--from DATUM --to DATUM]\n"
                         u"                               přenese údaje z Peněžního deníku (SOUBOR je jeho Data.DB; "
                         u"data se nejdřív uloží jako jeho období)"_s,
                         {u"--journal"_s, u"--set"_s, u"--from"_s, u"--to"_s}, cmdTransferJournal, 220,
                         u"rur-cli transfer-journal D1 --journal \"/home/jana/Rizavuv uvaro 2018/Data.DB\" --set 1 "
                         u"--from 1.1.2018 --to 31.3.2018"_s}),
    CommandRegistration({u"transfer-taxpayer"_s,
                         u"  transfer-taxpayer RUR po|sz --source SOUBOR [--set CISLO]\n"
                         u"                               přenese údaje o poplatníkovi z daňového přiznání PO nebo SZ "
                         u"(SOUBOR je jeho Data.DB)"_s,
                         {u"--source"_s, u"--set"_s}, cmdTransferTaxpayer, 230,
                         u"rur-cli transfer-taxpayer D1 po --source \"/home/jana/Ziradi vududera DI 2018/Data.DB\" --set 2"_s}),
};

}  // namespace

}  // namespace rur::cli
