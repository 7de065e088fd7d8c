#include "app/forms/MainForm.h"

#include "app/DataChoice.h"
#include "app/WindowHelp.h"
#include "app/forms/ConversionWindows.h"
#include "app/forms/DataChoiceWindows.h"
#include "app/forms/HelpForm.h"
#include "app/forms/HelpService.h"
#include "app/forms/WorkArea.h"
#include "backup/forms/BackupWindows.h"
#include "base/Program.h"
#include "correspondence/forms/CorrespondenceWindows.h"
#include "datasets/Catalogue.h"
#include "datasets/DataSetAccess.h"
#include "datasets/YearProcedures.h"
#include "datasets/forms/Auto1Form.h"
#include "datasets/forms/CatalogueDialogs.h"
#include "engine/EngineError.h"
#include "engine/LockFile.h"
#include "kh/forms/KhWindows.h"
#include "ledger/forms/LedgerWindows.h"
#include "payments/forms/PaymentWindows.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "print/forms/PrintWindows.h"
#include "transfer/forms/TransferWindows.h"
#include "ui/forms/WindowPlacer.h"
#include "vat/forms/VatWindows.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLocale>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>

using namespace Qt::StringLiterals;

namespace rur::app {

TMainForm::Environment TMainForm::systemEnvironment()
{
    Environment env;
    env.programDir = QCoreApplication::applicationDirPath();
    env.commonDataFolder = base::Directories::systemCommonDataFolder();
    env.askAtFirstStart = true;
    env.documentsFolder = base::Directories::systemDocumentsFolder();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        env.screen = screen->size();
    return env;
}

TMainForm::TMainForm(const Environment &environment, platform::Prompter &prompter, QWidget *parent)
    : QMainWindow(parent), prompter_(prompter), dm_(std::make_unique<data::TDM1>())
{
    for (int i = 0; i < 4; ++i) {
        auto *label = new QLabel(this);
        label->setObjectName(u"StatusPanel%1"_s.arg(i));
        // Panels 0 and 3 have no bevel.
        label->setFrameShape(i == 0 || i == 3 ? QFrame::NoFrame : QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setMinimumWidth(i == 1 ? 90 : (i == 2 ? 50 : 0));
        statusBar()->addWidget(label, i == 3 ? 1 : 0);
        panels_.append(label);
    }
    help_ = new HelpService(this);
    help_->answerF1Everywhere();
    buildMenu();
    workArea_ = new WorkArea([this](Command command) { return actions_.value(command); }, this);
    setCentralWidget(workArea_);
    FormCreate(environment);
    registerProcedures();
    vat::registerVatWindows(*this, prompter_);
    registerDataChoiceWindows(*this, prompter_);
    registerConversionWindows(*this, prompter_);
    backup::registerBackupWindows(*this, prompter_);
    print::registerPrintWindows(*this, prompter_);
    transfer::registerTransferWindows(*this, prompter_);
    ledger::registerLedgerWindows(*this, prompter_);
    payments::registerPaymentWindows(*this, prompter_);
    correspondence::registerCorrespondenceWindows(*this, prompter_);
    kh::registerStatementWindows(*this, prompter_);
    TypDp1();
}

TMainForm::~TMainForm()
{
    // The data module outlives the status labels: it must not write to them while it closes
    // its tables.
    dm_->statusDisplayOn = false;
    dm_->setStatusDisplay(nullptr);
    if (catalogue_)
        catalogue_->statusSink = nullptr;
    if (help_)
        help_->quit();
}

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

void TMainForm::FormCreate(const Environment &env)
{
    setWindowTitle(base::applicationTitle());
    askAtFirstStart_ = env.askAtFirstStart;
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));

    dirs_ = findDirectories(env.programDir, env.commonDataFolder, env.documentsFolder);
    // Started from the desktop menu for the first time: there is no data root yet.
    createFirstDataRoot(dirs_);
    dm_->setStatusDisplay(this);
    dm_->setDataRoot(dirs_.dataRoot);

    geometry_ = defaultGeometry(env.screen);
    resize(geometry_.width, geometry_.height);
    ui::placeFrameAt(*this, {geometry_.left, geometry_.top});
    if (dirs_.notFound)
        return;

