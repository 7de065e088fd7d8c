// rur-cli commands that produce printouts: a PDF file, or pages sent to an installed printer.
#include "cli/CliSupport.h"

#include "app/Startup.h"
#include "data/DataM1.h"
#include "engine/EngineError.h"
#include "engine/Table.h"
#include "platform/IniFile.h"
#include "print/FilingFile.h"
#include "print/PrintMessages.h"
#include "print/ReturnPages.h"
#include "report/Printing.h"
#include "report/Render.h"
#include "report/ReportError.h"
#include "report/printing/QtPrintTarget.h"

using namespace Qt::StringLiterals;

namespace rur::cli {

namespace {

// The printouts this command knows, by the name given on the command line.
int pageOf(const QString &report)
{
    if (report.compare(u"strana1"_s, Qt::CaseInsensitive) == 0)
        return 1;
    if (report.compare(u"strana2"_s, Qt::CaseInsensitive) == 0)
        return 2;
    return 0;
}

// rur-cli print SET REPORT --pdf PATH | --printer NAME
int cmdPrint(Context &ctx)
{
    const bool toPdf = ctx.options.contains(u"--pdf"_s), toPrinter = ctx.options.contains(u"--printer"_s);
    if (ctx.args.size() != 2 || toPdf == toPrinter)
        return usage(ctx);
    const int page = pageOf(ctx.args[1]);
    if (page == 0) {
        print(stderr, u"Neznámá sestava "_s + ctx.args[1] + u". Známé sestavy: strana1, strana2."_s);
        return usage(ctx);
    }
    data::TDM1 dm;
    if (const int rc = openSet(ctx, dm); rc != 0)
        return rc;
    const app::UserSettings user = app::readUserSettings(platform::IniFile(ctx.dirs.localDataRoot + u"Dph.ini"_s));

    report::PreparedReport prepared;
    try {
        prepared = print::prepareReturnPage(dm, page, user.typPisma);
    } catch (const report::ReportError &e) {
        print(stderr, e.message());
        print(stderr, QString::fromUtf16(print::kPrintFailed));
        return 1;
    }

    if (toPdf) {
        const QString path = absolutePath(ctx, ctx.options.value(u"--pdf"_s));
        if (!report::writePdf(prepared, path)) {
            print(stderr, print::cannotCreateMessage(path));
            return 1;
        }
        print(stdout, path);
        return 0;
    }
    // The copies of the print settings: the printer makes them, or one job each.
    engine::Table &dmt = *dm.Dmt;
    const bool hasRow = dmt.isActive() && !dmt.isEmpty();
    const int copies = hasRow ? dmt.field(u"Kop"_s).asInteger() : 1;
    const bool printerCopies = hasRow && dmt.field(u"Pk"_s).asBoolean();
    report::QtPrintTarget printer;
    if (!report::Tisk2(prepared, printer, ctx.options.value(u"--printer"_s), copies, printerCopies)) {
        print(stderr, QString::fromUtf16(print::kPrintFailed));
        return 1;
    }
    return 0;
}

const CommandRegistration registrations[] = {
    CommandRegistration(
        {u"print"_s,
         u"  print RUR SESTAVA --pdf SOUBOR  zapíše sestavu (strana1, strana2) jako PDF a vypíše jeho cestu\n"
         u"  print RUR SESTAVA --printer TISKÁRNA  vytiskne sestavu na tiskárně (počet kopií podle nastavení tisku)"_s,
         {u"--pdf"_s, u"--printer"_s},
         cmdPrint,
         200,
                         u"rur-cli print D1 strana1 --pdf ~/strana1.pdf"_s}),
};

}  // namespace

}  // namespace rur::cli
