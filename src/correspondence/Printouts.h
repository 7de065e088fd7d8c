#pragma once

// The printouts of the correspondence: a document as the letter "Dopis" or the attachment
// "Příloha", and the envelopes DL and C5 for the addresses marked for printing. Each is a
// layout description laid out by the report engine with the offsets of Mtt.

#include "correspondence/Documents.h"
#include "report/DataSource.h"
#include "report/PreparedReport.h"
#include "report/Report.h"

#include <QString>
#include <memory>
#include <optional>

namespace rur::data {
class TDM1;
}
namespace rur::engine {
class Table;
}
namespace rur::platform {
class Prompter;
}

namespace rur::correspondence {

inline constexpr char16_t kNoAddressMarked[] = u"V adresáři není vybrána žadná adresa pro tisk.";
// The envelope choices of Mtt.Obl.
inline constexpr char16_t kWithoutSender[] = u"Tisk - bez zpětné adresy";
inline constexpr char16_t kWithSender[] = u"Tisk - se zpětnou adresou";
inline constexpr char16_t kWithSenderRegistered[] = u"Tisk - se zpětnou adresou - DOPORUČENĚ";

// Report units per text line of a document.
inline constexpr int kDocumentLineHeight = 21;

// The lines of a memo as the letter prints them, one per line of the text; a last line
// break does not start another line, an empty text has none.
QStringList memoLines(const QString &text);

// A document laid out as the letter (Typ true) or the attachment, over the taxpayer row Prp:
// the text block is lines × 21 + 5 units high, the detail band lines × 21 + 137 (letter) or
// + 75 (attachment); "Věc:" prints only with a subject.
class DocumentReport : public report::Report {
public:
    // Throws report::ReportError when the layout can't be read.
    DocumentReport(data::TDM1 &dm, const Document &document);
    // Offsets in millimetres: the height of the empty page-header band and the left margin.
    void applyOffsets(int topMm, int leftMm);

private:
    report::RowListSource document_;
    report::TableRowSource prp_;
};

// The document named by Mtt.Nazev (or by `nazev` when given), laid out for output with the
// offsets Vh and Vl, in the CE font names when typPisma is 1. Nothing, after telling the
// user, when no document has that name. Throws report::ReportError or engine::EngineError.
std::optional<report::PreparedReport> prepareDocument(data::TDM1 &dm, platform::Prompter &prompter, int typPisma,
                                                      const std::optional<QString> &nazev = std::nullopt);

enum class Envelope { DL, C5 };

// What the envelope choice shows: the sender's block (all but "Tisk - bez zpětné adresy")
// and the registered-mail mark (only "Tisk - se zpětnou adresou - DOPORUČENĚ", or a choice
// that is none of the three).
bool senderShown(const QString &obl);
bool registeredMarkShown(const QString &obl);

// MazQr: the addresses marked for printing in name order, "Select * from Maz where O = True
// order by Fa", with the printed postal code. Open; throws EngineError.
std::unique_ptr<engine::Table> openMarkedAddresses(data::TDM1 &dm);

// One envelope per row of `addresses`, the sender from Mtt shown or hidden by Mtt.Obl.
class EnvelopeReport : public report::Report {
public:
    // Throws report::ReportError when the layout can't be read.
    EnvelopeReport(data::TDM1 &dm, Envelope size, engine::Table &addresses);
    void applyOffsets(int topMm, int leftMm);

private:
    report::TableRowsSource addresses_;
    report::TableRowSource mtt_;
};

// The envelopes of the marked addresses laid out for output with the offsets Vho and Vlo, in
// the CE font names when typPisma is 1. Nothing, after "V adresáři není vybrána žadná adresa
// pro tisk.", when no address is marked. Throws report::ReportError or engine::EngineError.
std::optional<report::PreparedReport> prepareEnvelopes(data::TDM1 &dm, platform::Prompter &prompter, Envelope size,
                                                       int typPisma);

}  // namespace rur::correspondence

namespace rur::correspondence {

// The correspondence printouts as rur-cli names them: "dopis", "priloha", "obalky-dl",
// "obalky-c5" (ignoring case).
enum class Printout { Letter, Attachment, EnvelopeDL, EnvelopeC5 };
std::optional<Printout> printoutNamed(const QString &name);

// A printout by name: the document named `nazev` (Mtt.Nazev when not given), which must be of
// the kind asked for, or the envelopes. Nothing, after telling the user why, when there is
// nothing to print. Throws report::ReportError or engine::EngineError.
std::optional<report::PreparedReport> preparePrintout(data::TDM1 &dm, platform::Prompter &prompter, Printout printout,
                                                      int typPisma, const std::optional<QString> &nazev);

}  // namespace rur::correspondence
