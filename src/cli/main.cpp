// rur-cli: the program's procedures without a display, for scripts, tests and support.
#include "app/Subsystems.h"
#include "cli/CliCommands.h"

#include <QGuiApplication>
#include <cstdio>

namespace {

// The program speaks Czech on stderr; Qt's own notes about the environment (a missing
// runtime folder, font look-ups) are not for its users. Real failures still show.
void qtMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

}  // namespace

int main(int argc, char *argv[])
{
    // Printouts need fonts, which need a GUI application; it never shows a window, so it
    // runs on the offscreen platform and needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(qtMessages);
    QGuiApplication app(argc, argv);
    rur::app::addSubsystemTableRules();
    return rur::cli::run(QCoreApplication::arguments().mid(1));
}
