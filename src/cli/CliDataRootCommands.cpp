// rur-cli commands about where the data lives: local or shared data, preparing a shared data
// root, the directories in use, and taking over the data of an earlier edition.
#include "cli/CliSupport.h"

#include "app/DataChoice.h"
#include "datasets/Catalogue.h"
#include "datasets/Conversion.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace rur::cli {

namespace {

// The conversion of the earlier data root at path (its folder or its Data.DB); with report,
// one line per data set on what was taken over (its tables and settings) or left out and why.
int runConversion(Context &ctx, const QString &path, bool report)
{
    if (!directories(ctx))
        return 1;
    QString earlier = absolutePath(ctx, path);
    if (QFileInfo(earlier).isDir())
        earlier = base::withSlash(earlier) + u"Data.DB"_s;
    auto catalogue = openCatalogue(ctx);
    const datasets::ConversionResult result = datasets::KontrolaInst2(*catalogue, ctx.dirs, earlier, ctx.prompter);
    flushMessages(ctx);
    if (result.status == datasets::ConversionResult::NotRun) {
        print(stderr, result.reason);
        return 1;
    }
    if (result.status == datasets::ConversionResult::Shared) {
        print(stdout, u"Data jsou sdílená s předchozí verzí, nic se nekopírovalo."_s);
        return 0;
    }
    if (report) {
        for (const QString &line : result.taken)
            print(stdout, u"převzato: "_s + line);
        for (const QString &line : result.skipped)
            print(stdout, u"vynecháno: "_s + line);
    } else {
        print(stdout, u"Převedeno RUR: "_s + QString::number(result.converted.size()));
    }
    return result.status == datasets::ConversionResult::Converted && result.skipped.isEmpty() ? 0 : 1;
}

int cmdConvert(Context &ctx)
{
    if (!ctx.args.isEmpty() || !ctx.options.contains(u"--from"_s))
        return usage(ctx);
    return runConversion(ctx, ctx.options.value(u"--from"_s), false);
}

int cmdImport(Context &ctx)
{
    if (ctx.args.size() != 1)
        return usage(ctx);
    return runConversion(ctx, ctx.args[0], true);
}

int cmdDataChoice(Context &ctx)
{
    const bool local = ctx.flags.contains(u"--local"_s);
    const bool network = ctx.options.contains(u"--network"_s);
    if (!ctx.args.isEmpty() || (local && network))
        return usage(ctx);
    if (!directories(ctx))
        return 1;
    if (!local && !network) {
        const app::DataChoice choice = app::readDataChoice(ctx.dirs);
        if (choice.network())
            print(stdout, u"Data pro provoz v síti: "_s + choice.path);
        else if (choice.chosen())
            print(stdout, u"Data v datovém adresáři: "_s + ctx.dirs.localDataRoot);
        else
            print(stdout, u"Práce s daty nebyla zvolena; data v datovém adresáři: "_s + ctx.dirs.localDataRoot);
        print(stdout, u"Datový adresář: "_s + ctx.dirs.dataRoot);
        return 0;
    }
    // The shared root is given by its folder or by its catalogue Data.DB.
    QString path = network ? absolutePath(ctx, ctx.options.value(u"--network"_s)) : QString();
    if (network && !path.endsWith(u"/Data.DB"_s, Qt::CaseInsensitive))
        path = base::withSlash(path);
    const bool written = app::applyDataChoice(ctx.dirs, network, path, ctx.prompter);
    flushMessages(ctx);
    if (!written)
        return 1;
    // A shared root that can't be reached is stored all the same (the next start tries it
    // again), but the command did not get the data there.
    if (network && !base::samePath(ctx.dirs.dataRoot, app::sharedRootFromEdit(path)))
        return 1;
    print(stdout, u"Datový adresář: "_s + ctx.dirs.dataRoot);
    return 0;
}

int cmdCopyNetworkData(Context &ctx)
{
    if (ctx.args.size() != 1)
        return usage(ctx);
    if (!directories(ctx))
        return 1;
    const QString target = app::copySharedData(ctx.dirs, absolutePath(ctx, ctx.args[0]), QString(), ctx.prompter);
    flushMessages(ctx);
    return target.isEmpty() ? 1 : 0;
}

int cmdInfo(Context &ctx)
{
    if (!ctx.args.isEmpty())
        return usage(ctx);
    if (!directories(ctx))
        return 1;
    for (const auto &[caption, value] : app::informationLines(ctx.dirs))
        print(stdout, caption + u' ' + value);
    return 0;
}

const CommandRegistration dataRootCommands[] = {
    CommandRegistration({u"data-choice"_s,
                         u"  data-choice [--local | --network ADRESÁŘ]   vypíše nebo nastaví práci s místními či síťovými daty"_s,
                         {u"--network"_s}, cmdDataChoice, 240, u"rur-cli data-choice --network /mnt/rur/RUR218"_s}),
    CommandRegistration({u"copy-network-data"_s,
                         u"  copy-network-data ADRESÁŘ    připraví síťový datový adresář (prázdný seznam RUR a šablony)"_s,
                         {}, cmdCopyNetworkData, 250, u"rur-cli copy-network-data /mnt/rur/RUR218"_s}),
    CommandRegistration({u"info"_s, u"  info                         vypíše používané adresáře"_s, {}, cmdInfo, 260, u"rur-cli info"_s}),
    CommandRegistration({u"convert"_s,
                         u"  convert --from SOUBOR        převede data z předchozí verze (její Data.DB nebo adresář)"_s,
                         {u"--from"_s}, cmdConvert, 270,
                         u"rur-cli convert --from \"/home/jana/.local/share/Tervik/RUR 2017\""_s}),
    CommandRegistration({u"import"_s,
                         u"  import ADRESÁŘ               převezme datový adresář předchozí verze (i s tabulkami Paradox)\n"
                         u"                               a vypíše po jednotlivých RUR, co převzal a co vynechal a proč"_s,
                         {}, cmdImport, 275, u"rur-cli import \"/home/jana/.local/share/Tervik/RUR 2017\""_s}),
};

}  // namespace

}  // namespace rur::cli
