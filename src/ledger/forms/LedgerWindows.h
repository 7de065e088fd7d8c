#pragma once

namespace rur::ui {
class MainWindow;
}
namespace rur::platform {
class Prompter;
}

namespace rur::ledger {

// Gives the print centre's Komfort page the VAT paid ledger ("Daň:" and Shift+F7 in the tax)
// and the calendar of its dates.
void registerLedgerWindows(ui::MainWindow &form, platform::Prompter &prompter);

}  // namespace rur::ledger
