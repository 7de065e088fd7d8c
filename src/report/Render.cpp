#include "report/Render.h"

#include "report/Fonts.h"

#include "engine/TableFile.h"

#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace rur::report {

namespace {

void paintShape(QPainter &p, const PlacedItem &i)
{
    if (i.penWidth > 0) {
        QPen pen(Qt::black, i.penWidth);
        pen.setJoinStyle(Qt::MiterJoin);
        pen.setCapStyle(Qt::SquareCap);
        p.setPen(pen);
    } else {
        p.setPen(Qt::NoPen);
    }
    p.setBrush(i.brush.isValid() ? QBrush(i.brush) : QBrush(Qt::NoBrush));
    const QRectF &r = i.rect;
    switch (i.shape) {
    case ShapeKind::Rectangle: p.drawRect(r); break;
    case ShapeKind::Ellipse: p.drawEllipse(r); break;
    case ShapeKind::HorizontalLine: p.drawLine(QPointF(r.left(), r.center().y()), QPointF(r.right(), r.center().y())); break;
    case ShapeKind::VerticalLine: p.drawLine(QPointF(r.center().x(), r.top()), QPointF(r.center().x(), r.bottom())); break;
    }
}

void paintText(QPainter &p, const PlacedItem &i, const FontSpec **current)
{
    if (i.text.isEmpty())
        return;
    // Changing the painter's font is costly; most neighbouring items share one.
    if (!*current || !(**current == i.font)) {
        p.setFont(fontOf(i.font));
        *current = &i.font;
    }
    p.setPen(i.font.color);
    const int flags = int(i.alignment & Qt::AlignHorizontal_Mask) | Qt::AlignTop | Qt::TextDontClip | Qt::TextSingleLine;
    if (i.lineHeight <= 0) {
        p.drawText(i.rect, flags, i.text);
        return;
    }
    const QStringList lines = i.text.split(u'\n');
    for (qsizetype k = 0; k < lines.size(); ++k)
        p.drawText(QRectF(i.rect.left(), i.rect.top() + double(k) * i.lineHeight, i.rect.width(), i.lineHeight), flags,
                   lines[k]);
}

}  // namespace

void paintPage(QPainter &painter, const PreparedReport &report, int page)
{
    if (page < 0 || page >= report.pages.size())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const FontSpec *font = nullptr;
    for (const PlacedItem &i : report.pages[page].items) {
        if (i.kind == PlacedItem::Kind::Shape)
            paintShape(painter, i);
        else
            paintText(painter, i, &font);
    }
    painter.restore();
}

bool renderPages(const PreparedReport &report, QPagedPaintDevice &device, QList<int> pages)
{
    if (pages.isEmpty())
        for (int k = 0; k < report.pageCount(); ++k)
            pages.append(k);
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const double sx = device.logicalDpiX() / kUnitsPerInch, sy = device.logicalDpiY() / kUnitsPerInch;
    bool first = true;
    for (int page : std::as_const(pages)) {
        if (!first)
            device.newPage();
        first = false;
        painter.save();
        painter.scale(sx, sy);
        paintPage(painter, report, page);
        painter.restore();
    }
    return painter.end();
}

QImage renderImage(const PreparedReport &report, int page, double scale)
{
    const QSizeF size = report.pageSizeUnits * scale;
    QImage image(qMax(1, qRound(size.width())), qMax(1, qRound(size.height())), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(scale, scale);
    paintPage(painter, report, page);
    return image;
}

bool writePdf(const PreparedReport &report, const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    {
        QPdfWriter writer(&file);
        writer.setTitle(report.caption);
        writer.setCreator(u"RUR 17.00"_s);
        writer.setResolution(int(kUnitsPerInch));
        writer.setPageLayout(QPageLayout(QPageSize(report.pageSize), report.orientation, QMarginsF(0, 0, 0, 0)));
        if (!renderPages(report, writer)) {
            file.cancelWriting();
            return false;
        }
    }
    if (file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        return false;
    }
    engine::crashPoint("pdf:before-commit");
    return file.commit();
}

}  // namespace rur::report
