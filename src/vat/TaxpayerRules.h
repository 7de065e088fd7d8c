#pragma once

namespace rur::data {
class TDM1;
}

namespace rur::vat {

// The taxpayer row (Prp): on store the year coefficient K1 is kept to two decimals and an
// empty kind of text attachment becomes "O"; the calculated texts are the period caption
// Obd ("za měsíc leden", "za I. čtvrtletí"), the national part of the VAT number Dick, the
// house number Cpok ("1234/5") and the contact person Sesk ("Jan Novák").
void attachTaxpayerRules(data::TDM1 &dm);

// After the taxpayer window has closed: the fields that older printouts and transfers still
// read are copied from the edited ones, each cut to its own size (Oj1 := Oj1a; Pr := Pra;
// Jma := Jmb; Jm := Jma; Mi := Mia; Sta := Sta2; St := Sta; Eml := Emlx); then the row is
// posted and Prp closed and reopened. Throws EngineError when the row can't be stored.
void Udaje1Copies(data::TDM1 &dm);

}  // namespace rur::vat
