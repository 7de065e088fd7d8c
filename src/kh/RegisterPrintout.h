#pragma once

// The list of the register that the accountant files away with the control statement: the
// sections in the order of the form, each with its rows and sums (the rows of A4 and B2 that
// the 10,000 Kč rule reports as sums listed under A5 and B3, marked where they came from).

#include "report/PreparedReport.h"

namespace rur::data {
class TDM1;
}

namespace rur::kh {

// Layout resource of the list.
QString registerListLayoutPath();

// The list of the current register, with the taxpayer and period of Prp, the form of the
// statement given (its letter), the left offset of the return pages (Dmt.Dpl) and the CE font
// names when typPisma is 1. Throws report::ReportError or engine::EngineError.
report::PreparedReport prepareRegisterList(data::TDM1 &dm, QChar form, int typPisma);

}  // namespace rur::kh
