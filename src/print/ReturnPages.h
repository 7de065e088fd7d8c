#pragma once

// The two pages of the return on the official form "25 5401  MFin 5401 - vzor č. 20": the
// reports TRdhn1Report and TRdhn2Report over the taxpayer row and the return, what the
// program fills in before output (the rows of one-character boxes of page 1, the number of
// attachments, the coefficient formats of page 2) and the offsets of the print settings.

#include "report/DataSource.h"
#include "report/PreparedReport.h"
#include "report/Report.h"

#include <QString>
#include <memory>

namespace rur::data {
class TDM1;
}

namespace rur::print {

// The characters of a row of one-character boxes: the text laid left-aligned into a buffer
// of bufferLength characters, blank-padded and cut, of which the first `boxes` are printed.
QString boxRowText(const QString &text, int bufferLength, int boxes);

// A page of the return as a report of the engine, reading the current rows of Prp, Dtabn1,
// Dtabn2 and Dtabn3 of the data module.
class ReturnPageReport : public report::Report {
public:
    // page 1 (TRdhn1Report, "RUR strana 1") or 2 (TRdhn2Report, "RUR strana 2"). Throws
    // report::ReportError when the layout can't be read.
    ReturnPageReport(int page, data::TDM1 &dm);
    int page() const { return page_; }

    // What the program fills in: page 1 the box rows and "Počet příloh / listů" from Prp,
    // page 2 the coefficient format ("0.##" with percentages, Prp.K1p, else "0.00").
    void fill();
    // Offsets in millimetres: the top one is the height of the empty page-header band
    // (round(mm × 3.8) units), the left one the report's left margin.
    void applyOffsets(int topMm, int leftMm);
    // Fills, applies the offsets of Dmt (Dpt, Dpl) and lays the page out. The coefficient
    // format goes back to "0.##" afterwards, as the entry windows show it.
    report::PreparedReport prepareWithSettings();

private:
    void fillPage1();
    void setCoefficientFormat(const QString &format);

    int page_;
    data::TDM1 &dm_;
    report::TableRowSource prp_, dtabn1_, dtabn2_, dtabn3_;
};

// Layout resource of a page, ":/layouts/Rdhn1.json" or ":/layouts/Rdhn2.json".
QString returnPageLayoutPath(int page);

// A page laid out for output as the print centre produces it: filled, in the CE font names
// when typPisma is 1 (which prints the same), with the offsets of Dmt. Throws
// report::ReportError or engine::EngineError.
report::PreparedReport prepareReturnPage(data::TDM1 &dm, int page, int typPisma);

}  // namespace rur::print
