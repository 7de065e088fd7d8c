#include "ui/forms/WindowFit.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QBoxLayout>
#include <QDialog>
#include <QEvent>
#include <QGridLayout>
#include <QScreen>
#include <QSpacerItem>

namespace rur::ui {

namespace {

constexpr char kTitleStrut[] = "rurTitleStrut";

bool isFramedWindow(const QWidget &w)
{
    const Qt::WindowType type = w.windowType();
    return w.isWindow() && (type == Qt::Window || type == Qt::Dialog)
           && !w.windowFlags().testFlag(Qt::FramelessWindowHint);
}

// A list, table, tree or text area of the window itself (not of a combo box's popup): the
// user may want to see more of it.
bool hasScrollArea(const QWidget &window)
{
    for (const QAbstractScrollArea *area : window.findChildren<QAbstractScrollArea *>())
        if (area->window() == &window)
            return true;
    return false;
}

// The layout item that keeps the window as wide as its title; made the first time. Kept on
// the layout, which owns it: a window that builds a new layout (a message box given a new
// text) gets a new one.
QSpacerItem *titleStrut(QLayout &layout)
{
    if (auto *strut = static_cast<QSpacerItem *>(layout.property(kTitleStrut).value<void *>()))
        return strut;
    auto *strut = new QSpacerItem(0, 0, QSizePolicy::Minimum, QSizePolicy::Fixed);
    if (auto *grid = qobject_cast<QGridLayout *>(&layout))
        grid->addItem(strut, grid->rowCount(), 0, 1, qMax(1, grid->columnCount()));
    else
        layout.addItem(strut);
    layout.setProperty(kTitleStrut, QVariant::fromValue<void *>(strut));
    return strut;
}

void fitTitle(QWidget &window)
{
    int needed = titleBarWidth(window);
    if (const QScreen *screen = window.screen())
        needed = qMin(needed, screen->availableGeometry().width());
    QLayout *layout = window.layout();
    const auto *box = qobject_cast<QBoxLayout *>(layout);
    const bool vertical = box && (box->direction() == QBoxLayout::TopToBottom || box->direction() == QBoxLayout::BottomToTop);
    if (layout && (vertical || qobject_cast<QGridLayout *>(layout))) {
        QSpacerItem *strut = titleStrut(*layout);
        if (strut->sizeHint().width() != needed) {
            strut->changeSize(needed, 0, QSizePolicy::Minimum, QSizePolicy::Fixed);
            layout->invalidate();
        }
        // Sized now, before the window manager first sees the window.
        layout->activate();
    } else if (window.minimumWidth() < needed) {
        window.setMinimumWidth(needed);
    }
}

class WindowFit : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if ((type != QEvent::Show && type != QEvent::WindowTitleChange) || !watched->isWidgetType())
            return false;
        auto &window = *static_cast<QWidget *>(watched);
        if (!isFramedWindow(window) || (type == QEvent::WindowTitleChange && !window.isVisible()))
            return false;
        if (type == QEvent::Show && qobject_cast<QDialog *>(&window) && window.layout()
            && window.layout()->sizeConstraint() == QLayout::SetDefaultConstraint && !hasScrollArea(window))
            window.layout()->setSizeConstraint(QLayout::SetFixedSize);
        fitTitle(window);
        return false;
    }
};

}  // namespace

int titleBarWidth(const QWidget &window)
{
    QFont font = window.font();
    font.setBold(true);
    const QFontMetrics metrics(font);
    // The icon and the minimize, maximize and close buttons: each about a line high, with
    // the bar's padding around it.
    return metrics.horizontalAdvance(window.windowTitle()) + 4 * (metrics.height() + 8);
}

void installWindowFit(QApplication &application)
{
    application.installEventFilter(new WindowFit(&application));
}

}  // namespace rur::ui
