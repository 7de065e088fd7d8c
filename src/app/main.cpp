// rur: the desktop program.
#include "app/Startup.h"
#include "app/forms/MainForm.h"
#include "app/forms/QtPrompter.h"
#include "app/forms/RurApplication.h"
#include "app/forms/SplashForm.h"
#include "base/Directories.h"
#include "base/Program.h"
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
        const QString common = rur::base::Directories::systemCommonDataFolder();
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

// rur --help and rur --version answer on the terminal, without a display and without
// touching any data.
const char kHelp[] =
    "rur: přiznání k RUR pro plátce a jejich účetní (program s okny).\n"
    "Použití: rur [--install-data [ADRESÁŘ]]\n"
    "  --install-data [ADRESÁŘ]  vytvoří nebo doplní datový adresář a vypíše jeho cestu\n"
    "                            (bez ADRESÁŘE ~/.local/share/Tervik/RUR 2018)\n"
    "  --help                    tento popis\n"
    "  --version                 verze programu\n"
    "Bez voleb otevře okno programu. Postupy bez obrazovky: rur-cli --help.\n";

}  // namespace

int main(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--help") == 0 || qstrcmp(argv[i], "-h") == 0) {
            std::fputs(kHelp, stdout);
            return 0;
        }
        if (qstrcmp(argv[i], "--version") == 0) {
            std::printf("rur %s\n", rur::base::versionText().toUtf8().constData());
            return 0;
        }
    }
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
