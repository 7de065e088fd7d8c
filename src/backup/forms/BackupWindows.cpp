#include "backup/forms/BackupWindows.h"

#include "app/MainMenu.h"
#include "app/forms/HelpService.h"
#include "app/forms/MainForm.h"
#include "backup/forms/ExdForm.h"
#include "base/Paths.h"
#include "data/FileStem.h"

#include <QGuiApplication>
#include <QScreen>

using namespace Qt::StringLiterals;

namespace rur::backup {

namespace {

template <typename Window>
void showWindow(app::TMainForm &form, platform::Prompter &prompter)
{
    base::Directories &dirs = form.directories();
    ArchiveWindowContext ctx{form.dataModule(), dirs, prompter};
    ctx.taxpayerStem = data::NazevSb1(form.dataModule(), dirs);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        ctx.screenWidth = screen->geometry().width();
    ctx.help = form.findChild<app::HelpService *>(QString(), Qt::FindDirectChildrenOnly);
    {
        Window window(ctx, &form);
        window.exec();
    }
    // A failed reopening of the tables closes the data menus.
    form.TypDp1();
}

}  // namespace

void registerBackupWindows(app::TMainForm &form, platform::Prompter &prompter)
{
    app::TMainForm *main = &form;
    platform::Prompter *ask = &prompter;
    main->setCommandHandler(app::Command::Zalohovani, [main, ask] { showWindow<TExdForm>(*main, *ask); });
    main->setCommandHandler(app::Command::Obnoveni, [main, ask] { showWindow<TExd1Form>(*main, *ask); });
}

}  // namespace rur::backup
