#pragma once

namespace rur::ui {
class MainWindow;
}
namespace rur::platform {
class Prompter;
}

namespace rur::backup {

// Puts "Zálohování dat" and "Obnovení dat" behind the main window's commands.
void registerBackupWindows(ui::MainWindow &form, platform::Prompter &prompter);

}  // namespace rur::backup
