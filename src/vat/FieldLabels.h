#pragma once

namespace rur::data {
class TDM1;
}

namespace rur::vat {

// Gives the fields of the return, the taxpayer row and the rates the names a user knows them
// by, for the messages about a value that can't be stored: "ř. 21", "ř. 1 – Základ daně",
// "pole „Číslo období“".
void labelFields(data::TDM1 &dm);

}  // namespace rur::vat
