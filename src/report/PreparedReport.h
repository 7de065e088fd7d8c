#pragma once

// A report laid out: pages of items at their final positions with their final texts, in
// units of 1/96 inch from the page's top left corner. Tests read it without drawing; the
// painter (Render.h) draws it onto any device.

#include "report/ReportLayout.h"

#include <QList>
#include <QRectF>
#include <QString>

namespace rur::report {

struct PlacedItem {
    enum class Kind { Text, Shape };
    Kind kind = Kind::Text;
    QString name;
    QRectF rect;
    QString text;  // lines of a memo separated by '\n'
    FontSpec font;
    Qt::Alignment alignment = Qt::AlignLeft;
    double lineHeight = 0;  // memos: from one line to the next
    ShapeKind shape = ShapeKind::Rectangle;
    double penWidth = 1.0;  // 0: no outline (band backgrounds)
    QColor brush;
};

struct PreparedPage {
    QList<PlacedItem> items;
};

struct PreparedReport {
    QString name;
    QString caption;
    QPageSize::PageSizeId pageSize = QPageSize::A4;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QSizeF pageSizeUnits;
    QList<PreparedPage> pages;

    int pageCount() const { return int(pages.size()); }
    // The item of that name on a page (0-based); nullptr when it isn't there.
    const PlacedItem *find(const QString &itemName, int page = 0) const;
    // Every placed piece of an item over all pages, in order (a memo broken across pages).
    QList<const PlacedItem *> findAll(const QString &itemName) const;
};

}  // namespace rur::report
