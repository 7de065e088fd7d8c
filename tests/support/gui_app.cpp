#include "support/gui_app.h"

#include <QGuiApplication>

namespace rur::testing {

void ensureGuiApplication()
{
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "rur_tests";
    static char *argv[] = {name, nullptr};
    // Kept to the end of the run: fonts cached by the report engine must not outlive it.
    static auto *app = new QGuiApplication(argc, argv);
    Q_UNUSED(app);
}

}  // namespace rur::testing
