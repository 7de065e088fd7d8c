// rur-cli: the program's procedures without a display, for scripts, tests and support.
#include "cli/CliCommands.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    return rur::cli::run(QCoreApplication::arguments().mid(1));
}
