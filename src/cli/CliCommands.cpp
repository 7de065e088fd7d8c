#include "cli/CliCommands.h"

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
        } else if (a.startsWith(u"--"_s)) {
            ctx.flags.append(a);
        } else if (ctx.command.isEmpty()) {
            ctx.command = a;
        } else {
            ctx.args.append(a);
        }
    }
    const auto it = std::find_if(commands().begin(), commands().end(),
                                 [&](const CommandDef &c) { return c.name == ctx.command; });
    if (it == commands().end()) {
        ctx.command.clear();
        return usage(ctx);
    }
    // A table operation that fails where no command expects it still ends with the
    // program's Czech message, not with a crash.
    try {
        return it->run(ctx);
    } catch (const engine::EngineError &e) {
        flushMessages(ctx);
        print(stderr, e.message());
        return 1;
    }
}

}  // namespace rur::cli
