// The main window's menu, tool bar and commands: what each command runs and when it is enabled.
#include "app/forms/MainForm.h"

#include "app/WindowHelp.h"
#include "app/forms/HelpService.h"
#include "datasets/DataSetAccess.h"
#include "datasets/YearProcedures.h"
#include "engine/EngineError.h"
#include "platform/Prompter.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

using namespace Qt::StringLiterals;

namespace rur::app {

void TMainForm::buildMenu()
{
    QMenu *current = nullptr;
    for (const MenuItemDef &item : mainMenuItems()) {
        if (!current || current->title() != item.menu) {
            current = menuBar()->addMenu(item.menu);
            current->setObjectName(QString(item.menu).remove(u'&'));
            const bool dataMenu = item.menu != u"&Soubor"_s && item.menu != u"Nápo&věda"_s;
            if (dataMenu)
                dataMenus_.append(current);
        }
        QAction *action = current->addAction(item.caption);
        action->setShortcut(item.shortcut);
        action->setStatusTip(item.hint);
        // F1 on the highlighted item opens its topic (HelpService reads the property).
        if (const int context = helpContextOfCommand(item.command))
            action->setProperty(HelpService::kActionContext, context);
        connectCommand(action, item.command);
        if (item.command == Command::Konec || item.command == Command::NastaveniTisku
            || item.command == Command::UlozeniPoslednihoRur || item.command == Command::VymazaniObdobi
            || item.command == Command::Hotova3 || item.command == Command::TiskKomfort
            || item.command == Command::PrenosDenik)
            current->addSeparator();
    }
    QToolBar *tools = addToolBar(u"Nástroje"_s);
    tools->setObjectName(u"ToolBar"_s);
    tools->setMovable(false);
    const std::pair<const char16_t *, Command> buttons[] = {{u"Údaje o poplatníkovi", Command::UdajeOPoplatnikovi},
                                                            {u"Přiznání k RUR", Command::Priznani1}};
    for (const auto &[caption, command] : buttons) {
        QAction *a = tools->addAction(QString::fromUtf16(caption));
        a->setStatusTip(QString::fromUtf16(caption));
        a->setToolTip(QString::fromUtf16(caption));
        connect(a, &QAction::triggered, this, [this, cmd = command] { runCommand(cmd); });
        a->setData(int(command));
        toolActions_.append(a);
    }
    for (const MenuItemDef &item : commandsOutsideMenu()) {
        auto *action = new QAction(item.caption, this);
        action->setStatusTip(item.hint);
        connectCommand(action, item.command);
    }
}

void TMainForm::connectCommand(QAction *action, Command command)
{
    connect(action, &QAction::triggered, this, [this, command] { runCommand(command); });
    actions_.insert(command, action);
}

// What a command changed shows in the working area once the command is done.
void TMainForm::runCommand(Command command)
{
    if (const auto handler = handlers_.value(command))
        handler();
    scheduleWorkAreaRefresh();
}

QMenu *TMainForm::menuNamed(const QString &caption) const
{
    for (QAction *a : menuBar()->actions())
        if (a->menu() && a->menu()->title() == caption)
            return a->menu();
    return nullptr;
}

void TMainForm::setCommandHandler(Command command, std::function<void()> handler)
{
    handlers_.insert(command, std::move(handler));
    TypDp1();
}

void TMainForm::setReturnWindowOpener(int n, std::function<void()> opener)
{
    returnWindows_.insert(n, std::move(opener));
}

void TMainForm::Dpp1(int n)
{
    if (const auto opener = returnWindows_.value(n))
        opener();
}

void TMainForm::registerProcedures()
{
    handlers_.insert(Command::VyberRur, [this] { VyberDanoveho(); });
    handlers_.insert(Command::Konec, [this] { close(); });
    handlers_.insert(Command::Navod, [this] { help_->showContext(1); });
    handlers_.insert(Command::NoveRur, [this] { NoveRur(); });
    handlers_.insert(Command::VymazaniObdobi,
                     [this] { runDataSetProcedure([this] { return datasets::VymazaniObdobi(*dm_, dirs_, prompter_); }); });
    handlers_.insert(Command::VymazaniRoku,
                     [this] { runDataSetProcedure([this] { return datasets::VymazaniRoku(*dm_, dirs_, prompter_); }); });
    handlers_.insert(Command::NovyRok,
                     [this] { runDataSetProcedure([this] { return datasets::NovyRok(*dm_, dirs_, prompter_); }); });
}

// The period and year procedures reopen all tables; a failure there is reported as when
// a data set is opened.
void TMainForm::runDataSetProcedure(const std::function<bool()> &procedure)
{
    try {
        procedure();
    } catch (const engine::EngineError &e) {
        QApplication::restoreOverrideCursor();
        prompter_.error(QString::fromUtf16(datasets::kOpenFailedMessage) + u'\n' + e.message());
    }
    TypDp1();
}

ui::HelpRequests *TMainForm::help()
{
    return help_;
}

void TMainForm::TypDp1()
{
    const bool open = dataSetOpen();
    for (QMenu *menu : std::as_const(dataMenus_))
        menu->setEnabled(open);
    for (const QList<MenuItemDef> *items : {&mainMenuItems(), &commandsOutsideMenu()}) {
        for (const MenuItemDef &item : *items) {
            QAction *action = actions_.value(item.command);
            const bool built = handlers_.contains(item.command);
            action->setEnabled(built && (!item.needsDataSet || open));
        }
    }
    for (QAction *a : std::as_const(toolActions_))
        a->setEnabled(open && handlers_.contains(Command(a->data().toInt())));
    scheduleWorkAreaRefresh();
}

}  // namespace rur::app
