#include "cli/CliSupport.h"

#include "app/Startup.h"
#include "datasets/Catalogue.h"
#include "datasets/DataSetAccess.h"
#include "data/DataM1.h"
#include "engine/EngineError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace rur::cli {

namespace {

QList<CommandDef> &registry()
{
    static QList<CommandDef> list;
    return list;
}

const char *const kUsageHead = "Použití: rur-cli [--root ADRESÁŘ] [--password HESLO] PŘÍKAZ ...";

// Makes the catalogue row of SET (number or directory name) current; false when none.
bool locateSet(datasets::Catalogue &catalogue, const QString &set)
{
    bool numeric = false;
    const int number = set.toInt(&numeric);
    if (!catalogue.Data->isActive())
        return false;
    return numeric ? catalogue.Data->locate(u"Cislo"_s, {number})
                   : catalogue.Data->locate(u"Adresar"_s, {set}, {true, false});
}

// The checks before a data set is used: the in-use test and the password of its catalogue
// row (given with --password). A directory without a catalogue row has no password.
bool mayOpen(Context &ctx, datasets::Catalogue &catalogue, const QString &set)
{
    if (ctx.options.contains(u"--password"_s))
        ctx.prompter.textAnswers = {ctx.options.value(u"--password"_s)};
    if (!locateSet(catalogue, set)) {
        bool numeric = false;
        set.toInt(&numeric);
        if (numeric) {
            print(stderr, u"RUR číslo "_s + set + u" není v seznamu."_s);
            return false;
        }
        return true;
    }
    if (catalogue.hasPassword() && !ctx.options.contains(u"--password"_s)) {
        print(stderr, QString::fromUtf16(datasets::Catalogue::kWrongPassword));
        return false;
    }
    const bool ok = catalogue.canOpenCurrent();
    flushMessages(ctx);
    return ok;
}

}  // namespace

CommandRegistration::CommandRegistration(CommandDef def)
{
    QList<CommandDef> &list = registry();
    const auto at = std::upper_bound(list.begin(), list.end(), def.order,
                                     [](int order, const CommandDef &d) { return order < d.order; });
    list.insert(at, std::move(def));
}

const QList<CommandDef> &commands()
{
    return registry();
}

void print(FILE *stream, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    std::fwrite(utf8.constData(), 1, size_t(utf8.size()), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

int usage(const Context &ctx)
{
    const bool known = std::any_of(commands().begin(), commands().end(),
                                   [&](const CommandDef &d) { return d.name == ctx.command; });
    QString text = QString::fromUtf8(kUsageHead);
    for (const CommandDef &c : commands())
        if (!known || c.name == ctx.command)
            text += u'\n' + c.usage;
    print(stderr, text);
    return 2;
}

void flushMessages(Context &ctx)
{
    for (const auto &m : std::as_const(ctx.prompter.messages)) {
        if (m.kind == platform::ScriptedPrompter::Message::Error)
            print(stderr, m.text);
        else if (m.kind == platform::ScriptedPrompter::Message::Information)
            print(stdout, m.text);
    }
    ctx.prompter.messages.clear();
}

QString absolutePath(const Context &ctx, const QString &path)
{
    return QDir::cleanPath(QDir(ctx.startDir.isEmpty() ? QDir::currentPath() : ctx.startDir).absoluteFilePath(path));
}

bool directories(Context &ctx)
{
    app::Directories &dirs = ctx.dirs;
    if (ctx.options.contains(u"--root"_s)) {
        dirs = app::Directories();
        dirs.programDir = app::withSlash(QCoreApplication::applicationDirPath());
        dirs.localDataRoot = dirs.dataRoot = app::withSlash(absolutePath(ctx, ctx.options.value(u"--root"_s)));
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

std::unique_ptr<datasets::Catalogue> openCatalogue(Context &ctx)
{
    auto catalogue = std::make_unique<datasets::Catalogue>(ctx.dirs, ctx.prompter);
    catalogue->statusSink = [](const QString &text) { print(stdout, text); };
    catalogue->prepare();
    catalogue->showSelection();
    return catalogue;
}

std::unique_ptr<datasets::Catalogue> catalogueOnSet(Context &ctx)
{
    if (!directories(ctx))
        return nullptr;
    auto catalogue = openCatalogue(ctx);
    if (!locateSet(*catalogue, ctx.args.value(0))) {
        print(stderr, u"RUR "_s + ctx.args.value(0) + u" není v seznamu."_s);
        return nullptr;
    }
    return catalogue;
}

int openSet(Context &ctx, data::TDM1 &dm)
{
    if (!directories(ctx))
        return 1;
    const QString set = ctx.args.value(0);
    auto catalogue = openCatalogue(ctx);
    if (!mayOpen(ctx, *catalogue, set))
        return 1;
    QString dir;
    try {
        dir = datasets::resolveDataSet(ctx.dirs, set);
    } catch (const engine::EngineError &e) {
        print(stderr, e.message());
        return 1;
    }
    try {
        datasets::openDataSet(dm, ctx.dirs, dir);
    } catch (const engine::EngineError &e) {
        print(stderr, QString::fromUtf16(datasets::kOpenFailedMessage) + u'\n' + e.message());
        return 1;
    }
    return 0;
}

}  // namespace rur::cli
