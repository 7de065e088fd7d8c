#pragma once

// What every rur-cli command shares: the parsed command line, printing, the data root, the
// catalogue and opening a data set, and the registry through which each subsystem's file
// adds its commands.

#include "base/Directories.h"
#include "platform/Prompter.h"
#include "report/PreparedReport.h"

#include <QMap>
#include <QStringList>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace rur::data {
class TDM1;
}
namespace rur::datasets {
class Catalogue;
}

namespace rur::engine {
class Field;
struct FieldDef;
}

namespace rur::cli {

// The questions of a command are answered from its script (Yes unless the command says
// otherwise). A question for which `missingAnswer` names an option stops the command: the
// window would ask it, and the command line has not answered it (UnansweredQuestion).
class CliPrompter : public platform::ScriptedPrompter {
public:
    Answer confirmWithCancel(const QString &text) override;
    std::function<QString(const QString &question)> missingAnswer;
};

struct UnansweredQuestion {
    QString question;
    QString answeredBy;  // the option that answers it, "--overwrite yes|no"
};

// Exit status of a command stopped by a question it has no answer for: nothing was done.
inline constexpr int kUnansweredExit = 3;
// Prints the question (its line breaks as blanks) and what answers it; gives kUnansweredExit.
int unanswered(const QString &question, const QString &answeredBy);

struct Context {
    QString command;
    QStringList args;                 // positional arguments after the command
    QStringList flags;                // --all and the like
    QMap<QString, QString> options;   // --root, --password, --out ... with their values
    QString startDir;                 // the directory rur-cli was started in
    base::Directories dirs;
    CliPrompter prompter;
};

// One command: its name, the usage lines printed for it, the options that take a value,
// what it runs, and an example command line that `rur-cli --help` shows (every command has
// one; a test fails for a command without it). `order` places it in the listing of all
// commands. The options a command accepts are the ones its usage names, besides the common
// ones (kCommonOptions): any other is refused with the usage.
struct CommandDef {
    QString name;
    QString usage;
    QStringList valueOptions;
    std::function<int(Context &)> run;
    int order = 0;
    QString example;
};

// Options every command takes: --root, --password and --help.
extern const QStringList kCommonOptions;
// The options named in a command's usage lines.
QStringList optionsOf(const CommandDef &command);
// The command of a name, or null.
const CommandDef *findCommand(const QString &name);
// What `rur-cli --help` prints, and what `rur-cli COMMAND --help` prints for one command.
QString programHelp();
QString commandHelp(const CommandDef &command);

// Adds a command at program start: `static const CommandRegistration r{{...}};` in the
// file that implements it.
struct CommandRegistration {
    explicit CommandRegistration(CommandDef def);
};
const QList<CommandDef> &commands();  // in listing order

// A printout that a subsystem's file adds to `print RUR NAME`, beside the print centre's own:
// laid out for the open data set (throws report::ReportError or engine::EngineError).
// `static const PrintoutRegistration r{u"name"_s, make};` in the file that implements it.
using PrintoutMaker = std::function<report::PreparedReport(Context &ctx, data::TDM1 &dm, int typPisma)>;
struct PrintoutRegistration {
    PrintoutRegistration(const QString &name, PrintoutMaker make);
};
// The printout added under a name (ignoring case); empty when there is none.
PrintoutMaker registeredPrintout(const QString &name);
QStringList registeredPrintoutNames();

void print(FILE *stream, const QString &text);
// Prints the usage of the context's command (or of every command) and gives exit code 2.
int usage(const Context &ctx);

// Prints what the program told the user on stderr: stdout carries only a command's result.
void flushMessages(Context &ctx);

// A path argument made absolute against the directory rur-cli was started in (procedures
// change the current directory before the path is used).
QString absolutePath(const Context &ctx, const QString &path);

// A file the user named for a command to write must go into an existing folder; only the
// program's own default folders are created. False (message printed) when it does not exist.
bool folderExists(const QString &filePath);

// The data root: --root makes DIR both the local data root and the data root; without it
// the start-up search finds them. False (message printed) when there is none.
bool directories(Context &ctx);

// The catalogue of the data root, prepared as the selection window shows it.
std::unique_ptr<datasets::Catalogue> openCatalogue(Context &ctx);
// The catalogue with the row of the command's first argument current; nothing (with the
// message printed) when the data root or the row is missing.
std::unique_ptr<datasets::Catalogue> catalogueOnSet(Context &ctx);

// Opens the data set of the first argument after the in-use and password checks; 0 or the
// exit code (message printed).
int openSet(Context &ctx, data::TDM1 &dm);

// FIELD=TEXT arguments as the pairs they name; nothing when one lacks its field name.
std::optional<QList<std::pair<QString, QString>>> fieldAssignments(const QStringList &args);
// Text typed into a field: a Boolean field takes "ano"/"ne" as well as what it reads itself.
QString typedText(const engine::Field &field, const QString &text);
// A text longer than its field holds, which a window's edit would not take: "Text pro pole
// „Telefon“ může mít nejvýše 12 znaků." (the window's label, else the field's name); empty
// when it fits.
QString textTooLong(const engine::FieldDef &field, const QString &text);
// Types a text into a field as its window does; a text longer than the field is refused
// (EngineError with the message above) and nothing is typed.
void typeText(engine::Field field, const QString &text);

}  // namespace rur::cli
