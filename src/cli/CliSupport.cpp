#include "cli/CliSupport.h"

#include "app/Startup.h"
#include "data/DataM1.h"
#include "datasets/Catalogue.h"
#include "datasets/DataSetAccess.h"
#include "engine/EngineError.h"
#include "engine/Field.h"
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

QList<std::pair<QString, PrintoutMaker>> &printoutRegistry()
{
    static QList<std::pair<QString, PrintoutMaker>> list;
    return list;
}

const char *const kUsageHead = "Použití: rur-cli [--root ADRESÁŘ] [--password HESLO] PŘÍKAZ ...";

// The data set a SET argument names: a catalogue number, the exact directory name of a
// catalogue row, or a data-set directory ("D" and digits) directly under the data root.
// A catalogue row found becomes current. Empty (message printed) for anything else.
QString resolveSet(datasets::Catalogue &catalogue, const base::Directories &dirs, const QString &set, bool *hasRow)
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
    // Commands register while the program starts, in the order its files were linked; the
    // listing must not depend on that: by place, and commands sharing one by name.
    QList<CommandDef> &list = registry();
    const auto before = [](const CommandDef &a, const CommandDef &b) {
        return a.order != b.order ? a.order < b.order : a.name < b.name;
    };
    list.insert(std::upper_bound(list.begin(), list.end(), def, before), std::move(def));
}

platform::Prompter::Answer CliPrompter::confirmWithCancel(const QString &text)
{
    if (missingAnswer) {
        if (const QString option = missingAnswer(text); !option.isEmpty()) {
            messages.append({Message::Question, text});
            throw UnansweredQuestion{text, option};
        }
    }
    return ScriptedPrompter::confirmWithCancel(text);
}

int unanswered(const QString &question, const QString &answeredBy)
{
    print(stderr, QString(question).replace(u'\n', u' '));
    print(stderr, u"Příkaz na otázku nezná odpověď, nic neprovedl; odpovězte volbou "_s + answeredBy + u'.');
    return kUnansweredExit;
}

const QList<CommandDef> &commands()
{
    return registry();
}

PrintoutRegistration::PrintoutRegistration(const QString &name, PrintoutMaker make)
{
    printoutRegistry().append({name, std::move(make)});
}

PrintoutMaker registeredPrintout(const QString &name)
{
    for (const auto &[known, make] : std::as_const(printoutRegistry()))
        if (known.compare(name, Qt::CaseInsensitive) == 0)
            return make;
    return {};
}

QStringList registeredPrintoutNames()
{
    QStringList names;
    for (const auto &entry : std::as_const(printoutRegistry()))
        names.append(entry.first);
    return names;
}

const QStringList kCommonOptions = {u"--root"_s, u"--password"_s, u"--help"_s};

QStringList optionsOf(const CommandDef &command)
{
    static const QRegularExpression option(u"--[a-z][a-z0-9-]*"_s);
    QStringList found;
    for (auto it = option.globalMatch(command.usage); it.hasNext();) {
        const QString name = it.next().captured();
        if (!found.contains(name))
            found.append(name);
    }
    return found;
}

const CommandDef *findCommand(const QString &name)
{
    const auto it = std::find_if(commands().begin(), commands().end(),
                                 [&](const CommandDef &d) { return d.name == name; });
    return it == commands().end() ? nullptr : &*it;
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
    const CommandDef *known = findCommand(ctx.command);
    QString text = QString::fromUtf8(kUsageHead);
    for (const CommandDef &c : commands())
        if (!known || c.name == ctx.command)
            text += u'\n' + c.usage;
    if (known && !known->example.isEmpty())
        text += u"\nPříklad:\n  "_s + known->example;
    else if (!known)
        text += u"\nPopis příkazů s příklady: rur-cli --help"_s;
    print(stderr, text);
    return 2;
}

QString programHelp()
{
    QString text = u"rur-cli: postupy programu RUR bez obrazovky, pro skripty a dávkové zpracování.\n"_s
                   + QString::fromUtf8(kUsageHead)
                   + u"\n\nSpolečné volby:\n"
                     u"  --root ADRESÁŘ     datový adresář (bez volby ten, který najde program: Data.ini, "
                     u"pak ~/.local/share/Tervik/RUR 2018)\n"
                     u"  --password HESLO   heslo RUR chráněného heslem\n"
                     u"  --help             popis programu, s příkazem popis příkazu\n"
                     u"RUR se zadává číslem ze seznamu nebo adresářem (např. D1). Výsledek (JSON, cesta, seznam) "
                     u"jde na standardní výstup, každé hlášení na standardní chybový výstup.\n"
                     u"Návratový kód: 0 úspěch, 1 chyba postupu, 2 chybné zadání příkazu, 3 otázka, na kterou "
                     u"příkaz nezná odpověď (vypíše ji a nic neprovede; odpověď se zadá volbou).\n\nPříkazy:"_s;
    for (const CommandDef &c : commands()) {
        text += u'\n' + c.usage;
        if (!c.example.isEmpty())
            text += u"\n      příklad: "_s + c.example;
    }
    return text;
}

