#pragma once

#include "app/MainMenu.h"

#include <QStringView>
#include <vector>

namespace rur::app {

// The help context number each window of the program opens with F1.
struct WindowHelp {
    const char *windowClass;  // the window's class name without its namespace (TEtab1Form)
    int context;
};

// Every window that takes the keyboard, in the order of the menu. A window added to the
// program gets its line here and its topic in help/topics.ini; tests fail for a window
// without either.
const std::vector<WindowHelp> &windowHelpContexts();

// The context of a window class, given with or without its namespace ("rur::vat::TEtab1Form");
// 0 for a class that is not listed.
int helpContextOfWindow(QStringView className);

// The context F1 opens on a highlighted menu item of the main window: the items whose hint
// ends in "(F1)" (the four return windows, the "Komfort" items, backup and restore); 0 for
// the others, where F1 opens the main window's topic.
int helpContextOfCommand(Command command);

}  // namespace rur::app
