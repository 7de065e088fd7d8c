// The register of documents of the control statement as tests fill it.
#pragma once

#include "support/rows.h"

namespace rur::data {
class TDM1;
}

namespace rur::testing {

// Thirteen documents of March 2018 in every section of the statement, for the taxpayer of
// fillValidReturn (DIČ CZ12345678, rates 21 and 15 %), none of them faulty:
//   A1 FV-A1 50 000 (code 4); A2 DE-77 20 000 + 4 200 (line 3), AT-5 10 000 + 1 500 at the
//   reduced rate (line 4); A3 ZL-1 300 000; A4 FV-100 100 000 + 21 000 (stays), FV-101
//   8 264,46 + 1 735,54 (exactly 10 000 Kč: goes to A5), FV-102 without a DIČ 50 000 + 7 500
//   reduced (A5), FV-103 1 000 + 210 with the correction flag P (stays); A5 "Pokladna"
//   5 000 + 1 050 and 1 000 + 100 at the second reduced rate; B1 DF-B1 40 000 + 8 400 (code
//   4); B2 DF-200 30 000 + 6 300 (stays), DF-201 of 28.2. 5 000 + 750 reduced (B3); B3
//   "Drobné" 2 000 + 420.
void fillStatementRegister(data::TDM1 &dm);

}  // namespace rur::testing
