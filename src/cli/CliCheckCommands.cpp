// rur-cli check: the check of the current return and its filing file before it is filed.
#include "cli/CliSupport.h"

#include "app/Startup.h"
#include "check/ReturnCheck.h"
#include "data/DataM1.h"
#include "engine/EngineError.h"
#include "platform/IniFile.h"

using namespace Qt::StringLiterals;

namespace rur::cli {

namespace {

// Each finding on a line of its own; exit status 1 when one of them is an error (warnings
// alone leave the return fit to file).
int cmdCheck(Context &ctx)
{
    if (ctx.args.size() != 1)
        return usage(ctx);
    data::TDM1 dm;
    if (const int rc = openSet(ctx, dm); rc != 0)
        return rc;
    QList<check::Finding> findings;
    try {
        if (ctx.options.contains(u"--file"_s)) {
            findings = check::checkWrittenFile(dm, absolutePath(ctx, ctx.options.value(u"--file"_s)));
        } else {
            const base::UserSettings user =
                base::readUserSettings(platform::IniFile(ctx.dirs.localDataRoot + u"Dph.ini"_s));
            findings = check::KontrolaRur(dm, user.kodovani);
        }
    } catch (const engine::EngineError &e) {
        print(stderr, e.message());
        return 1;
    }
    for (const check::Finding &f : std::as_const(findings))
        print(stdout, check::findingLine(f));
    if (findings.isEmpty())
        print(stdout, QString::fromUtf16(check::kNothingFound));
    return check::hasErrors(findings) ? 1 : 0;
}

const CommandRegistration checkCommands[] = {
    CommandRegistration({u"check"_s,
                         u"  check RUR [--file SOUBOR]    zkontroluje přiznání a jeho soubor pro elektronické podání "
                         u"(nebo daný soubor); každé zjištění na řádku, kód 1 při chybě"_s,
                         {u"--file"_s}, cmdCheck, 180,
                         u"rur-cli check D1"_s}),
};

}  // namespace

}  // namespace rur::cli
