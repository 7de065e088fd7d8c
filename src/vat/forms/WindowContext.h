#pragma once

#include <QString>
#include <functional>

namespace rur::data {
class TDM1;
}
namespace rur::platform {
class Prompter;
}
namespace rur::ui {
class HelpRequests;
}

namespace rur::vat {

// What the windows of the return work with: the tables, the questions, where their positions
// are kept and the few settings of the program they follow.
struct WindowContext {
    data::TDM1 &dm;
    platform::Prompter &prompter;
    QString dataSetIni = {};   // D1/D1.ini; empty without a data set
    QString section = {};      // section of the positions: the data-set directory name
    int screenWidth = 1024;    // decides the default positions
    ui::HelpRequests *help = nullptr;
    int typPisma = 0;          // nonzero: the " CE" font names
    // Whether the print selection of the return can be opened (window 4's print button).
    std::function<bool()> printAvailable = {};
};

}  // namespace rur::vat
