#include "ui/forms/WindowPlacer.h"

#include "ui/ScreenFit.h"

#include <QApplication>
#include <QEvent>
#include <QLayout>
#include <QMargins>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace rur::ui {

namespace {

// The frame the window manager puts around our windows, read off a window of the program
// that is already on the screen; none before the first one is shown. The toolkit forgets a
// window's frame for a moment whenever the window manager touches it, so the last frame seen
// stands in when no window shows one right now: placing without it lets the window manager
// put the frame where the inner area was asked for, a title bar lower.
QMargins frameMarginsNear(const QWidget &window)
{
    static QMargins lastSeen;
    QList<const QWidget *> candidates;
    if (window.parentWidget())
        candidates.append(window.parentWidget()->window());
    candidates.append(QApplication::activeWindow());
    for (const QWidget *w : QApplication::topLevelWidgets())
        candidates.append(w);
    for (const QWidget *w : std::as_const(candidates)) {
        if (!w || w == &window || !w->isVisible())
            continue;
        const QRect f = w->frameGeometry(), g = w->geometry();
        if (f != g) {
            lastSeen = {g.left() - f.left(), g.top() - f.top(), f.right() - g.right(), f.bottom() - g.bottom()};
            return lastSeen;
        }
    }
    return lastSeen;
}

QScreen *screenFor(const QWidget &window, QPoint at)
{
    if (QScreen *s = QGuiApplication::screenAt(at))
        return s;
    if (window.parentWidget())
        return window.parentWidget()->screen();
    return QGuiApplication::primaryScreen();
}

// Once the window is on the screen with its real frame and size (a layout may still grow it
// while it is shown), pulls it back inside the screen if it sticks out.
class ScreenKeeper : public QObject {
public:
    explicit ScreenKeeper(QWidget &window) : QObject(&window), window_(&window)
    {
        setObjectName(QString::fromLatin1(kName));
        window.installEventFilter(this);
    }
    static constexpr char kName[] = "ScreenKeeper";

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == window_ && event->type() == QEvent::Show)
            QTimer::singleShot(150, this, [this] {
                // One read of the guarded pointer: two reads may differ for all the compiler knows.
                QWidget *window = window_.data();
                if (window && window->isVisible() && !window->isMaximized())
                    if (const QScreen *screen = window->screen()) {
                        const QPoint fitted = keepOnScreen(window->frameGeometry(), screen->availableGeometry());
                        if (fitted != window->frameGeometry().topLeft())
                            window->move(fitted);
                    }
                deleteLater();
            });
        return false;
    }

private:
    QPointer<QWidget> window_;
};

}  // namespace

void placeFrameAt(QWidget &window, QPoint frameTopLeft)
{
    window.ensurePolished();
    if (QLayout *layout = window.layout())
        layout->activate();
    if (!window.testAttribute(Qt::WA_Resized))
        window.adjustSize();
    const QMargins margins = frameMarginsNear(window);
    const QScreen *screen = screenFor(window, frameTopLeft);
    const QRect frame(frameTopLeft, window.size().grownBy(margins));
    const QPoint place = screen ? keepOnScreen(frame, screen->availableGeometry()) : frameTopLeft;
    if (margins.isNull()) {
        // No framed window to learn the frame from (the first window of the run): the
        // toolkit places the frame itself, which works while the size stays as it is now.
        window.move(place);
    } else {
        // The inner area's corner is set, so that a size the layout settles on while the
        // window is shown cannot shift it: the frame lands where it was stored.
        window.setGeometry(QRect(place + QPoint(margins.left(), margins.top()), window.size()));
    }
    if (!window.findChild<QObject *>(QString::fromLatin1(ScreenKeeper::kName), Qt::FindDirectChildrenOnly))
        new ScreenKeeper(window);
}

QPoint framePlace(const QWidget &window)
{
    // On a busy machine the toolkit may never learn one window's frame (its frame equals its
    // inner area although the window manager drew a frame): the frame of the program's other
    // windows is the better answer than the inner corner, which would move the window down
    // by the title bar on every opening.
    const QRect f = window.frameGeometry(), g = window.geometry();
    if (f == g && window.isWindow() && !window.windowFlags().testFlag(Qt::FramelessWindowHint)) {
        const QMargins margins = frameMarginsNear(window);
        if (!margins.isNull())
            return g.topLeft() - QPoint(margins.left(), margins.top());
    }
    return f.topLeft();
}

}  // namespace rur::ui
