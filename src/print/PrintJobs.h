#pragma once

// What every printout of the print centre goes through, with or without a window: the
// printouts by name, the copy rule of the print settings, the posting of the print tables,
// and the course of one printout from its preparation to the preview or the printer.

#include "report/PreparedReport.h"

#include <QString>
#include <functional>
#include <optional>

namespace rur::data {
class TDM1;
}
namespace rur::platform {
class Prompter;
}

namespace rur::print {

enum class Printout { ReturnPage1, ReturnPage2, PaymentOrder };

// rur-cli's names: "strana1", "strana2", "prikaz" (ignoring case).
std::optional<Printout> printoutNamed(const QString &name);

// Dmt Kop and Pk: how many copies, and whether the printer makes them itself (one job) or
// each is a job of its own. Kop is at least 1.
struct CopyRule {
    int copies = 1;
    bool printerCopies = false;
};
CopyRule copyRuleOf(data::TDM1 &dm);

// Puts Dmt, Mtt and Prp into edit state and posts them (so that their hooks store what the
// window shows), then closes and opens them again. Throws EngineError.
void postPrintTables(data::TDM1 &dm);
// After a failure: an edit left pending is dropped and a table left closed is opened again,
// so that the windows keep working on open tables. Never throws.
void keepPrintTablesOpen(data::TDM1 &dm);

// A printout laid out for output with its offsets (Dmt for the return pages, Mtt for the
// payment order), in the CE font names when typPisma is 1. Throws report::ReportError or
// engine::EngineError.
report::PreparedReport preparePrintout(data::TDM1 &dm, Printout printout, int typPisma);

enum class Output { Preview, Print };

// One printout: posts the print tables, shows the hourglass and the first status panel's
// "Připravuje se náhled před tiskem ..." or "Odesílám data do tiskárny ...", lays the
// printout out with `make` and hands it to `send` (the preview, or the printer with the copy
// rule; false when the printer refused the job); a printout that has nothing to print
// (`make` gives nothing, having told the user why) goes nowhere. The cursor comes back before
// a preview is shown and after printing. Any failure (a table that can't be posted or opened, a layout
// that can't be read, a refused job) shows "Tisk se nepodařilo vytvořit." and leaves the
// tables open; the status panel is cleared in every outcome. True when the printout went out.
bool producePrintout(data::TDM1 &dm, platform::Prompter &prompter, Output output,
                     const std::function<std::optional<report::PreparedReport>()> &make,
                     const std::function<bool(const report::PreparedReport &)> &send);

// "Vybrat vše" / "Z&rušit vše" of the envelopes: marks every address of the address book
// for printing, or none, and re-reads the address book. Throws EngineError.
void markAllAddresses(data::TDM1 &dm, bool marked);

}  // namespace rur::print
