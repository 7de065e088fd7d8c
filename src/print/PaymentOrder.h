#pragma once

// The tax payment order "Příkaz k úhradě - Daň (doplatek)": the hooks of its table Mtt (which
// also keeps the offsets of letters and envelopes and the sender), and the printout laid out
// from its layout description.

#include "report/DataSource.h"
#include "report/PreparedReport.h"
#include "report/Report.h"

#include <QDate>
#include <QString>

namespace rur::data {
class TDM1;
}

namespace rur::print {

// Czech name of the day of the week ("středa"); empty for an invalid date.
QString weekdayName(const QDate &date);

// The sender's postal code as printed: the first three characters, a blank, characters 4
// and 5 ("12000" gives "120 00", "415" gives "415 "); empty stays empty.
QString postalCodeText(const QString &psc);

// Installs the hooks of Mtt: numbers normalised before every post (offsets and counts as
// whole numbers, amounts rounded to whole crowns, empty ones stored as 0), and the
// calculated weekdays D1s, D3s and the postal code Psc1.
void attachPaymentOrderRules(data::TDM1 &dm);
// Adds the payment order's rules and the print settings' labels to every data module made
// from now on.
void registerTableRules();

// What the print centre does to the payment order when it opens: the tax of line 64
// (Dtabn3.C753) becomes the amount Cad1, which is posted, and Mtt is closed and opened
// again. Throws EngineError.
void takeTaxIntoPaymentOrder(data::TDM1 &dm);

// Layout resource of the payment order.
QString paymentOrderLayoutPath();

// The payment order as a report of the engine over the current row of Mtt.
class PaymentOrderReport : public report::Report {
public:
    // Throws report::ReportError when the layout can't be read.
    explicit PaymentOrderReport(data::TDM1 &dm);
    // Offsets in millimetres: the height of the empty page-header band and the left margin.
    void applyOffsets(int topMm, int leftMm);
    // Applies the offsets of Mtt (Vh, Vl) and lays the order out.
    report::PreparedReport prepareWithSettings();

private:
    data::TDM1 &dm_;
    report::TableRowSource mtt_;
};

// The payment order laid out for output as the print centre produces it, in the CE font names
// when typPisma is 1. Throws report::ReportError or engine::EngineError.
report::PreparedReport preparePaymentOrder(data::TDM1 &dm, int typPisma);

}  // namespace rur::print
