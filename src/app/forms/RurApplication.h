#pragma once

#include <QApplication>

namespace rur::app {

// The application object. A table operation that fails inside a window's event handler
// where the window did not expect it is shown to the user as the program's Czech message
// instead of ending the program (an exception must not leave Qt's event loop).
class RurApplication : public QApplication {
public:
    RurApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

}  // namespace rur::app
