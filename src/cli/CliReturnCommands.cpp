// rur-cli commands that open a data set and work on its tables: showing and typing values,
// the period and year procedures, saving returns.
#include "cli/CliSupport.h"

#include "data/DataM1.h"
#include "datasets/DataSetAccess.h"
#include "datasets/YearProcedures.h"
#include "engine/EngineError.h"
#include "engine/JsonRows.h"
#include "vat/Saving.h"
#include "vat/Split.h"

using namespace Qt::StringLiterals;

namespace rur::cli {

namespace {

int cmdOpen(Context &ctx)
{
    if (ctx.args.size() != 1)
        return usage(ctx);
    data::TDM1 dm;
    return openSet(ctx, dm);
}

int cmdShow(Context &ctx)
{
    if (ctx.args.size() != 2)
        return usage(ctx);
    data::TDM1 dm;
    if (const int rc = openSet(ctx, dm); rc != 0)
        return rc;
    engine::Table *table = dm.table(ctx.args[1]);
    if (!table) {
        print(stderr, u"Tabulka "_s + ctx.args[1] + u" neexistuje."_s);
        return 1;
    }
    try {
        table->open();
        print(stdout, ctx.flags.contains(u"--all"_s) ? engine::rowsToJson(*table) : engine::recordToJson(*table));
    } catch (const engine::EngineError &e) {
        print(stderr, e.message());
        return 1;
    }
    return 0;
}

// What the program shows in status panel 0, for the commands that report there.
class StatusCapture : public data::StatusDisplay {
public:
    void setStatusText(int panel, const QString &text) override
    {
        if (panel == 0)
            panel0 = text;
    }
    void setCaption(const QString &caption) override { Q_UNUSED(caption); }

