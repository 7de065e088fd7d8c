#include "report/forms/PageView.h"

#include "report/Render.h"

#include <QPainter>

namespace rur::report {

PageView::PageView(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PageView::setReport(const PreparedReport *report)
{
    report_ = report;
    page_ = 0;
    resize(sizeHint());
    update();
}

void PageView::setPage(int page)
{
    page_ = page;
    update();
}

void PageView::setZoom(int percent)
{
    zoom_ = qMax(1, percent);
    resize(sizeHint());
    update();
}

QSizeF PageView::pageSize() const
{
    return report_ ? report_->pageSizeUnits : QSizeF(794, 1123);
}

QSize PageView::sizeHint() const
{
    return (pageSize() * (zoom_ / 100.0)).toSize().expandedTo(QSize(1, 1));
}

void PageView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!report_)
        return;
    painter.scale(zoom_ / 100.0, zoom_ / 100.0);
    paintPage(painter, *report_, page_);
}

}  // namespace rur::report
