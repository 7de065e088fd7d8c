#pragma once

#include "support/rows.h"

#include <QDate>

namespace rur::data {
class TDM1;
}

namespace rur::testing {

// A company's regular monthly return for March 2018, filed on 20.04.2018: every line of the
// return filled with taxes that agree with the template rates (15 and 21 %), every taxpayer
// field the filing file carries filled in a valid form, and `attachmentLines` lines of text
// attachment. Nothing in it is wrong on 2.5.2018 (kValidReturnToday).
void fillValidReturn(data::TDM1 &dm, int attachmentLines = 3);
inline const QDate kValidReturnToday{2018, 5, 2};

}  // namespace rur::testing
