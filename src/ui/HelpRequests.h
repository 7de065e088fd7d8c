#pragma once

namespace rur::ui {

// What a window asks of the program's help: the topic of a help context, shown in the one
// help window of the program (a pop-up request in the same window).
class HelpRequests {
public:
    virtual ~HelpRequests() = default;
    virtual void showContext(int context, bool popup = false) = 0;
};

}  // namespace rur::ui
