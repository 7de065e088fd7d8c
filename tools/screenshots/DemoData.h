#pragma once

#include <QString>

namespace rur::data {
class TDM1;
}

namespace rur::screenshots {

// Figures, payment data, orders, addresses and letters of the demo data set the windows show.
void fillDemo(data::TDM1 &dm);
// A cash journal and the two income-tax returns beside the data folder, as the transfer
// windows find them.
void writeSiblingDemo(const QString &folder);

}  // namespace rur::screenshots
