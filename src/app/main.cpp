// rur: the desktop program.
#include "app/Directories.h"
#include "app/Startup.h"
#include "app/forms/MainForm.h"
#include "app/forms/QtPrompter.h"
#include "app/forms/RurApplication.h"
#include "app/forms/SplashForm.h"
#include "data/Templates.h"
#include "engine/EngineError.h"

#include <QApplication>
#include <QDir>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

// rur --install-data [DIR]: a data root where the start-up looks first, or in DIR.
int installDataRoot(const QStringList &args)
{
    QString dir = args.value(2);
    if (dir.isEmpty()) {
        const QString common = rur::app::Directories::systemCommonDataFolder();
        if (common.isEmpty()) {
            std::fputs("Nelze zjistit společnou složku dat.\n", stderr);
            return 1;
        }
        dir = rur::app::defaultDataRoot(common);
    }
    try {
        rur::data::installDataRoot(dir);
    } catch (const rur::engine::EngineError &e) {
        std::fputs(e.message().toUtf8().constData(), stderr);
        std::fputc('\n', stderr);
        return 1;
    }
    std::printf("%s\n", QDir(dir).absolutePath().toUtf8().constData());
    return 0;
}

}  // namespace

int main(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--install-data") == 0) {
            QCoreApplication core(argc, argv);
            return installDataRoot(QCoreApplication::arguments());
        }
    }
    rur::app::RurApplication app(argc, argv);
    rur::app::TSplashForm splash;
    splash.showAndRepaint();

    rur::app::QtPrompter prompter;
    rur::app::TMainForm form(rur::app::TMainForm::systemEnvironment(), prompter);
    prompter.setParent(&form);
    splash.hide();
    if (form.windowState() & Qt::WindowMaximized)
        form.showMaximized();
    else
        form.show();
    return QApplication::exec();
}
