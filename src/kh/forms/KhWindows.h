#pragma once

namespace rur::ui {
class MainWindow;
}
namespace rur::platform {
class Prompter;
}

namespace rur::kh {

// Puts the control statement behind the main window: "Přiznání k &RUR" → "&Kontrolní hlášení"
// opens the register, and the print centre gets its page "Kontrolní hlášení".
void registerStatementWindows(ui::MainWindow &form, platform::Prompter &prompter);

}  // namespace rur::kh
