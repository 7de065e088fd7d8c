#pragma once

namespace rur::data {
class TDM1;
}

namespace rur::datasets {

// Fills the sender of the payment order and the letters (Mtt: Fa, Ul, Psc, Mi) from the
// taxpayer data: the name of the person or the company, the street with its house numbers
// ("Dlouhá 12/5"), the postcode and the town. Both tables must be open; throws EngineError
// when the row can't be stored.
void PrenosUdaju1(data::TDM1 &dm);

}  // namespace rur::datasets
