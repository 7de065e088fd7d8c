#pragma once

namespace rur::platform {
class Prompter;
}

namespace rur::app {

class TMainForm;

// The check for earlier editions at the first start, with the window "Převod dat z
// předchozích verzí".
void registerConversionWindows(TMainForm &form, platform::Prompter &prompter);

}  // namespace rur::app
