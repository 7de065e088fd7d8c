#pragma once

// The list "Elektronický přenos příkazů" of the orders last written, shown after the file
// when Mtt.Z1 is on: per accounting file the payer's account, code and date, the orders and
// their total.

#include "report/PreparedReport.h"

#include <QDate>

namespace rur::data {
class TDM1;
}

namespace rur::payments {

// Layout resource of the list.
QString aboListLayoutPath();

// The list over "Select * From Mban order by M1, Rd", dated `today`, with the left margin of
// Mtt.Vl and the CE font names when typPisma is 1. Throws report::ReportError or
// engine::EngineError.
report::PreparedReport prepareAboList(data::TDM1 &dm, const QDate &today, int typPisma);

}  // namespace rur::payments