QString commandHelp(const CommandDef &command)
{
    QString text = QString::fromUtf8(kUsageHead) + u'\n' + command.usage;
    if (!command.example.isEmpty())
        text += u"\nPříklad:\n  "_s + command.example;
    text += u"\nSpolečné volby: --root ADRESÁŘ, --password HESLO (viz rur-cli --help)."_s;
    return text;
}

void flushMessages(Context &ctx)
{
    for (const auto &m : std::as_const(ctx.prompter.messages))
        if (m.kind != platform::ScriptedPrompter::Message::Question)
            print(stderr, m.text);
    ctx.prompter.messages.clear();
}

QString absolutePath(const Context &ctx, const QString &path)
{
    // An empty path names nothing; taken against the current folder it would name that.
    if (path.trimmed().isEmpty())
        return {};
    return QDir::cleanPath(QDir(ctx.startDir.isEmpty() ? QDir::currentPath() : ctx.startDir).absoluteFilePath(path));
}

bool folderExists(const QString &filePath)
{
    const QString folder = QFileInfo(filePath).absolutePath();
    if (QFileInfo(folder).isDir())
        return true;
    print(stderr, u"Adresář "_s + folder + u" neexistuje."_s);
    return false;
}

bool directories(Context &ctx)
{
    base::Directories &dirs = ctx.dirs;
    if (ctx.options.contains(u"--root"_s)) {
        dirs = base::Directories();
        dirs.programDir = base::withSlash(QCoreApplication::applicationDirPath());
        dirs.localDataRoot = dirs.dataRoot = base::withSlash(absolutePath(ctx, ctx.options.value(u"--root"_s)));
        dirs.notFound = !QFile::exists(dirs.dataRoot + u"Data.DB"_s);
        // The special folders are the system's also here: default paths of files the
        // commands write (%AdresarDat%, %AdresarUziv%) start there, and info shows them.
        dirs.commonDataFolder = base::Directories::systemCommonDataFolder();
        dirs.documentsFolder = base::Directories::systemDocumentsFolder();
    } else {
        dirs = app::findDirectories(QCoreApplication::applicationDirPath(), base::Directories::systemCommonDataFolder(),
                                    base::Directories::systemDocumentsFolder());
        // Shared data chosen in the program is the data root here too.
        if (!dirs.notFound) {
            app::applyNetworkDataRoot(dirs, ctx.prompter);
            flushMessages(ctx);
        }
    }
    if (dirs.notFound) {
        print(stderr, u"Adresář s daty neexistuje. Vytvořte ho příkazem rur --install-data nebo rur-cli init ADRESÁŘ."_s);
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

std::optional<QList<std::pair<QString, QString>>> fieldAssignments(const QStringList &args)
{
    QList<std::pair<QString, QString>> assignments;
    for (const QString &a : args) {
        const qsizetype eq = a.indexOf(u'=');
        if (eq <= 0)
            return std::nullopt;
        assignments.append({a.left(eq), a.mid(eq + 1)});
    }
    return assignments;
}

QString typedText(const engine::Field &field, const QString &text)
{
    if (field.type() != engine::FieldType::Boolean)
        return text;
    const QString t = text.trimmed();
    if (t.compare(u"ano"_s, Qt::CaseInsensitive) == 0)
        return u"true"_s;
    if (t.compare(u"ne"_s, Qt::CaseInsensitive) == 0)
        return u"false"_s;
    return text;
}

QString textTooLong(const engine::FieldDef &field, const QString &text)
{
    if (field.type != engine::FieldType::Char || field.size <= 0 || text.size() <= field.size)
        return {};
    const int n = field.size;
    const QString chars = n == 1 ? u"znak"_s : (n < 5 ? u"znaky"_s : u"znaků"_s);
    return u"Text pro pole „"_s + (field.label.isEmpty() ? field.name : field.label) + u"“ může mít nejvýše "_s
           + QString::number(n) + u' ' + chars + u'.';
}

void typeText(engine::Field field, const QString &text)
{
    if (const QString tooLong = textTooLong(field.def(), text); !tooLong.isEmpty())
        RUR_THROW(engine::ErrInvalidValue, tooLong);
    field.setText(typedText(field, text));
}

}  // namespace rur::cli
