#pragma once

namespace rur::ui {
class MainWindow;
}
namespace rur::platform {
class Prompter;
}

namespace rur::payments {

// Gives the print centre's Komfort page its payment windows: "Bance:" and Shift+F7 in the
// payer's bank fields ("Údaje pro platby z účtu"), "&Banka" and the command
// "&Přenést příkaz do elektronického styku ?" ("Elektronický přenos příkazů - ABO").
void registerPaymentWindows(ui::MainWindow &form, platform::Prompter &prompter);

}  // namespace rur::payments
