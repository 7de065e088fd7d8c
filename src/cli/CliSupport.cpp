#include "cli/CliSupport.h"

#include "app/Startup.h"
#include "datasets/Catalogue.h"
#include "datasets/DataSetAccess.h"
#include "data/DataM1.h"
#include "engine/EngineError.h"
#include "platform/IniFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
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

// The data set a SET argument names: a catalogue number, the exact directory name of a
// catalogue row, or a data-set directory ("D" and digits) directly under the data root.
// A catalogue row found becomes current. Empty (message printed) for anything else.
QString resolveSet(datasets::Catalogue &catalogue, const app::Directories &dirs, const QString &set, bool *hasRow)
{
    *hasRow = false;
    static const QRegularExpression digits(u"^[0-9]{1,9}$"_s);
    if (digits.match(set).hasMatch()) {
        if (!catalogue.Data->isActive() || !catalogue.Data->locate(u"Cislo"_s, {set.toInt()})) {
            print(stderr, u"RUR číslo "_s + set + u" není v seznamu."_s);
            return {};
        }
        *hasRow = true;
        return catalogue.currentDirectory();
    }
    if (!datasets::isDataSetDirectoryName(set)) {
        print(stderr, u"„"_s + set + u"“ není číslo ani adresář RUR (například 1 nebo D1)."_s);
        return {};
    }
    if (catalogue.Data->isActive() && catalogue.Data->locate(u"Adresar"_s, {set})) {
        *hasRow = true;
        return set;
    }
    if (!QFileInfo(dirs.dataRoot + set).isDir()) {
        print(stderr, u"RUR "_s + set + u" není v seznamu."_s);
        return {};
    }
    return set;
}

// The checks before a data set is used: the in-use test and, for a catalogue row, its
// password (given with --password).
bool mayOpen(Context &ctx, datasets::Catalogue &catalogue, const QString &directory, bool hasRow)
{
    if (!hasRow) {
        const bool ok = catalogue.canUseDirectory(directory);
        flushMessages(ctx);
        return ok;
    }
    if (ctx.options.contains(u"--password"_s))
        ctx.prompter.textAnswers = {ctx.options.value(u"--password"_s)};
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
        // Shared data chosen in the program is the data root here too.
        if (!dirs.notFound) {
            app::applyNetworkDataRoot(dirs, ctx.prompter);
            flushMessages(ctx);
        }
    }
    if (dirs.notFound) {
        print(stderr, QString::fromUtf16(app::kNoDataRootMessage));
        return false;
    }
    // A settings file that can't be read would let the command run on other settings than
    // the user's.
    for (const QString &ini : {dirs.localDataRoot + u"Dph.ini"_s, dirs.dataRoot + u"Dph.ini"_s})
        if (const QString problem = platform::IniFile(ini).problem(); !problem.isEmpty()) {
            print(stderr, problem);
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
    bool hasRow = false;
    if (resolveSet(*catalogue, ctx.dirs, ctx.args.value(0), &hasRow).isEmpty())
        return nullptr;
    if (!hasRow) {
        print(stderr, u"RUR "_s + ctx.args.value(0) + u" není v seznamu."_s);
        return nullptr;
    }
    return catalogue;
}

int openSet(Context &ctx, data::TDM1 &dm)
{
    if (!directories(ctx))
        return 1;
    auto catalogue = openCatalogue(ctx);
    bool hasRow = false;
    const QString dir = resolveSet(*catalogue, ctx.dirs, ctx.args.value(0), &hasRow);
    if (dir.isEmpty() || !mayOpen(ctx, *catalogue, dir, hasRow))
        return 1;
    try {
        datasets::openDataSet(dm, ctx.dirs, dir);
    } catch (const engine::EngineError &e) {
        print(stderr, QString::fromUtf16(datasets::kOpenFailedMessage) + u'\n' + e.message());
        return 1;
    }
    if (const QString problem = platform::IniFile(ctx.dirs.dataSetIni()).problem(); !problem.isEmpty()) {
        print(stderr, problem);
        return 1;
    }
    return 0;
}

}  // namespace rur::cli
