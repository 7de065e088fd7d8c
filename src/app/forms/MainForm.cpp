#include "app/forms/MainForm.h"

#include "app/Program.h"
#include "app/forms/HelpForm.h"
#include "app/forms/HelpService.h"
#include "engine/LockFile.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
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
    env.commonDataFolder = Directories::systemCommonDataFolder();
    env.documentsFolder = Directories::systemDocumentsFolder();
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
        statusBar()->addWidget(label, i == 0 ? 1 : 0);
        panels_.append(label);
    }
    help_ = new HelpService(this);
    buildMenu();
    FormCreate(environment);
}

TMainForm::~TMainForm()
{
    if (help_)
        help_->quit();
}

void TMainForm::buildMenu()
{
    QMenu *helpMenu = menuBar()->addMenu(u"&Nápověda"_s);
    QAction *contents = helpMenu->addAction(u"&Obsah nápovědy"_s, this, [this] { help_->showContext(1); });
    contents->setShortcut(Qt::Key_F1);
    contents->setStatusTip(u"Nápověda k programu"_s);
    helpMenu->addSeparator();
    QAction *quit = helpMenu->addAction(u"&Konec"_s, this, &QWidget::close);
    quit->setStatusTip(u"Ukončení programu"_s);
}

void TMainForm::FormCreate(const Environment &env)
{
    setWindowTitle(applicationTitle());
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));

    dirs_ = findDirectories(env.programDir, env.commonDataFolder, env.documentsFolder);
    dm_->setStatusDisplay(this);
    dm_->setDataRoot(dirs_.dataRoot);

    geometry_ = defaultGeometry(env.screen);
    move(geometry_.left, geometry_.top);
    resize(geometry_.width, geometry_.height);
    if (dirs_.notFound)
        return;

    dirs_.dataVersion = readDataVersion(dirs_.localDataRoot);
    if (const QString message = versionMismatchMessage(dirs_.dataVersion); !message.isEmpty())
        prompter_.error(message);

    const platform::IniFile dph(dirs_.localDataRoot + u"Dph.ini"_s);
    geometry_ = storedGeometry(dph, geometry_, env.screen);
    settings_ = readUserSettings(dph);
    move(geometry_.left, geometry_.top);
    resize(geometry_.width, geometry_.height);
    if (geometry_.maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
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
            dm_->setDataRoot(dirs_.dataRoot);
            engine::deleteStaleLockFiles(dirs_.dataRoot);
        }
        refreshNetworkTemplates(dirs_, prompter_);
    }
    if (dirs_.notFound) {
        prompter_.error(QString::fromUtf16(kNoDataRootMessage));
        close();
    }
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    if (!dirs_.notFound) {
        if (!saveOnClose(dirs_.localDataRoot, currentGeometry(), settings_))
            prompter_.error(QString::fromUtf16(kWriteFailedMessage));
        dm_->closeAll();
        dm_->Danove.disconnect();
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
