#include "cli/CliCommands.h"

#include "base/Program.h"
#include "cli/CliSupport.h"
#include "engine/EngineError.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace rur::cli {

int run(const QStringList &arguments)
{
    Context ctx;
    ctx.startDir = QDir::currentPath();
    QStringList withValue = {u"--root"_s, u"--password"_s};
    for (const CommandDef &c : commands())
        withValue += c.valueOptions;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (withValue.contains(a)) {
            if (++i >= arguments.size())
                return usage(ctx);
            ctx.options.insert(a, arguments[i]);
        } else if (a.startsWith(u"--"_s) || a == u"-h"_s) {
            ctx.flags.append(a);
        } else if (ctx.command.isEmpty()) {
            ctx.command = a;
        } else {
            ctx.args.append(a);
        }
    }
    const bool help = ctx.flags.contains(u"--help"_s) || ctx.flags.contains(u"-h"_s);
    if (help && ctx.command.isEmpty()) {
        print(stdout, programHelp());
        return 0;
    }
    if (ctx.command.isEmpty() && ctx.flags == QStringList{u"--version"_s}) {
        print(stdout, u"rur-cli "_s + base::versionText());
        return 0;
    }
    const CommandDef *command = findCommand(ctx.command);
    if (!command) {
        if (!ctx.command.isEmpty())
            print(stderr, u"Neznámý příkaz "_s + ctx.command + u'.');
        ctx.command.clear();
        return usage(ctx);
    }
    if (help) {
        print(stdout, commandHelp(*command));
        return 0;
    }
    // An option the command does not know is a slip of the user, not something to ignore.
    const QStringList known = kCommonOptions + optionsOf(*command);
    for (const QString &option : ctx.flags + ctx.options.keys()) {
        if (!known.contains(option)) {
            print(stderr, u"Neznámá volba "_s + option + u" příkazu "_s + command->name + u'.');
            return usage(ctx);
        }
    }
    // A table operation that fails where no command expects it still ends with the
    // program's Czech message, not with a crash.
    try {
        return command->run(ctx);
    } catch (const engine::EngineError &e) {
        flushMessages(ctx);
        print(stderr, e.message());
        return 1;
    } catch (const UnansweredQuestion &q) {
        flushMessages(ctx);
        return unanswered(q.question, q.answeredBy);
    }
}

}  // namespace rur::cli
