#pragma once

namespace rur::data {
class TDM1;
}

namespace rur::kh {

// Installs the hooks of the register of documents (Dkh): every column but the date reads the
// typed text as the import reads its cell (the DIČ without "CZ", codes in capitals, amounts
// with a comma or a point) and refuses anything else with a Czech message; a row is stored
// only with its section, its amounts in hellers; the calculated field Kam says where the row
// is reported (A5 or B3 for a small row of A4 or B2). Messages name the fields by their
// captions.
void attachRegisterRules(data::TDM1 &dm);
// Adds the register's rules to every data module made from now on.
void registerTableRules();

}  // namespace rur::kh
