#pragma once

namespace rur::platform {
class Prompter;
}

namespace rur::app {

class TMainForm;

// "Výběr práce s daty" at the first start and with Ctrl+N in the selection, and "Informace"
// with Ctrl+I there.
void registerDataChoiceWindows(TMainForm &form, platform::Prompter &prompter);

}  // namespace rur::app
