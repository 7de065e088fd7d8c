#include "cli/CliCommands.h"

#include "app/Directories.h"
#include "app/Startup.h"
#include "data/DataM1.h"
#include "data/Templates.h"
#include "datasets/Catalogue.h"
#include "datasets/DataSetAccess.h"
#include "datasets/YearProcedures.h"
#include "engine/EngineError.h"
#include "engine/JsonRows.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "print/FilingFile.h"
#include "vat/Saving.h"
#include "vat/Split.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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
    QStringList args;                 // positional arguments after the command
    QStringList flags;                // --all and the like
    QMap<QString, QString> options;   // --root, --password, --old with their values
    app::Directories dirs;
    platform::ScriptedPrompter prompter;  // answers every question with Yes
};

const char *const kUsage =
    "Použití: rur-cli [--root ADRESÁŘ] [--password HESLO] PŘÍKAZ ...\n"
    "  init ADRESÁŘ                 vytvoří datový adresář s prázdnými šablonami\n"
    "  sets                         vypíše seznam RUR (číslo, název, adresář)\n"
    "  create NÁZEV                 vytvoří nové RUR a vypíše jeho adresář\n"
    "  rename RUR NÁZEV             přejmenuje RUR\n"
    "  delete RUR                   smaže RUR\n"
    "  password RUR [--old HESLO] NOVÉ   přidá nebo změní heslo (prázdné NOVÉ heslo zruší)\n"
    "  open RUR                     otevře tabulky RUR (číslo nebo adresář, např. D1)\n"
    "  show RUR TABULKA [--all]     vypíše aktuální řádek (nebo všechny) jako JSON\n"
    "  xml RUR [--out SOUBOR]       zapíše soubor DPHDP3 pro elektronické podání a vypíše jeho cestu\n"
    "  clear-period RUR             vymaže období\n"
    "  clear-year RUR               vymaže celý rok\n"
    "  new-year RUR                 provede akci nový rok\n"
    "  set RUR TABULKA POLE=TEXT ...   zapíše do aktuálního řádku texty jako při psaní a uloží jej\n"
    "  save-return RUR [--overwrite yes|no]   uloží RUR a posune období\n"
    "  save-last RUR [--overwrite yes|no]     uloží poslední RUR a provede vypořádání\n"
    "  delete-finished RUR ČÍSLO    smaže uložené období z hotových přiznání\n";

int usage()
{
    print(stderr, QString::fromUtf8(kUsage));
    return 2;
}

// Prints what the program told the user: errors on stderr, the rest on stdout.
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

