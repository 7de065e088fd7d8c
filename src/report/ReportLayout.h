#pragma once

// The description of a printout for the band report engine: bands in the order they are
// declared, each with its items, all positions and sizes in report units of 1/96 inch.
// Layouts are read from description files (LayoutLoader.h); the program changes only what a
// printout fills in at output (texts of labels, display formats, the page-header height,
// the left margin, visibility).

#include <QColor>
#include <QList>
#include <QPageLayout>
#include <QPageSize>
#include <QSizeF>
#include <QString>

namespace rur::report {

// Units per inch and per millimetre of the report coordinate system.
inline constexpr double kUnitsPerInch = 96.0;
inline constexpr double kUnitsPerMm = kUnitsPerInch / 25.4;

struct FontSpec {
    QString family = QStringLiteral("Arial");
    int height = 11;  // character height in units (the em, without leading)
    bool bold = false;
    bool italic = false;
    bool underline = false;
    QColor color = Qt::black;

    bool operator==(const FontSpec &) const = default;
};

enum class ItemKind {
    Label,         // fixed text (the program may set it before output)
    Shape,         // rectangle, line or ellipse
    Memo,          // text of several lines, wrapped to the item's width
    DataText,      // a field of a data source
    ComputedText,  // an expression over fields and literals
    SystemData,    // page number, page count, date, time, record number
};

enum class ShapeKind { Rectangle, HorizontalLine, VerticalLine, Ellipse };

enum class SystemDataKind { PageNumber, PageCount, Date, Time, DateTime, DetailNumber };

struct ReportItem {
    ItemKind kind = ItemKind::Label;
    QString name;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;  // 0: the line height of the item's font
    FontSpec font;
    Qt::Alignment alignment = Qt::AlignLeft;  // AlignLeft, AlignRight or AlignHCenter
    bool autoSize = false;  // the width follows the text; right-aligned items keep their right edge
    bool wordWrap = false;  // memos: lines broken at the item's width
    bool stretch = false;   // memos: the item and its band grow with the text
    int lineSpacing = 0;    // memos: units from one line to the next; 0: the font's own
    bool visible = true;
    QString text;        // label caption, memo text, prefix of system data
    QString source;      // data-bound text: the data source ...
    QString field;       // ... and its field
    QString expression;  // computed text
    QString format;      // display format of numbers ("0", "0.00", "0.##"); empty: the field's own
    QString trueText = QStringLiteral("X");  // how a Boolean field prints
    QString falseText;
    SystemDataKind system = SystemDataKind::PageNumber;
    ShapeKind shape = ShapeKind::Rectangle;
    double penWidth = 1.0;
    QColor brush;  // invalid: not filled
};

enum class BandKind { Title, PageHeader, ColumnHeader, Detail, SubDetail, GroupHeader, GroupFooter, Summary, PageFooter };

struct ReportBand {
    BandKind kind = BandKind::Detail;
    QString name;
    int height = 0;
    int width = 0;
    QString source;  // detail and sub-detail: the data source whose rows repeat the band
    QString group;   // group header and footer: the "Source.Field" whose change starts a group
    QColor color;    // invalid: transparent
    bool visible = true;
    QList<ReportItem> items;
};

struct ReportLayout {
    QString name;       // Rdhn1
    QString className;  // TRdhn1Report
    QString caption;    // RUR strana 1
    QPageSize::PageSizeId pageSize = QPageSize::A4;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    // Page margins in millimetres: the left one moves every item, the bottom one is where a
    // page ends for the bands.
    double leftMarginMm = 0;
    double topMarginMm = 0;
    double bottomMarginMm = 0;
    FontSpec font;
    QList<ReportBand> bands;

    ReportItem *item(const QString &itemName);
    const ReportItem *item(const QString &itemName) const;
    ReportBand *band(BandKind kind);  // the first of that kind
    ReportBand *band(const QString &bandName);
    // Every item of every band, for counting and bulk changes.
    QList<ReportItem *> items();
    // Page size in units, turned for landscape.
    QSizeF pageSizeUnits() const;
};

// The page-header band's height from a top offset in millimetres: round(mm × 3.8).
int headerHeightFromMm(int mm);

// Appends " CE" to the report's font and to the font of every text item whose family does
// not already contain it (the print font family setting). The printed look does not change:
// the CE names resolve to the same fonts.
void PrevodPisma1(ReportLayout &layout);

}  // namespace rur::report