    dirs_.dataVersion = readDataVersion(dirs_.localDataRoot);
    if (const QString message = versionMismatchMessage(dirs_.dataVersion); !message.isEmpty())
        prompter_.error(message);

    const platform::IniFile dph(dirs_.localDataRoot + u"Dph.ini"_s);
    if (!dph.problem().isEmpty())
        prompter_.error(dph.problem());
    geometry_ = storedGeometry(dph, geometry_, env.screen);
    settings_ = base::readUserSettings(dph);
    resize(geometry_.width, geometry_.height);
    ui::placeFrameAt(*this, {geometry_.left, geometry_.top});
    if (geometry_.maximized)
        setWindowState(windowState() | Qt::WindowMaximized);

    // The selection window lives for the whole run; its catalogue is prepared once.
    catalogue_ = std::make_unique<datasets::Catalogue>(dirs_, prompter_);
    catalogue_->statusSink = [this](const QString &text) { setStatusText(0, text); };
    // The data set this window has open is no other user's: it is closed before the
    // selection checks or deletes it.
    catalogue_->releaseDirectory = [this](const QString &directory) {
        if (directory == dirs_.dataSetDir) {
            dm_->closeAll();
            dm_->Danove.disconnect();
        }
    };
    catalogue_->prepare();
    selection_ = new datasets::TAuto1Form(*catalogue_, prompter_, this);
    selectionRunner = [this] { return selection_->execSelection(); };
}

WindowGeometry TMainForm::currentGeometry() const
{
    WindowGeometry g;
    g.maximized = isMaximized();
    const QRect r = g.maximized ? normalGeometry() : geometry();
    g.left = g.maximized ? r.x() : x();
    g.top = g.maximized ? r.y() : y();
    g.width = r.width();
    g.height = r.height();
    return g;
}

void TMainForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!activated_)
        QTimer::singleShot(0, this, &TMainForm::FormActivate);
}

void TMainForm::FormActivate()
{
    if (activated_)
        return;
    activated_ = true;
    if (!dirs_.notFound) {
        if (applyNetworkDataRoot(dirs_, prompter_)) {
            dm_->Danove.disconnect();
            catalogue_->Nazvy.disconnect();
            dm_->setDataRoot(dirs_.dataRoot);
            catalogue_->prepare();
        }
        if (askAtFirstStart_ && !readDataChoice(dirs_).chosen() && dataChoiceRunner)
            dataChoiceRunner();
        refreshNetworkTemplates(dirs_, prompter_);
        if (askAtFirstStart_ && conversionCheck)
            conversionCheck();
        VyberDanoveho();
        return;
    }
    prompter_.error(QString::fromUtf16(kNoDataRootMessage));
    close();
}

void TMainForm::reconnectDataRoot(bool rootChanged)
{
    if (rootChanged) {
        dm_->closeAll();
        dm_->Danove.disconnect();
        dirs_.dataSetDir.clear();
    }
    if (catalogue_) {
        catalogue_->Nazvy.disconnect();
        dm_->setDataRoot(dirs_.dataRoot);
        catalogue_->prepare();
    }
    QDir::setCurrent(dirs_.dataRoot);
    TypDp1();
}

bool TMainForm::dataSetOpen() const
{
    return !dirs_.dataSetDir.isEmpty() && QDir(dirs_.dataRoot + dirs_.dataSetDir).exists() && dm_->tablesOpen();
}

