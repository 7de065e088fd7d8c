// rur-cli overview: where the return of the open period stands, as the main window shows it.
#include "cli/CliSupport.h"

#include "app/Overview.h"
#include "app/Startup.h"
#include "data/DataM1.h"
#include "engine/EngineError.h"
#include "platform/IniFile.h"

using namespace Qt::StringLiterals;

namespace rur::cli {

namespace {

int cmdOverview(Context &ctx)
{
    if (ctx.args.size() != 1)
        return usage(ctx);
    data::TDM1 dm;
    if (const int rc = openSet(ctx, dm); rc != 0)
        return rc;
    const base::UserSettings user = base::readUserSettings(platform::IniFile(ctx.dirs.localDataRoot + u"Dph.ini"_s));
    try {
        const app::Overview overview =
            app::computeOverview(dm, ctx.dirs.dataSetIni(), user.kodovani, QDateTime::currentDateTime());
        print(stdout, app::overviewJson(overview));
    } catch (const engine::EngineError &e) {
        print(stderr, e.message());
        return 1;
    }
    return 0;
}

const CommandRegistration overviewCommands[] = {
    CommandRegistration({u"overview"_s,
                         u"  overview RUR                 vypíše přehled období jako JSON: období, druh přiznání, "
                         u"řádky 62 až 66, lhůtu podání a zbývající dny, uložení, soubor pro el. podání, "
                         u"počet chyb a upozornění kontroly a poslední zálohu"_s,
                         {}, cmdOverview, 175, u"rur-cli overview D1"_s}),
};

}  // namespace

}  // namespace rur::cli
