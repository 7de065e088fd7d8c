#pragma once

#include <QStringList>

namespace rur::data {
class TDM1;
}

namespace rur::datasets {

// Names of the periods as the taxpayer table holds them: "leden" .. "prosinec", "I." .. "IV.".
const QStringList &monthNames();
const QStringList &quarterNames();

// Moves the period of the taxpayer table on by one month or quarter, into the next year
// after the last one. A row that is neither clearly monthly nor quarterly, or whose period
// name is unknown, stays as it is. Prp is closed and reopened at the end. Throws EngineError.
void ZmenaObdobi(data::TDM1 &dm);

}  // namespace rur::datasets
