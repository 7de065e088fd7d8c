#include "app/forms/MainForm.h"

#include "app/DataChoice.h"
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