void TMainForm::VyberDanoveho()
{
    if (!catalogue_ || !selectionRunner)
        return;
    // The open data set stays open while the user chooses: leaving the selection returns
    // to it, and a data set is closed only when another one is opened.
    QString openBefore = dataSetOpen() ? dirs_.dataSetDir : QString();
    const QString rootBefore = dirs_.dataRoot;
    setWindowTitle(base::applicationTitle());
    const int result = selectionRunner();
    // A data set of the data root the user left (Ctrl+N) is not the one to return to.
    if (!base::samePath(rootBefore, dirs_.dataRoot))
        openBefore.clear();
    if (result == datasets::TAuto1Form::ResultEnd || (result == datasets::TAuto1Form::ResultCancel && openBefore.isEmpty())) {
        close();
        return;
    }
    if (result == datasets::TAuto1Form::ResultCancel) {
        // Checked by the selection (and so let go of) but not chosen: opened again, unless
        // it was deleted meanwhile.
        if (dataSetOpen())
            dm_->NazevDp1();
        else if (QDir(dirs_.dataRoot + openBefore).exists())
            openChosen(openBefore);
        else
            dirs_.dataSetDir.clear();
        TypDp1();
        return;
    }
    if (result != datasets::TAuto1Form::ResultOpen || catalogue_->isEmpty())
        return;
    openChosen(catalogue_->currentDirectory());
    TypDp1();
}

void TMainForm::NoveRur()
{
    if (!catalogue_)
        return;
    catalogue_->showSelection();
    if (!catalogue_->beginNew())
        return;
    bool created = false;
    {
        datasets::TAu1Form window(*catalogue_, this);
        created = window.exec() == QDialog::Accepted;
    }
    catalogue_->closeSelection(catalogue_->lastUsedPosition());
    if (created)
        openChosen(catalogue_->currentDirectory());
    TypDp1();
}

void TMainForm::openChosen(const QString &directory)
{
    dm_->dataSetName = catalogue_->nameOf(directory);
    dm_->closeAll();
    dm_->Danove.disconnect();
    {
        platform::BusyGuard busy(prompter_);
        try {
            datasets::openDataSet(*dm_, dirs_, directory);
            if (const QString problem = platform::IniFile(dirs_.dataSetIni()).problem(); !problem.isEmpty()) {
                QApplication::restoreOverrideCursor();
                prompter_.error(problem);
            }
        } catch (const engine::EngineError &e) {
            dirs_.dataSetDir = datasets::isDataSetDirectoryName(directory) ? directory : QString();
            QApplication::restoreOverrideCursor();
            prompter_.error(QString::fromUtf16(datasets::kOpenFailedMessage) + u'\n' + e.message());
        }
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

void TMainForm::scheduleWorkAreaRefresh(int delay)
{
    if (refreshPending_ || !workArea_)
        return;
    refreshPending_ = true;
    QTimer::singleShot(delay, this, [this] {
        refreshPending_ = false;
        // A modal window may be working on the tables the overview reads: the area waits.
        if (dataSetOpen() && QApplication::activeModalWidget())
            scheduleWorkAreaRefresh(100);
        else
            refreshWorkArea();
    });
}

void TMainForm::refreshWorkArea()
{
    if (!dataSetOpen()) {
        workArea_->showNoDataSet();
        return;
    }
    try {
        workArea_->showOverview(computeOverview(*dm_, dirs_.dataSetIni(), settings_.kodovani, QDateTime::currentDateTime()));
    } catch (const engine::EngineError &e) {
        workArea_->showProblem(e.message());
    }
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    if (!dirs_.notFound) {
        if (!saveOnClose(dirs_.localDataRoot, currentGeometry(), settings_))
            prompter_.error(QString::fromUtf16(kWriteFailedMessage));
        dm_->closeAll();
        dm_->Danove.disconnect();
        if (catalogue_)
            catalogue_->Nazvy.disconnect();
    }
    if (help_)
        help_->quit();
    event->accept();
}

bool TMainForm::event(QEvent *event)
{
    // Hints of menus and controls go to the first status panel.
    if (event->type() == QEvent::StatusTip) {
        setStatusText(0, static_cast<QStatusTipEvent *>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void TMainForm::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    panels_[0]->setFixedWidth(hintPanelWidth(statusBar()->width()));
}

void TMainForm::setStatusText(int panel, const QString &text)
{
    if (panel >= 0 && panel < panels_.size())
        panels_[panel]->setText(text);
}

QString TMainForm::statusText(int panel) const
{
    return panel >= 0 && panel < panels_.size() ? panels_[panel]->text() : QString();
}

void TMainForm::setCaption(const QString &caption)
{
    setWindowTitle(caption);
}

}  // namespace rur::app
