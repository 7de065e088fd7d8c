// rur-cli commands that keep the data root and its catalogue of data sets.
#include "cli/CliSupport.h"

#include "data/Templates.h"
#include "datasets/Catalogue.h"
#include "engine/EngineError.h"

using namespace Qt::StringLiterals;

namespace rur::cli {

namespace {

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
    ctx.prompter.textAnswers = {ctx.options.value(u"--password"_s)};
    const bool ok = catalogue->deleteCurrent();
    flushMessages(ctx);
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
    CommandRegistration({u"delete"_s, u"  delete RUR                   smaže RUR"_s, {}, cmdDelete, 50,
                         u"rur-cli delete 2 --password tajne"_s}),
    CommandRegistration({u"password"_s,
                         u"  password RUR [--old HESLO] NOVÉ   přidá nebo změní heslo (prázdné NOVÉ heslo zruší)"_s,
                         {u"--old"_s}, cmdPassword, 60,
                         u"rur-cli password D1 --old stare nove"_s}),
};

}  // namespace

}  // namespace rur::cli
