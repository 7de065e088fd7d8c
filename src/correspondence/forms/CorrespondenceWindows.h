#pragma once

#include <functional>

namespace rur::ui {
class MainWindow;
}
namespace rur::platform {
class Prompter;
}
namespace rur::print {
struct KomfortActions;
}
namespace rur::vat {
struct WindowContext;
}

namespace rur::correspondence {

// Puts the correspondence behind the main window's "&Komfort" commands ("&Adresář",
// "&Odesílatel", "&Dokumenty - dopisy") and into the print centre's Komfort page.
void registerCorrespondenceWindows(ui::MainWindow &form, platform::Prompter &prompter);

// The Komfort page's part: the printouts of its nodes 3 (the chosen document), 5 and 6
// (envelopes DL and C5), and the buttons and labels that open the documents, the address
// book and the sender. contextOf gives the windows' context when one opens.
void registerKomfortActions(print::KomfortActions &komfort, platform::Prompter &prompter,
                            std::function<vat::WindowContext()> contextOf);

}  // namespace rur::correspondence
