#pragma once

namespace rur::app {
class TMainForm;
}
namespace rur::platform {
class Prompter;
}

namespace rur::backup {

// Puts "Zálohování dat" and "Obnovení dat" behind the main window's commands.
void registerBackupWindows(app::TMainForm &form, platform::Prompter &prompter);

}  // namespace rur::backup
