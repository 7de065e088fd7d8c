#include "backup/forms/BackupWindows.h"

#include "backup/forms/ExdForm.h"
#include "base/Paths.h"
#include "data/FileStem.h"
#include "ui/Commands.h"
#include "ui/HelpRequests.h"
#include "ui/MainWindow.h"

#include <QGuiApplication>
#include <QScreen>

using namespace Qt::StringLiterals;

namespace rur::backup {

namespace {

template <typename Window>
void showWindow(ui::MainWindow &form, platform::Prompter &prompter)
{
    base::Directories &dirs = form.directories();
    ArchiveWindowContext ctx{form.dataModule(), dirs, prompter};
    ctx.taxpayerStem = data::NazevSb1(form.dataModule(), dirs);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        ctx.screenWidth = screen->geometry().width();
    ctx.help = form.help();
    {
        Window window(ctx, form.widget());
        window.exec();
    }
    // A failed reopening of the tables closes the data menus.
    form.TypDp1();
}

}  // namespace

void registerBackupWindows(ui::MainWindow &form, platform::Prompter &prompter)
{
    ui::MainWindow *main = &form;
    platform::Prompter *ask = &prompter;
    main->setCommandHandler(ui::Command::Zalohovani, [main, ask] { showWindow<TExdForm>(*main, *ask); });
    main->setCommandHandler(ui::Command::Obnoveni, [main, ask] { showWindow<TExd1Form>(*main, *ask); });
}

}  // namespace rur::backup
