#pragma once

namespace rur::app {
class TMainForm;
}
namespace rur::platform {
class Prompter;
}

namespace rur::datasets {

// The check for earlier editions at the first start, with the window "Převod dat z
// předchozích verzí".
void registerConversionWindows(app::TMainForm &form, platform::Prompter &prompter);

}  // namespace rur::datasets
