#include "cli/CliCommands.h"

#include "app/Directories.h"
#include "app/Startup.h"
#include "data/DataM1.h"
#include "data/Templates.h"
#include "datasets/DataSetAccess.h"
#include "engine/EngineError.h"
#include "engine/JsonRows.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>
#include <functional>
#include <map>

using namespace Qt::StringLiterals;

namespace rur::cli {

namespace {

void print(FILE *stream, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    std::fwrite(utf8.constData(), 1, size_t(utf8.size()), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

struct Context {
    QStringList args;       // positional arguments after the command
    QStringList flags;      // --all and the like
    QString root;           // --root DIR
};

const char *const kUsage =
    "Použití: rur-cli [--root ADRESÁŘ] PŘÍKAZ ...\n"
    "  init ADRESÁŘ             vytvoří datový adresář s prázdnými šablonami\n"
    "  open RUR                 otevře tabulky RUR (číslo nebo adresář, např. D1)\n"
    "  show RUR TABULKA [--all] vypíše aktuální řádek (nebo všechny) jako JSON\n";

int usage()
{
    print(stderr, QString::fromUtf8(kUsage));
    return 2;
}

// The data root: --root makes DIR both the local data root and the data root; without it
// the start-up search finds them.
bool directories(const Context &ctx, app::Directories &dirs)
{
    if (!ctx.root.isEmpty()) {
        dirs = app::Directories();
        dirs.programDir = app::withSlash(QCoreApplication::applicationDirPath());
        dirs.localDataRoot = dirs.dataRoot = app::withSlash(QDir(ctx.root).absolutePath());
        dirs.notFound = !QFile::exists(dirs.dataRoot + u"Data.DB"_s);
    } else {
        dirs = app::findDirectories(QCoreApplication::applicationDirPath(), app::Directories::systemCommonDataFolder(),
                                    app::Directories::systemDocumentsFolder());
    }
    if (dirs.notFound) {
        print(stderr, QString::fromUtf16(app::kNoDataRootMessage));
        return false;
    }
    dirs.dataVersion = app::readDataVersion(dirs.localDataRoot);
    return true;
}

int openSet(const Context &ctx, data::TDM1 &dm, app::Directories &dirs)
{
    if (!directories(ctx, dirs))
        return 1;
    QString dir;
    try {
        dir = datasets::resolveDataSet(dirs, ctx.args.value(0));
    } catch (const engine::EngineError &e) {
        print(stderr, e.message());
        return 1;
    }
    try {
        datasets::openDataSet(dm, dirs, dir);
    } catch (const engine::EngineError &e) {
        print(stderr, QString::fromUtf16(datasets::kOpenFailedMessage) + u'\n' + e.message());
        return 1;
    }
    return 0;
}

int cmdInit(const Context &ctx)
{
    if (ctx.args.size() != 1)
        return usage();
    try {
        data::installDataRoot(ctx.args[0]);
    } catch (const engine::EngineError &e) {
        print(stderr, e.message());
        return 1;
    }
    return 0;
}

int cmdOpen(const Context &ctx)
{
    if (ctx.args.size() != 1)
        return usage();
    data::TDM1 dm;
    app::Directories dirs;
    return openSet(ctx, dm, dirs);
}

int cmdShow(const Context &ctx)
{
    if (ctx.args.size() != 2)
        return usage();
    data::TDM1 dm;
    app::Directories dirs;
    if (const int rc = openSet(ctx, dm, dirs); rc != 0)
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

}  // namespace

int run(const QStringList &arguments)
{
    Context ctx;
    QString command;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (a == u"--root"_s) {
            if (++i >= arguments.size())
                return usage();
            ctx.root = arguments[i];
        } else if (a.startsWith(u"--"_s)) {
            ctx.flags.append(a);
        } else if (command.isEmpty()) {
            command = a;
        } else {
            ctx.args.append(a);
        }
    }
    static const std::map<QString, std::function<int(const Context &)>> commands = {
        {u"init"_s, cmdInit},
        {u"open"_s, cmdOpen},
        {u"show"_s, cmdShow},
    };
    const auto it = commands.find(command);
    if (it == commands.end())
        return usage();
    return it->second(ctx);
}

}  // namespace rur::cli
