#pragma once

namespace rur::ui {
class MainWindow;
}
namespace rur::platform {
class Prompter;
}

namespace rur::print {

class PrintServices;

// Puts the print centre behind the main window's commands: "&Tisk" (F6) on the page last used,
// "&Tisk RUR" and the print button of the return's windows (Dpp1(5)) on the "RUR" page,
// "&Komfort" → "&Tisk" on the "Komfort" page, and "&Nastavení tisku ..." (the printer set-up).
void registerPrintWindows(ui::MainWindow &form, platform::Prompter &prompter);

// The print services of the main window, where other parts of the program register their
// Komfort actions.
PrintServices &printServices(ui::MainWindow &form, platform::Prompter &prompter);

// VyberTisku1: re-reads the tables, takes the tax of line 64 into the payment order and opens
// the print centre in mode 1 (the page last used), 2 ("RUR") or 3 ("Komfort").
// A Komfort node (kNodeLetters, kNodeEnvelopesDl ...) opens the "Komfort" page on that
// printout instead of its first node.
void VyberTisku1(ui::MainWindow &form, platform::Prompter &prompter, int mode, int komfortNode = 0);

}  // namespace rur::print
