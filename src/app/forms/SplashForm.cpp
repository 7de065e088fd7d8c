#include "app/forms/SplashForm.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

using namespace Qt::StringLiterals;

namespace rur::app {

namespace {

constexpr int kWidth = 520;
constexpr int kHeight = 320;

// A sheet of the return form: header band, rows of character boxes and a signature line.
void paintSheet(QPainter &p, const QRectF &sheet)
{
    p.save();
    p.translate(sheet.center());
    p.rotate(-6);
    p.translate(-sheet.center());

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 60));
    p.drawRoundedRect(sheet.translated(6, 6), 4, 4);
    p.setBrush(QColor(252, 252, 248));
    p.drawRoundedRect(sheet, 4, 4);

    const qreal margin = 14;
    QRectF band(sheet.left() + margin, sheet.top() + margin, sheet.width() - 2 * margin, 22);
    p.setBrush(QColor(40, 90, 150));
    p.drawRect(band);
    p.setPen(Qt::white);
    QFont font = p.font();
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    p.drawText(band, Qt::AlignCenter, u"PŘIZNÁNÍ K RUR"_s);

    p.setPen(QPen(QColor(150, 165, 185), 1));
    p.setBrush(Qt::NoBrush);
    const qreal box = 11;
    qreal y = band.bottom() + 14;
    for (int row = 0; row < 7; ++row, y += 22) {
        p.drawLine(QPointF(band.left(), y + box / 2), QPointF(band.left() + 48, y + box / 2));
        const int boxes = row % 3 == 0 ? 9 : 6;
        for (int i = 0; i < boxes; ++i)
            p.drawRect(QRectF(band.right() - (boxes - i) * box, y, box, box));
    }
    p.setPen(QPen(QColor(40, 90, 150), 1.5));
    p.drawLine(QPointF(band.left(), sheet.bottom() - 20), QPointF(band.left() + 70, sheet.bottom() - 20));
    p.restore();
}

}  // namespace

TSplashForm::TSplashForm(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setWindowTitle(u"RUR"_s);
    setFixedSize(kWidth, kHeight);
    setCursor(Qt::WaitCursor);
    centreOnScreen();
}

TSplashForm::~TSplashForm()
{
    restoreCursor();
}

void TSplashForm::showAndRepaint()
{
    centreOnScreen();
    show();
    raise();
    repaint();
    // Let the window system map the window and deliver its first paint before start-up goes on.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TSplashForm::centreOnScreen()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(0, 0), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void TSplashForm::showEvent(QShowEvent *event)
{
    if (!cursorOverridden_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        cursorOverridden_ = true;
    }
    QWidget::showEvent(event);
}

void TSplashForm::hideEvent(QHideEvent *event)
{
    restoreCursor();
    QWidget::hideEvent(event);
}

void TSplashForm::restoreCursor()
{
    if (cursorOverridden_) {
        QApplication::restoreOverrideCursor();
        cursorOverridden_ = false;
    }
}

void TSplashForm::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF area = rect();

    QLinearGradient background(area.topLeft(), area.bottomRight());
    background.setColorAt(0, QColor(18, 52, 96));
    background.setColorAt(1, QColor(24, 120, 140));
    p.fillRect(area, background);
    p.setPen(QPen(QColor(255, 255, 255, 90), 1));
    p.drawRect(area.adjusted(0.5, 0.5, -0.5, -0.5));

    paintSheet(p, QRectF(34, 40, 190, 240));

    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(84);
    p.setFont(font);
    p.setPen(Qt::white);
    const QRectF textArea(250, 60, area.width() - 270, 110);
    p.drawText(textArea, Qt::AlignLeft | Qt::AlignBottom, u"RUR"_s);

    font.setPixelSize(30);
    p.setFont(font);
    p.setPen(QColor(255, 214, 102));
    p.drawText(QRectF(254, 172, textArea.width(), 40), Qt::AlignLeft | Qt::AlignVCenter, u"17.00"_s);

    font.setBold(false);
    font.setPixelSize(18);
    p.setFont(font);
    p.setPen(QColor(225, 235, 245));
    p.drawText(QRectF(254, 216, textArea.width(), 30), Qt::AlignLeft | Qt::AlignVCenter, u"Přiznání k RUR"_s);

    font.setPixelSize(12);
    p.setFont(font);
    p.setPen(QColor(200, 215, 230));
    p.drawText(QRectF(254, area.height() - 44, textArea.width(), 24), Qt::AlignLeft | Qt::AlignVCenter,
               u"Spouštím program ..."_s);
}

}  // namespace rur::app
