#pragma once

namespace rur::ui {
class MainWindow;
}
namespace rur::platform {
class Prompter;
}

namespace rur::transfer {

// Puts the transfer windows behind the main window's commands: the cash journal (then the
// first window of the return opens) and the two income-tax returns (then the taxpayer data).
void registerTransferWindows(ui::MainWindow &form, platform::Prompter &prompter);

}  // namespace rur::transfer
