// rur-cli commands that produce printouts: a PDF file, or pages sent to an installed printer.
#include "cli/CliSupport.h"

#include "app/Startup.h"
#include "correspondence/Printouts.h"
#include "data/DataM1.h"
#include "engine/EngineError.h"
#include "platform/IniFile.h"
#include "print/FilingFile.h"
#include "print/PrintJobs.h"
#include "print/PrintMessages.h"
#include "report/Printing.h"
#include "report/Render.h"
#include "report/ReportError.h"
#include "report/printing/QtPrintTarget.h"

#include <optional>

using namespace Qt::StringLiterals;

namespace rur::cli {

namespace {

// The number of copies of --copies: a whole number from 1 to 999, as "Počet kopií" takes it.
std::optional<int> copiesOption(const QString &text)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (!ok || n < 1 || n > 999)
        return std::nullopt;
    return n;
}

// rur-cli print SET REPORT --pdf PATH | --printer NAME [--copies N]
int cmdPrint(Context &ctx)
{
    const bool toPdf = ctx.options.contains(u"--pdf"_s), toPrinter = ctx.options.contains(u"--printer"_s);
    if (ctx.args.size() != 2 || toPdf == toPrinter || (toPdf && ctx.options.contains(u"--copies"_s)))
        return usage(ctx);
    const std::optional<print::Printout> printout = print::printoutNamed(ctx.args[1]);
    const std::optional<correspondence::Printout> letters = correspondence::printoutNamed(ctx.args[1]);
    const PrintoutMaker added = registeredPrintout(ctx.args[1]);
    if (!printout && !letters && !added) {
        const QStringList known = QStringList{u"strana1"_s, u"strana2"_s, u"prikaz"_s, u"dopis"_s, u"priloha"_s,
                                              u"obalky-dl"_s, u"obalky-c5"_s} + registeredPrintoutNames();
        print(stderr, u"Neznámá sestava "_s + ctx.args[1] + u". Známé sestavy: "_s + known.join(u", "_s) + u'.');
        return usage(ctx);
    }
    const bool named = letters == correspondence::Printout::Letter || letters == correspondence::Printout::Attachment;
    if (ctx.options.contains(u"--name"_s) && !named)
        return usage(ctx);
    std::optional<int> copies;
    if (ctx.options.contains(u"--copies"_s)) {
        copies = copiesOption(ctx.options.value(u"--copies"_s));
        if (!copies) {
            print(stderr, u"Počet kopií musí být celé číslo od 1 do 999."_s);
            return usage(ctx);
        }
    }
    data::TDM1 dm;
    if (const int rc = openSet(ctx, dm); rc != 0)
        return rc;
    const base::UserSettings user = base::readUserSettings(platform::IniFile(ctx.dirs.localDataRoot + u"Dph.ini"_s));

    report::PreparedReport prepared;
    try {
        if (printout) {
            prepared = print::preparePrintout(dm, *printout, user.typPisma);
        } else if (added) {
            prepared = added(ctx, dm, user.typPisma);
        } else {
            // Letters and envelopes: nothing to print has been explained to the user.
            const std::optional<QString> name =
                ctx.options.contains(u"--name"_s) ? std::optional<QString>(ctx.options.value(u"--name"_s)) : std::nullopt;
            std::optional<report::PreparedReport> made =
                correspondence::preparePrintout(dm, ctx.prompter, *letters, user.typPisma, name);
            flushMessages(ctx);
            if (!made)
                return 1;
            prepared = std::move(*made);
        }
    } catch (const report::ReportError &e) {
        print(stderr, e.message());
        print(stderr, QString::fromUtf16(print::kPrintFailed));
        return 1;
    } catch (const engine::EngineError &e) {
        print(stderr, e.message());
        print(stderr, QString::fromUtf16(print::kPrintFailed));
        return 1;
    }

    if (toPdf) {
        const QString path = absolutePath(ctx, ctx.options.value(u"--pdf"_s));
        if (!folderExists(path))
            return 1;
        if (!report::writePdf(prepared, path)) {
            print(stderr, print::cannotCreateMessage(path));
            return 1;
        }
        print(stdout, path);
        return 0;
    }
    // The copy rule of the print settings: the printer makes the copies, or one job each.
    print::CopyRule rule = print::copyRuleOf(dm);
    if (copies)
        rule.copies = *copies;
    report::QtPrintTarget printer;
    if (!report::Tisk2(prepared, printer, ctx.options.value(u"--printer"_s), rule.copies, rule.printerCopies)) {
        print(stderr, QString::fromUtf16(print::kPrintFailed));
        return 1;
    }
    return 0;
}

const CommandRegistration printCommands[] = {
    CommandRegistration(
        {u"print"_s,
         u"  print RUR SESTAVA --pdf SOUBOR  zapíše sestavu (strana1, strana2, prikaz) jako PDF a vypíše jeho cestu\n"
         u"  print RUR SESTAVA --printer TISKÁRNA [--copies N]  vytiskne sestavu na tiskárně (počet kopií podle\n"
         u"                               nastavení tisku nebo N; s podporou více kopií jedna úloha, jinak N úloh)\n"
         u"  print RUR dopis|priloha [--name NÁZEV] --pdf SOUBOR  dokument daného názvu (jinak zvolený v Komfortu)\n"
         u"  print RUR obalky-dl|obalky-c5 --pdf SOUBOR  obálky adres vybraných v adresáři pro tisk\n"
         u"  print RUR kh --pdf SOUBOR    rejstřík dokladů kontrolního hlášení po oddílech se součty"_s,
         {u"--pdf"_s, u"--printer"_s, u"--copies"_s, u"--name"_s},
         cmdPrint,
         190,
         u"rur-cli print D1 strana1 --pdf ~/strana1.pdf"_s}),
};

}  // namespace

}  // namespace rur::cli
