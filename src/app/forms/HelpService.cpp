#include "app/forms/HelpService.h"

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QScreen>

#include "app/WindowHelp.h"
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

// The help installed with the program wins, so that a package's help can be read and mended
// as files; the copy compiled in serves a program run from its build folder.
QString helpRoot()
{
    if (const QString installed = installedHelpRoot(QCoreApplication::applicationDirPath()); !installed.isEmpty())
        return installed;
    static const bool initialised = (initHelpResource(), true);
    Q_UNUSED(initialised);
    return u":/help/"_s;
}

}  // namespace

HelpService::HelpService(QObject *parent) : HelpService(helpRoot(), parent) {}

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

void HelpService::answerF1Everywhere()
{
    qApp->installEventFilter(this);
}

int HelpService::contextFor(const QWidget *widget)
{
    if (const auto *menu = qobject_cast<const QMenu *>(widget)) {
        if (const QAction *item = menu->activeAction()) {
            if (const int context = item->property(kActionContext).toInt())
                return context;
        }
    }
    // A part of a window with a topic of its own (the main window's working area) answers
    // before its window does.
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        if (const int context = helpContextOfWindow(QString::fromLatin1(w->metaObject()->className())))
            return context;
    }
    return 0;
}

bool HelpService::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier) {
            if (const int context = contextFor(static_cast<QWidget *>(watched))) {
                showContext(context);
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

THelpForm &HelpService::openWindow()
{
    // A modal window blocks every other top-level window, so help asked for from inside one
    // opens as that window's own child window, which stays usable while it is shown.
    QWidget *modal = QApplication::activeModalWidget();
    THelpForm *w = window_.data();
    if (w && w->parentWidget() != modal) {
        delete w;
        w = nullptr;
    }
    if (!w) {
        w = new THelpForm(topics_);
        window_ = w;
        if (modal)
            w->setParent(modal, w->windowFlags() | Qt::Window);
        // In the middle of the screen of the window that asked, whole on that screen.
        const QWidget *near = modal ? modal : QApplication::activeWindow();
        if (const QScreen *screen = near ? near->screen() : QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            ui::placeFrameAt(*w, area.center() - QPoint(w->width() / 2, w->height() / 2));
        }
    }
    if (w->isMinimized())
        w->showNormal();
    else
        w->show();
    w->raise();
    w->activateWindow();
    return *w;
}

THelpForm *HelpService::window() const
{
    return window_.data();
}

}  // namespace rur::app
