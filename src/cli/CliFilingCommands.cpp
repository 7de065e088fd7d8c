// rur-cli commands that write the electronic filing file.
#include "cli/CliSupport.h"

#include "app/Startup.h"
#include "base/DataSetRecords.h"
#include "check/ReturnCheck.h"
#include "data/DataM1.h"
#include "engine/EngineError.h"
#include "platform/IniFile.h"
#include "print/FilingFile.h"

using namespace Qt::StringLiterals;

namespace rur::cli {

namespace {

// The filing file of a data set: to --out, or where the data set's settings put it.
int cmdXml(Context &ctx)
{
    if (ctx.args.size() != 1)
        return usage(ctx);
    data::TDM1 dm;
    if (const int rc = openSet(ctx, dm); rc != 0)
        return rc;
    base::UserSettings user = base::readUserSettings(platform::IniFile(ctx.dirs.localDataRoot + u"Dph.ini"_s));
    rur::print::XmlPathSettings xml = rur::print::readXmlPathSettings(platform::IniFile(ctx.dirs.dataSetIni()));
    QString written;
    try {
        if (ctx.options.contains(u"--out"_s)) {
            const QString path = absolutePath(ctx, ctx.options.value(u"--out"_s));
            if (!folderExists(path))
                return 1;
            if (rur::print::DphXml1(dm, path, user.kodovani, user.radky, ctx.prompter)) {
                written = path;
                base::recordFilingFile(ctx.dirs.dataSetIni(), {path, print::returnKey(dm), QDateTime::currentDateTime()});
            }
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
    // The check that follows every save: what it finds goes to stderr; the file stays written.
    try {
        for (const check::Finding &f : check::checkWrittenFile(dm, written))
            print(stderr, check::findingLine(f));
    } catch (const engine::EngineError &e) {
        print(stderr, e.message());
    }
    return 0;
}

const CommandRegistration filingCommands[] = {
    CommandRegistration({u"xml"_s, u"  xml RUR [--out SOUBOR]       zapíše soubor DPHDP3 pro elektronické podání a vypíše jeho cestu"_s,
                         {u"--out"_s}, cmdXml, 170,
                         u"rur-cli xml D1 --out ~/DPHDP3.xml"_s}),
};

}  // namespace

}  // namespace rur::cli