    QString panel0;
};

int cmdProcedure(Context &ctx, bool (*procedure)(data::TDM1 &, base::Directories &, platform::Prompter &))
{
    if (ctx.args.size() != 1)
        return usage(ctx);
    StatusCapture status;
    data::TDM1 dm;
    if (const int rc = openSet(ctx, dm); rc != 0)
        return rc;
    dm.setStatusDisplay(&status);
    bool ok = false;
    try {
        ok = procedure(dm, ctx.dirs, ctx.prompter);
    } catch (const engine::EngineError &e) {
        dm.setStatusDisplay(nullptr);
        flushMessages(ctx);
        print(stderr, QString::fromUtf16(datasets::kOpenFailedMessage) + u'\n' + e.message());
        return 1;
    }
    dm.setStatusDisplay(nullptr);
    flushMessages(ctx);
    // What the main window shows in its status bar.
    if (ok && !status.panel0.isEmpty())
        print(stderr, status.panel0);
    return ok ? 0 : 1;
}

int cmdSet(Context &ctx)
{
    if (ctx.args.size() < 3)
        return usage(ctx);
    const auto assignments = fieldAssignments(ctx.args.mid(2));
    if (!assignments)
        return usage(ctx);
    data::TDM1 dm;
    if (const int rc = openSet(ctx, dm); rc != 0)
        return rc;
    engine::Table *table = dm.table(ctx.args[1]);
    if (!table) {
        print(stderr, u"Tabulka "_s + ctx.args[1] + u" neexistuje."_s);
        return 1;
    }
    // Finished returns and year totals change only by saving a return, never by typing.
    if (table == dm.Dtabn1s.get() || table == dm.Dtabn2s.get() || table == dm.Dtabs.get()) {
        print(stderr, u"Tabulku "_s + table->name() + u" nelze upravovat: hotová přiznání a roční součty mění jen uložení RUR."_s);
        return 1;
    }
    try {
        // Tables that no window keeps open are opened for the command.
        table->open();
        table->edit();
        for (const auto &[name, text] : *assignments) {
            engine::Field field = table->field(name);
            const QString textOnEntry = field.displayText();
            typeText(field, text);
            // Leaving S210 or S215 of window 1 with another text splits the amount into
            // the base and the tax of line 1 or 2.
            int line = 0;
            if (table == dm.Dtabn1.get())
                line = field.name() == u"S210"_s ? 1 : (field.name() == u"S215"_s ? 2 : 0);
            if (line != 0 && vat::splitNeeded(textOnEntry, field.displayText())
                && !vat::splitAmount(dm, line, field.asFloat(), ctx.prompter)) {
                table->cancel();
                flushMessages(ctx);
                return 1;
            }
        }
        table->post();
    } catch (const engine::EngineError &e) {
        if (table->isActive())
            table->cancel();
        flushMessages(ctx);
        print(stderr, e.message());
        return 1;
    }
    flushMessages(ctx);
    return 0;
}

int cmdSave(Context &ctx, bool (*command)(data::TDM1 &, platform::Prompter &))
{
    if (ctx.args.size() != 1)
        return usage(ctx);
    const QString overwrite = ctx.options.value(u"--overwrite"_s, u"no"_s);
    if (overwrite != u"yes"_s && overwrite != u"no"_s)
        return usage(ctx);
    StatusCapture status;
    data::TDM1 dm;
    if (const int rc = openSet(ctx, dm); rc != 0)
        return rc;
    dm.setStatusDisplay(&status);
    // The question whether to save is answered Yes, the overwrite question by the option;
    // without it the question stops the command before anything is saved.
    ctx.prompter.answers = {platform::Prompter::Answer::Yes,
                            overwrite == u"yes"_s ? platform::Prompter::Answer::Yes : platform::Prompter::Answer::No};
    if (!ctx.options.contains(u"--overwrite"_s))
        ctx.prompter.missingAnswer = [](const QString &question) {
            return question.endsWith(u"Přepsat ?"_s) ? u"--overwrite yes nebo --overwrite no"_s : QString();
        };
    bool done = false;
    try {
        done = command(dm, ctx.prompter);
    } catch (const engine::EngineError &e) {
        dm.setStatusDisplay(nullptr);
        flushMessages(ctx);
        print(stderr, e.message());
        return 1;
    }
    dm.setStatusDisplay(nullptr);
    flushMessages(ctx);
    // Declined by --overwrite no: what the user asked for, said as such.
    if (!done)
        print(stderr, u"Období je uloženo, nic nebylo uloženo."_s);
    else if (!status.panel0.isEmpty())
        print(stderr, status.panel0);
    return 0;
}

int cmdDeleteFinished(Context &ctx)
{
    if (ctx.args.size() != 2)
        return usage(ctx);
    bool numeric = false;
    const int cislo = ctx.args[1].toInt(&numeric);
    if (!numeric)
        return usage(ctx);
    data::TDM1 dm;
    if (const int rc = openSet(ctx, dm); rc != 0)
        return rc;
    try {
        if (!vat::isPeriodSaved(dm, cislo)) {
            print(stderr, u"Období "_s + ctx.args[1] + u" není uloženo."_s);
            return 1;
        }
        const bool deleted = vat::deleteFinishedPeriod(dm, cislo, ctx.prompter);
        flushMessages(ctx);
        return deleted ? 0 : 1;
    } catch (const engine::EngineError &e) {
        flushMessages(ctx);
        print(stderr, e.message());
        return 1;
    }
}

const CommandRegistration returnCommands[] = {
    CommandRegistration({u"open"_s, u"  open RUR                     otevře tabulky RUR (číslo nebo adresář, např. D1)"_s, {}, cmdOpen, 70,
                         u"rur-cli open D1"_s}),
    CommandRegistration({u"show"_s, u"  show RUR TABULKA [--all]     vypíše aktuální řádek (nebo všechny) jako JSON"_s, {}, cmdShow, 80,
                         u"rur-cli show D1 Dcis --all"_s}),
    CommandRegistration({u"clear-period"_s, u"  clear-period RUR             vymaže období"_s, {},
                         [](Context &c) { return cmdProcedure(c, datasets::VymazaniObdobi); }, 100,
                         u"rur-cli clear-period D1"_s}),
    CommandRegistration({u"clear-year"_s, u"  clear-year RUR               vymaže celý rok"_s, {},
                         [](Context &c) { return cmdProcedure(c, datasets::VymazaniRoku); }, 110,
                         u"rur-cli clear-year D1"_s}),
    CommandRegistration({u"new-year"_s, u"  new-year RUR                 provede akci nový rok"_s, {},
                         [](Context &c) { return cmdProcedure(c, datasets::NovyRok); }, 120,
                         u"rur-cli new-year D1"_s}),
    CommandRegistration({u"set"_s, u"  set RUR TABULKA POLE=TEXT ...   zapíše do aktuálního řádku texty jako při psaní a uloží jej"_s,
                         {}, cmdSet, 130,
                         u"rur-cli set D1 Dtabn1 C210=10000 C210a=2100"_s}),
    CommandRegistration({u"save-return"_s,
                         u"  save-return RUR [--overwrite yes|no]   uloží RUR a posune období; je-li období už uložené,\n"
                         u"                               bez --overwrite vypíše otázku okna a skončí kódem 3"_s,
                         {u"--overwrite"_s}, [](Context &c) { return cmdSave(c, vat::UlozeniRur); }, 140,
                         u"rur-cli save-return D1 --overwrite no"_s}),
    CommandRegistration({u"save-last"_s,
                         u"  save-last RUR [--overwrite yes|no]     uloží poslední RUR a provede vypořádání (uložené\n"
                         u"                               období bez --overwrite: otázka a kód 3)"_s,
                         {u"--overwrite"_s}, [](Context &c) { return cmdSave(c, vat::UlozeniPoslednihoRur); }, 150,
                         u"rur-cli save-last D1 --overwrite yes"_s}),
    CommandRegistration({u"delete-finished"_s, u"  delete-finished RUR ČÍSLO    smaže uložené období z hotových přiznání"_s, {},
                         cmdDeleteFinished, 160,
                         u"rur-cli delete-finished D1 3"_s}),
};

}  // namespace

}  // namespace rur::cli
