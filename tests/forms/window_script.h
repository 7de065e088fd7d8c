#pragma once

// Plays the user in the modal windows a test opens: one step per showing of a window, in the
// order they are shown (a window shown again, such as the preview, counts again, and a window
// opened from a step is played too); a showing beyond the steps is recorded and the window
// closed.

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <functional>

namespace rur::testing {

class WindowScript : public QObject {
public:
    using Step = std::function<void(QDialog &)>;
    explicit WindowScript(QList<Step> steps) : steps_(std::move(steps))
    {
        connect(&timer_, &QTimer::timeout, this, &WindowScript::poll);
        timer_.start(10);
        qApp->installEventFilter(this);
    }
    ~WindowScript() override { qApp->removeEventFilter(this); }
    QStringList shown;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // A window hidden and shown again is a new showing.
        if (event->type() == QEvent::Hide && watched == current_)
            current_ = nullptr;
        return QObject::eventFilter(watched, event);
    }

private:
    void poll()
    {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog || dialog == current_ || !dialog->isVisible() || !dialog->isActiveWindow())
            return;
        current_ = dialog;
        const QString name = QString::fromLatin1(dialog->metaObject()->className());
        shown.append(name.mid(name.lastIndexOf(u':') + 1));
        if (steps_.isEmpty()) {
            dialog->reject();
            return;
        }
        // Played after this poll returns: a step that opens a further window waits in that
        // window's loop, where the polling must go on.
        QTimer::singleShot(0, dialog, [dialog, step = steps_.takeFirst()] { step(*dialog); });
    }

    QList<Step> steps_;
    QPointer<QDialog> current_;
    QTimer timer_;
};

// Acts once on the first window of class W that is the active modal window.
template <typename W>
class OnWindow : public QObject {
public:
    explicit OnWindow(std::function<void(W &)> act) : act_(std::move(act))
    {
        connect(&timer_, &QTimer::timeout, this, [this] {
            auto *w = qobject_cast<W *>(QApplication::activeModalWidget());
            if (!w || !w->isVisible() || !w->isActiveWindow() || done_)
                return;
            done_ = true;
            // After this poll: the act may open further windows, whose loops keep polling.
            QTimer::singleShot(0, w, [this, w] { act_(*w); });
        });
        timer_.start(5);
    }
    bool done() const { return done_; }

private:
    std::function<void(W &)> act_;
    QTimer timer_;
    bool done_ = false;
};

}  // namespace rur::testing