// The data root: --root makes DIR both the local data root and the data root; without it
// the start-up search finds them.
bool directories(Context &ctx)
{
    app::Directories &dirs = ctx.dirs;
    if (ctx.options.contains(u"--root"_s)) {
        dirs = app::Directories();
        dirs.programDir = app::withSlash(QCoreApplication::applicationDirPath());
        dirs.localDataRoot = dirs.dataRoot = app::withSlash(QDir(ctx.options.value(u"--root"_s)).absolutePath());
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

std::unique_ptr<datasets::Catalogue> openCatalogue(Context &ctx)
{
    auto catalogue = std::make_unique<datasets::Catalogue>(ctx.dirs, ctx.prompter);
    catalogue->statusSink = [](const QString &text) { print(stdout, text); };
    catalogue->prepare();
    catalogue->showSelection();
    return catalogue;
}

// The catalogue with the row of the command's first argument current; nothing (with the
// message printed) when the data root or the row is missing.
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

int cmdInit(Context &ctx)
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

int cmdOpen(Context &ctx)
{
    if (ctx.args.size() != 1)
        return usage();
    data::TDM1 dm;
    return openSet(ctx, dm);
}

int cmdShow(Context &ctx)
{
    if (ctx.args.size() != 2)
        return usage();
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

int cmdSets(Context &ctx)
{
    if (!ctx.args.isEmpty())
        return usage();
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
        return usage();
    if (!directories(ctx))
        return 1;
    auto catalogue = openCatalogue(ctx);
    if (!catalogue->beginNew()) {
        flushMessages(ctx);
        return 1;
    }
    const QString directory = catalogue->Data->field(u"Adresar"_s).asString();
    const bool created = catalogue->finishNew(ctx.args[0]);
    flushMessages(ctx);
    if (!created)
        return 1;
    catalogue->closeSelection(catalogue->lastUsedPosition());
    print(stdout, directory);
    return 0;
}

int cmdRename(Context &ctx)
{
    if (ctx.args.size() != 2)
        return usage();
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
        return usage();
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
        return usage();
    auto catalogue = catalogueOnSet(ctx);
    if (!catalogue)
        return 1;
    const bool ok = catalogue->hasPassword() ? catalogue->changePassword(ctx.options.value(u"--old"_s), ctx.args[1])
                                             : catalogue->addPassword(ctx.args[1]);
    flushMessages(ctx);
    return ok ? 0 : 1;
}

int cmdProcedure(Context &ctx, bool (*procedure)(data::TDM1 &, app::Directories &, platform::Prompter &))
{
    if (ctx.args.size() != 1)
        return usage();
    data::TDM1 dm;
    if (const int rc = openSet(ctx, dm); rc != 0)
        return rc;
    bool ok = false;
    try {
        ok = procedure(dm, ctx.dirs, ctx.prompter);
    } catch (const engine::EngineError &e) {
        flushMessages(ctx);
        print(stderr, QString::fromUtf16(datasets::kOpenFailedMessage) + u'\n' + e.message());
        return 1;
    }
    flushMessages(ctx);
    return ok ? 0 : 1;
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

// Text typed into a Boolean field: "ano"/"ne" as well as what the field itself reads.
QString booleanText(const QString &text)
{
    const QString t = text.trimmed();
    if (t.compare(u"ano"_s, Qt::CaseInsensitive) == 0)
        return u"true"_s;
    if (t.compare(u"ne"_s, Qt::CaseInsensitive) == 0)
        return u"false"_s;
    return text;
}

int cmdSet(Context &ctx)
{
    if (ctx.args.size() < 3)
        return usage();
    QList<std::pair<QString, QString>> assignments;
    for (const QString &a : ctx.args.mid(2)) {
        const qsizetype eq = a.indexOf(u'=');
        if (eq <= 0)
            return usage();
        assignments.append({a.left(eq), a.mid(eq + 1)});
    }
    data::TDM1 dm;
    if (const int rc = openSet(ctx, dm); rc != 0)
        return rc;
    engine::Table *table = dm.table(ctx.args[1]);
    if (!table) {
        print(stderr, u"Tabulka "_s + ctx.args[1] + u" neexistuje."_s);
        return 1;
    }
    try {
        table->edit();
        for (const auto &[name, text] : std::as_const(assignments)) {
            engine::Field field = table->field(name);
            const QString textOnEntry = field.displayText();
            field.setText(field.type() == engine::FieldType::Boolean ? booleanText(text) : text);
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
        return usage();
    const QString overwrite = ctx.options.value(u"--overwrite"_s, u"no"_s);
    if (overwrite != u"yes"_s && overwrite != u"no"_s)
        return usage();
    StatusCapture status;
    data::TDM1 dm;
    if (const int rc = openSet(ctx, dm); rc != 0)
        return rc;
    dm.setStatusDisplay(&status);
    // The question whether to save is answered Yes, the overwrite question by the option.
    ctx.prompter.answers = {platform::Prompter::Answer::Yes,
                            overwrite == u"yes"_s ? platform::Prompter::Answer::Yes : platform::Prompter::Answer::No};
    try {
        command(dm, ctx.prompter);
    } catch (const engine::EngineError &e) {
        dm.setStatusDisplay(nullptr);
        flushMessages(ctx);
        print(stderr, e.message());
        return 1;
    }
    dm.setStatusDisplay(nullptr);
    flushMessages(ctx);
    if (!status.panel0.isEmpty())
        print(stdout, status.panel0);
    return 0;
}

int cmdDeleteFinished(Context &ctx)
{
    if (ctx.args.size() != 2)
        return usage();
    bool numeric = false;
    const int cislo = ctx.args[1].toInt(&numeric);
    if (!numeric)
        return usage();
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

// The filing file of a data set: to --out, or where the data set's settings put it.
int cmdXml(Context &ctx)
{
    if (ctx.args.size() != 1)
        return usage();
    data::TDM1 dm;
    if (const int rc = openSet(ctx, dm); rc != 0)
        return rc;
    // The special folders are the system's, also when --root names the data root.
    if (ctx.dirs.commonDataFolder.isEmpty())
        ctx.dirs.commonDataFolder = app::Directories::systemCommonDataFolder();
    if (ctx.dirs.documentsFolder.isEmpty())
        ctx.dirs.documentsFolder = app::Directories::systemDocumentsFolder();
    app::UserSettings user = app::readUserSettings(platform::IniFile(ctx.dirs.localDataRoot + u"Dph.ini"_s));
    rur::print::XmlPathSettings xml = rur::print::readXmlPathSettings(platform::IniFile(ctx.dirs.dataSetIni()));
    QString written;
    try {
        if (ctx.options.contains(u"--out"_s)) {
            const QString path = QFileInfo(ctx.options.value(u"--out"_s)).absoluteFilePath();
            if (rur::print::DphXml1(dm, path, user.kodovani, user.radky, ctx.prompter))
                written = path;
        } else {
            rur::print::FilingContext filing{dm, ctx.dirs, user, xml, ctx.prompter};
            written = rur::print::saveFilingFile(filing);
        }
    } catch (const engine::EngineError &e) {
        print(stderr, e.message());
        return 1;
    }
    if (written.isEmpty()) {
        for (const auto &m : std::as_const(ctx.prompter.messages))
            print(stderr, m.text);
        return 1;
    }
    print(stdout, written);
    return 0;
}

}  // namespace

int run(const QStringList &arguments)
{
    Context ctx;
    QString command;
    static const QStringList withValue = {u"--root"_s, u"--password"_s, u"--old"_s, u"--overwrite"_s, u"--out"_s};
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (withValue.contains(a)) {
            if (++i >= arguments.size())
                return usage();
            ctx.options.insert(a, arguments[i]);
        } else if (a.startsWith(u"--"_s)) {
            ctx.flags.append(a);
        } else if (command.isEmpty()) {
            command = a;
        } else {
            ctx.args.append(a);
        }
    }
    static const std::map<QString, std::function<int(Context &)>> commands = {
        {u"init"_s, cmdInit},
        {u"sets"_s, cmdSets},
        {u"create"_s, cmdCreate},
        {u"rename"_s, cmdRename},
        {u"delete"_s, cmdDelete},
        {u"password"_s, cmdPassword},
        {u"open"_s, cmdOpen},
        {u"show"_s, cmdShow},
        {u"xml"_s, cmdXml},
        {u"clear-period"_s, [](Context &c) { return cmdProcedure(c, datasets::VymazaniObdobi); }},
        {u"clear-year"_s, [](Context &c) { return cmdProcedure(c, datasets::VymazaniRoku); }},
        {u"new-year"_s, [](Context &c) { return cmdProcedure(c, datasets::NovyRok); }},
        {u"set"_s, cmdSet},
        {u"save-return"_s, [](Context &c) { return cmdSave(c, vat::UlozeniRur); }},
        {u"save-last"_s, [](Context &c) { return cmdSave(c, vat::UlozeniPoslednihoRur); }},
        {u"delete-finished"_s, cmdDeleteFinished},
    };
    const auto it = commands.find(command);
    if (it == commands.end())
        return usage();
    // A table operation that fails where no command expects it still ends with the
    // program's Czech message, not with a crash.
    try {
        return it->second(ctx);
    } catch (const engine::EngineError &e) {
        flushMessages(ctx);
        print(stderr, e.message());
        return 1;
    }
}

}  // namespace rur::cli
