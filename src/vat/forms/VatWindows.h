#pragma once

namespace rur::ui {
class MainWindow;
}
namespace rur::platform {
class Prompter;
}

namespace rur::vat {

struct WindowContext;

// Puts the windows of the return behind the main window's commands: taxpayer data, rates,
// the four return windows (also as the openers 1 to 4 of Dpp1), saving the return, saving the
// last return with the settlement, and the three windows of finished returns.
void registerVatWindows(ui::MainWindow &form, platform::Prompter &prompter);

// What the windows of the return work with when the main window opens them: its data module,
// the data set's ini, the screen, its help window and settings.
WindowContext windowContextOf(ui::MainWindow &form, platform::Prompter &prompter);

// Shows return window n and then, while the user pages, the windows asked for next; ends by
// opening the print selection when that was asked for (Dpp1(5)).
void runReturnWindows(ui::MainWindow &form, platform::Prompter &prompter, int n);

}  // namespace rur::vat
