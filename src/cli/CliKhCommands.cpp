// rur-cli commands of the control statement: the register's import, the filing file DPHKH1,
// its check, the transfer into the return and the register's printout (print RUR kh).
#include "cli/CliSupport.h"

#include "app/Startup.h"
#include "data/DataM1.h"
#include "engine/EngineError.h"
#include "kh/CsvImport.h"
#include "kh/RegisterPrintout.h"
#include "kh/ReturnTransfer.h"
#include "kh/StatementCheck.h"
#include "kh/StatementFile.h"
#include "platform/IniFile.h"
#include "print/FilingFile.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace rur::cli {

namespace {

// The form and date stored for the data set, with --forma and --zjisteno over them; nothing
// (message printed) for a form or date that is no such thing.
std::optional<kh::StatementOptions> statementOptions(Context &ctx)
{
    kh::StatementOptions options = kh::readStatementOptions(platform::IniFile(ctx.dirs.dataSetIni()));
    if (ctx.options.contains(u"--forma"_s)) {
        const QString form = ctx.options.value(u"--forma"_s).trimmed().toUpper();
        if (!kh::isStatementForm(form)) {
            print(stderr, u"Forma kontrolního hlášení musí být B (řádné), O (opravné) nebo N (následné)."_s);
            return std::nullopt;
        }
        options.form = form.at(0);
    }
    if (ctx.options.contains(u"--zjisteno"_s)) {
        const QString text = ctx.options.value(u"--zjisteno"_s).trimmed();
        static const QRegularExpression form(u"^([0-9]{1,2})\\.([0-9]{1,2})\\.([0-9]{4})$"_s);
        const QRegularExpressionMatch m = form.match(text);
        const QDate date = m.hasMatch() ? QDate(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt()) : QDate();
        if (!date.isValid()) {
            print(stderr, u"„"_s + text + u"“ není platné datum (d.m.rrrr)."_s);
            return std::nullopt;
        }
        options.found = date;
    }
    return options;
}

base::UserSettings userSettings(const Context &ctx)
{
    return base::readUserSettings(platform::IniFile(ctx.dirs.localDataRoot + u"Dph.ini"_s));
}

int cmdKhImport(Context &ctx)
{
    if (ctx.args.size() != 2)
        return usage(ctx);
    data::TDM1 dm;
    if (const int rc = openSet(ctx, dm); rc != 0)
        return rc;
    kh::ImportResult result;
    try {
        result = kh::importRegisterCsv(dm, absolutePath(ctx, ctx.args[1]), ctx.flags.contains(u"--replace"_s));
    } catch (const engine::EngineError &e) {
        print(stderr, u"Doklady se nepodařilo zapsat do rejstříku, rejstřík zůstal beze změny.\n"_s + e.message());
        return 1;
    }
    if (!result.error.isEmpty()) {
        print(stderr, result.error);
        print(stderr, u"Nebyl načten žádný doklad."_s);
        return 1;
    }
    print(stdout, u"Počet dokladů načtených do rejstříku kontrolního hlášení: %1 (v rejstříku celkem %2)."_s.arg(result.rows)
                      .arg(dm.Dkh->recordCount()));
    return 0;
}

int cmdKhXml(Context &ctx)
{
    if (ctx.args.size() != 1)
        return usage(ctx);
    data::TDM1 dm;
    if (const int rc = openSet(ctx, dm); rc != 0)
        return rc;
    const std::optional<kh::StatementOptions> options = statementOptions(ctx);
    if (!options)
        return 1;
    // The special folders are the system's, also when --root names the data root.
    if (ctx.dirs.commonDataFolder.isEmpty())
        ctx.dirs.commonDataFolder = base::Directories::systemCommonDataFolder();
    if (ctx.dirs.documentsFolder.isEmpty())
        ctx.dirs.documentsFolder = base::Directories::systemDocumentsFolder();
    base::UserSettings user = userSettings(ctx);
    print::XmlPathSettings xml = print::readXmlPathSettings(platform::IniFile(ctx.dirs.dataSetIni()));
    QString written;
    try {
        if (ctx.options.contains(u"--out"_s)) {
            const QString path = absolutePath(ctx, ctx.options.value(u"--out"_s));
            if (kh::writeStatementFile(dm, path, *options, user.kodovani, user.radky, ctx.prompter))
                written = path;
        } else {
            print::FilingContext filing{dm, ctx.dirs, user, xml, ctx.prompter};
            written = kh::saveStatementFile(filing, *options);
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
    // What the check finds goes to stderr; the file stays written.
    try {
        for (const check::Finding &f : kh::KontrolaKh(dm, *options, user.kodovani))
            print(stderr, check::findingLine(f));
    } catch (const engine::EngineError &e) {
        print(stderr, e.message());
    }
    return 0;
}

int cmdKhCheck(Context &ctx)
{
    if (ctx.args.size() != 1)
        return usage(ctx);
    data::TDM1 dm;
    if (const int rc = openSet(ctx, dm); rc != 0)
        return rc;
    const std::optional<kh::StatementOptions> options = statementOptions(ctx);
    if (!options)
        return 1;
    QList<check::Finding> findings;
    try {
        findings = kh::KontrolaKh(dm, *options, userSettings(ctx).kodovani);
    } catch (const engine::EngineError &e) {
        print(stderr, e.message());
        return 1;
    }
    for (const check::Finding &f : std::as_const(findings))
        print(stdout, check::findingLine(f));
    if (findings.isEmpty())
        print(stdout, QString::fromUtf16(kh::kNothingToCorrect));
    return check::hasErrors(findings) ? 1 : 0;
}

int cmdKhTransfer(Context &ctx)
{
    if (ctx.args.size() != 1)
        return usage(ctx);
    data::TDM1 dm;
    if (const int rc = openSet(ctx, dm); rc != 0)
        return rc;
    const bool done = kh::transferToReturn(dm, ctx.prompter);
    flushMessages(ctx);
    return done ? 0 : 1;
}

const CommandRegistration khCommands[] = {
    CommandRegistration({u"kh-import"_s,
                         u"  kh-import RUR SOUBOR [--replace]  načte doklady do rejstříku kontrolního hlášení ze souboru CSV\n"
                         u"                               (UTF-8, středníky, hlavička oddil;dic;stat;vatid;doklad;datum;zaklad1;\n"
                         u"                               dan1;zaklad2;dan2;zaklad3;dan3;kod;rezim;oprava;pomer;radek); všechny\n"
                         u"                               řádky, nebo žádný; --replace rejstřík nejdřív vyprázdní"_s,
                         {}, cmdKhImport, 181, u"rur-cli kh-import D1 ~/doklady-brezen.csv"_s}),
    CommandRegistration({u"kh-xml"_s,
                         u"  kh-xml RUR [--out SOUBOR] [--forma B|O|N] [--zjisteno D.M.RRRR]  zapíše soubor DPHKH1\n"
                         u"                               kontrolního hlášení (vedle souboru přiznání) a vypíše jeho cestu"_s,
                         {u"--out"_s, u"--forma"_s, u"--zjisteno"_s}, cmdKhXml, 182,
                         u"rur-cli kh-xml D1 --out ~/DPHKH1.xml --forma B"_s}),
    CommandRegistration({u"kh-check"_s,
                         u"  kh-check RUR [--forma B|O|N] [--zjisteno D.M.RRRR]  zkontroluje kontrolní hlášení a jeho shodu\n"
                         u"                               s přiznáním; každé zjištění na řádku, kód 1 při chybě"_s,
                         {u"--forma"_s, u"--zjisteno"_s}, cmdKhCheck, 183, u"rur-cli kh-check D1"_s}),
    CommandRegistration({u"kh-transfer"_s,
                         u"  kh-transfer RUR              přenese součty rejstříku do přiznání (ř. 1, 2, 3 až 13, 25, 40, 41,\n"
                         u"                               43, 44); ostatní řádky přiznání zůstanou"_s,
                         {}, cmdKhTransfer, 184, u"rur-cli kh-transfer D1"_s}),
};

const PrintoutRegistration registerList{u"kh"_s, [](Context &ctx, data::TDM1 &dm, int typPisma) {
    const kh::StatementOptions options = kh::readStatementOptions(platform::IniFile(ctx.dirs.dataSetIni()));
    return kh::prepareRegisterList(dm, options.form, typPisma);
}};

}  // namespace

}  // namespace rur::cli
