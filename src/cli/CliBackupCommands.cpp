// rur-cli commands that back a data set up into a ZIP archive and restore it.
#include "cli/CliSupport.h"

#include "backup/ArchivePaths.h"
#include "backup/Backup.h"
#include "backup/Restore.h"
#include "base/Paths.h"
#include "data/DataM1.h"
#include "data/FileStem.h"
#include "datasets/DataSetAccess.h"
#include "engine/EngineError.h"
#include "platform/IniFile.h"

using namespace Qt::StringLiterals;

namespace rur::cli {

namespace {

// Runs a procedure on the open data set; a failed reopening of the tables is reported as
// when a data set is opened.
int runJob(Context &ctx, const std::function<bool()> &procedure)
{
    bool ok = false;
    try {
        ok = procedure();
    } catch (const engine::EngineError &e) {
        flushMessages(ctx);
        print(stderr, QString::fromUtf16(datasets::kOpenFailedMessage) + u'\n' + e.message());
        return 1;
    }
    flushMessages(ctx);
    return ok ? 0 : 1;
}

// The archive "Adresář &dat" gives, named as the window's check box says.
QString defaultArchivePath(Context &ctx, data::TDM1 &dm)
{
    const backup::PathSettings settings = backup::readPathSettings(platform::IniFile(ctx.dirs.dataSetIni()));
    const QString stem = backup::archiveStem(ctx.dirs, data::NazevSb1(dm, ctx.dirs), settings.nazev);
    return base::CestyTyp2(ctx.dirs, backup::defaultArchiveTemplate(ctx.dirs, 1, stem), base::KindBackup);
}

int cmdBackup(Context &ctx)
{
    if (ctx.args.isEmpty() || ctx.args.size() > 2)
        return usage(ctx);
    data::TDM1 dm;
    if (const int rc = openSet(ctx, dm); rc != 0)
        return rc;
    const QString path = ctx.args.size() == 2 ? absolutePath(ctx, ctx.args[1]) : defaultArchivePath(ctx, dm);
    if (ctx.args.size() == 2 && !folderExists(path))
        return 1;
    backup::ArchiveJob job{dm, ctx.dirs, ctx.prompter};
    const bool indexes = ctx.flags.contains(u"--indexy"_s);
    const int rc = runJob(ctx, [&] { return backup::Zalohovat(job, path, indexes); });
    if (rc == 0)
        print(stdout, path);
    return rc;
}

int cmdRestore(Context &ctx)
{
    if (ctx.args.size() != 2)
        return usage(ctx);
    const QString choiceText = ctx.options.value(u"--choice"_s, u"0"_s);
    bool numeric = false;
    const int choice = choiceText.toInt(&numeric);
    if (!numeric || choice < backup::ObnovitVse || choice > backup::ObnovitAdresar)
        return usage(ctx);
    data::TDM1 dm;
    if (const int rc = openSet(ctx, dm); rc != 0)
        return rc;
    const QString path = absolutePath(ctx, ctx.args[1]);
    backup::ArchiveJob job{dm, ctx.dirs, ctx.prompter};
    return runJob(ctx, [&] { return backup::Obnovit(job, path, choice); });
}

const CommandRegistration backupCommands[] = {
    CommandRegistration({u"backup"_s,
                         u"  backup RUR [SOUBOR] [--indexy]   zazálohuje data do archivu ZIP (výchozí cesta jako "
                         u"„Adresář dat“) a vypíše jeho cestu"_s,
                         {}, cmdBackup, 200,
                         u"rur-cli backup D1 ~/zaloha-D1.zip"_s}),
    CommandRegistration({u"restore"_s,
                         u"  restore RUR SOUBOR [--choice 0|1|2|3]   obnoví data z archivu ZIP: 0 vše, 1 vše bez "
                         u"údajů o poplatníkovi, 2 dokumenty - dopisy, 3 adresář"_s,
                         {u"--choice"_s}, cmdRestore, 210,
                         u"rur-cli restore D1 ~/zaloha-D1.zip --choice 0"_s}),
};

}  // namespace

}  // namespace rur::cli
