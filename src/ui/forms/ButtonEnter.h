#pragma once

class QCoreApplication;

namespace rur::ui {

// Enter on a focused push button presses it, in every window of the program, as a user of
// any desktop program expects. (The buttons are not "auto default": Enter in an edit moves to
// the next field instead of pressing a button.)
void installEnterPressesFocusedButton(QCoreApplication &application);

}  // namespace rur::ui
