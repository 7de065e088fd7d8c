// rur-cli commands that keep the data root and its catalogue of data sets.
#include "cli/CliSupport.h"

#include "data/Schemas.h"
#include "data/Templates.h"
#include "datasets/Catalogue.h"
#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Table.h"

using namespace Qt::StringLiterals;

namespace rur::cli {

namespace {

// A name longer than the catalogue holds is refused, as the naming windows' edit refuses it.
bool nameFits(const datasets::Catalogue &catalogue, const QString &name)
{
    const QString tooLong = textTooLong(*catalogue.Data->def().field(u"Nazev"_s), name);
    if (!tooLong.isEmpty())
        print(stderr, tooLong);
    return tooLong.isEmpty();
}

// The finished returns of a data set (rows of Dtabn1s), read without opening the data set;
// a table that can't be read counts as one that holds some.
int savedReturns(const QString &directory)
{
    engine::Database folder(u"Danove"_s);
    folder.setDirectory(directory);
    engine::Table saved(&folder, data::dtabn1sDef());
    saved.setReadOnly(true);
    try {
        saved.open();
    } catch (const engine::EngineError &e) {
        return e.code() == engine::ErrFileMissing ? 0 : 1;
    }
    return saved.recordCount();
}

int cmdInit(Context &ctx)
{
    if (ctx.args.size() != 1)
        return usage(ctx);
    try {
        data::installDataRoot(absolutePath(ctx, ctx.args[0]));
    } catch (const engine::EngineError &e) {
        print(stderr, e.message());
        return 1;
    }
    return 0;
}

int cmdSets(Context &ctx)
{
    if (!ctx.args.isEmpty())
        return usage(ctx);
    if (!directories(ctx))
        return 1;
    auto catalogue = openCatalogue(ctx);
    engine::Table &t = *catalogue->Data;
    if (!t.isActive()) {
        print(stderr, u"Tabulka Data.DB je poškozená nebo nečitelná."_s);
        return 1;
    }
    for (int r = 0; r < t.recordCount(); ++r) {
        const auto value = [&](const char16_t *name) {
            return t.storedValue(r, t.def().indexOf(QString::fromUtf16(name))).toString();
        };
        print(stdout, value(u"Cislo") + u'\t' + value(u"Nazev") + u'\t' + value(u"Adresar"));
    }
    return 0;
}

int cmdCreate(Context &ctx)
{
    if (ctx.args.size() != 1)
        return usage(ctx);
    if (!directories(ctx))
        return 1;
    auto catalogue = openCatalogue(ctx);
    if (!nameFits(*catalogue, ctx.args[0]))
        return 1;
    if (!catalogue->beginNew()) {
        flushMessages(ctx);
        return 1;
    }
    const bool created = catalogue->finishNew(ctx.args[0]);
    flushMessages(ctx);
    if (!created)
        return 1;
    // The number is taken as the data set is created: another program may have taken the
    // one the new row showed first.
    const QString directory = catalogue->currentDirectory();
    catalogue->closeSelection(catalogue->lastUsedPosition());
    print(stdout, directory);
    return 0;
}

int cmdRename(Context &ctx)
{
    if (ctx.args.size() != 2)
        return usage(ctx);
    auto catalogue = catalogueOnSet(ctx);
    if (!catalogue)
        return 1;
    if (!nameFits(*catalogue, ctx.args[1]))
        return 1;
    const bool ok = catalogue->rename(ctx.args[1]);
    flushMessages(ctx);
    return ok ? 0 : 1;
}

int cmdDelete(Context &ctx)
{
    if (ctx.args.size() != 1)
        return usage(ctx);
    auto catalogue = catalogueOnSet(ctx);
    if (!catalogue)
        return 1;
    if (catalogue->hasPassword() && !ctx.options.contains(u"--password"_s)) {
        print(stderr, QString::fromUtf16(datasets::Catalogue::kWrongPassword));
        return 1;
    }
    // The window warns "máte uložena data ?" and asks twice; the command itself is that
    // answer, except for finished returns, which go only with --yes.
    const QString name = catalogue->currentName();
    if (!ctx.flags.contains(u"--yes"_s)) {
        if (const int saved = savedReturns(ctx.dirs.dataRoot + catalogue->currentDirectory() + u'/'); saved > 0)
            return unanswered(u"RUR "_s + name + u" obsahuje hotová přiznání (%1). Opravdu smazat RUR "_s.arg(saved) + name
                                  + u" ?"_s,
                              u"--yes"_s);
    }
    ctx.prompter.textAnswers = {ctx.options.value(u"--password"_s)};
    const bool ok = catalogue->deleteCurrent();
    flushMessages(ctx);
    if (ok)
        print(stderr, u"RUR "_s + name + u" bylo smazáno."_s);
    return ok ? 0 : 1;
}

int cmdPassword(Context &ctx)
{
    if (ctx.args.size() != 2)
        return usage(ctx);
    auto catalogue = catalogueOnSet(ctx);
    if (!catalogue)
        return 1;
    const bool ok = catalogue->hasPassword() ? catalogue->changePassword(ctx.options.value(u"--old"_s), ctx.args[1])
                                             : catalogue->addPassword(ctx.args[1]);
    flushMessages(ctx);
    return ok ? 0 : 1;
}

const CommandRegistration catalogueCommands[] = {
    CommandRegistration({u"init"_s, u"  init ADRESÁŘ                 vytvoří datový adresář s prázdnými šablonami"_s, {}, cmdInit, 10,
                         u"rur-cli init ~/rur-data"_s}),
    CommandRegistration({u"sets"_s, u"  sets                         vypíše seznam RUR (číslo, název, adresář)"_s, {}, cmdSets, 20,
                         u"rur-cli --root ~/rur-data sets"_s}),
    CommandRegistration({u"create"_s, u"  create NÁZEV                 vytvoří nové RUR a vypíše jeho adresář"_s, {}, cmdCreate, 30,
                         u"rur-cli --root ~/rur-data create \"Novák s.r.o.\""_s}),
    CommandRegistration({u"rename"_s, u"  rename RUR NÁZEV             přejmenuje RUR"_s, {}, cmdRename, 40,
                         u"rur-cli rename D1 \"Novák a syn s.r.o.\""_s}),
    CommandRegistration({u"delete"_s,
                         u"  delete RUR [--yes]           smaže RUR; RUR s hotovými přiznáními jen s --yes (bez něj\n"
                         u"                               vypíše otázku a skončí kódem 3)"_s,
                         {}, cmdDelete, 50, u"rur-cli delete 2 --password tajne --yes"_s}),
    CommandRegistration({u"password"_s,
                         u"  password RUR [--old HESLO] NOVÉ   přidá nebo změní heslo (prázdné NOVÉ heslo zruší)"_s,
                         {u"--old"_s}, cmdPassword, 60,
                         u"rur-cli password D1 --old stare nove"_s}),
};

}  // namespace

}  // namespace rur::cli
