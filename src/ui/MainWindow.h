#pragma once

#include "ui/Commands.h"

#include <functional>

class QAction;
class QString;
class QWidget;

namespace rur::base {
struct Directories;
struct UserSettings;
}  // namespace rur::base
namespace rur::data {
class TDM1;
}

namespace rur::ui {

class HelpRequests;

// What the subsystems' windows need of the main window: the open data set, the place to
// hang their commands, its status bar and its help. The main window implements it and hands
// it to each subsystem's registration, so that no subsystem knows the main window itself.
class MainWindow {
public:
    virtual ~MainWindow() = default;

    // The main window as the parent of the windows a command opens.
    virtual QWidget *widget() = 0;
    virtual data::TDM1 &dataModule() = 0;
    virtual base::Directories &directories() = 0;
    // The print centre chooses the font names and the encoding; they are written on close.
    virtual base::UserSettings &userSettings() = 0;
    virtual HelpRequests *help() = 0;

    // A command without a handler stays disabled.
    virtual void setCommandHandler(Command command, std::function<void()> handler) = 0;
    // What opens return window n (1 to 4) or the print centre on its return page (5).
    virtual void setReturnWindowOpener(int n, std::function<void()> opener) = 0;
    virtual QAction *commandAction(Command command) const = 0;

    // Status bar panels 0 to 3.
    virtual void setStatusText(int panel, const QString &text) = 0;
    // Enables the data menus while a data set is open (after a procedure that may close it).
    virtual void TypDp1() = 0;
    // Shows return window n (1 to 4) or the print centre on its return page (5).
    virtual void Dpp1(int n) = 0;
};

}  // namespace rur::ui
