// rur-cli help: the description of the program or of one command, with examples.
#include "cli/CliSupport.h"

using namespace Qt::StringLiterals;

namespace rur::cli {

namespace {

int cmdHelp(Context &ctx)
{
    if (ctx.args.size() > 1)
        return usage(ctx);
    if (ctx.args.isEmpty()) {
        print(stdout, programHelp());
        return 0;
    }
    const CommandDef *command = findCommand(ctx.args[0]);
    if (!command) {
        print(stderr, u"Neznámý příkaz "_s + ctx.args[0] + u'.');
        Context all;
        return usage(all);
    }
    print(stdout, commandHelp(*command));
    return 0;
}

const CommandRegistration helpCommands[] = {
    CommandRegistration({u"help"_s, u"  help [PŘÍKAZ]                popis všech příkazů, nebo jednoho příkazu, s příklady"_s,
                         {}, cmdHelp, 1, u"rur-cli help backup"_s}),
};

}  // namespace

}  // namespace rur::cli
