#include "app/forms/HelpService.h"

#include <QApplication>
#include <QScreen>

#include "app/forms/HelpForm.h"
#include "ui/forms/WindowPlacer.h"

using namespace Qt::StringLiterals;

// The help resource lives in the static library rur_ui, whose linker drops the resource's
// object unless something calls its initialiser; Q_INIT_RESOURCE only works outside any
// namespace.
static void initHelpResource()
{
    Q_INIT_RESOURCE(help);
}

namespace rur::app {

namespace {

QString compiledHelpRoot()
{
    static const bool initialised = (initHelpResource(), true);
    Q_UNUSED(initialised);
    return u":/help/"_s;
}

}  // namespace

HelpService::HelpService(QObject *parent) : HelpService(compiledHelpRoot(), parent) {}

HelpService::HelpService(const QString &root, QObject *parent) : QObject(parent), topics_(root) {}

HelpService::~HelpService()
{
    quit();
}

void HelpService::showContext(int context, bool popup)
{
    Q_UNUSED(popup);
    openWindow().showContext(context);
}

void HelpService::showKeyword(const QString &keyword)
{
    openWindow().showKeyword(keyword);
}

void HelpService::showDefault()
{
    openWindow().showContext(topics_.defaultContext());
}

void HelpService::quit()
{
    // The window has no parent and the service never closes it from inside its own handlers,
    // so deleting it here is safe and leaves nothing for an event loop that may not run again.
    delete window_.data();
}

THelpForm &HelpService::openWindow()
{
    // A modal window blocks every other top-level window, so help asked for from inside one
    // opens as that window's own child window, which stays usable while it is shown.
    QWidget *modal = QApplication::activeModalWidget();
    if (window_ && window_->parentWidget() != modal)
        delete window_.data();
    if (!window_) {
        window_ = new THelpForm(topics_);
        if (modal)
            window_->setParent(modal, window_->windowFlags() | Qt::Window);
        // In the middle of the screen of the window that asked, whole on that screen.
        const QWidget *near = modal ? modal : QApplication::activeWindow();
        if (const QScreen *screen = near ? near->screen() : QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            ui::placeFrameAt(*window_, area.center() - QPoint(window_->width() / 2, window_->height() / 2));
        }
    }
    if (window_->isMinimized())
        window_->showNormal();
    else
        window_->show();
    window_->raise();
    window_->activateWindow();
    return *window_;
}

THelpForm *HelpService::window() const
{
    return window_.data();
}

}  // namespace rur::app
