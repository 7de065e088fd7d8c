#pragma once

#include "report/PreparedReport.h"
#include "report/ReportLayout.h"

#include <QHash>
#include <QMap>
#include <QString>

namespace rur::report {

class DataSource;

// A printout: its layout, the data sources its items read, and what is set at output (the
// left margin, the page-header height). prepare() lays it out into pages.
//
// Order of the bands on a page: page header, title (first page), column header, then for each
// row of the detail band's source: the group headers whose value changed (after the footers of
// the groups that ended), the detail band and, for each row of their sources, the sub-detail
// bands; after the last row the open group footers and the summary; the page footer sits at
// the foot of every page. A band that does not fit above the page footer goes to the next
// page; a band with a growing memo breaks the memo's lines onto further pages instead.
class Report {
public:
    explicit Report(ReportLayout layout);

    // Changing the layout through this may move its items: the name index is made again.
    ReportLayout &layout()
    {
        index_.clear();
        return layout_;
    }
    const ReportLayout &layout() const { return layout_; }
    QString caption() const { return layout_.caption; }

    // Sources are not owned; they must outlive prepare().
    void setDataSource(const QString &name, DataSource *source);

    // Moves every item to the right; may be negative.
    void setLeftMarginMm(double mm) { layout_.leftMarginMm = mm; }
    // The height of the (empty) page-header band, which moves everything below it down; a
    // report without one gets one.
    void setPageHeaderHeight(int units);

    // Lays the report out. Throws ReportError when an item names a source or field that the
    // report does not have.
    PreparedReport prepare();

    // The text a label shows (the program fills labels before output); false for no such label.
    bool setLabelText(const QString &itemName, const QString &text);
    // An item by name, ignoring case; nullptr when there is none.
    ReportItem *item(const QString &itemName);

private:
    ReportLayout layout_;
    QHash<QString, ReportItem *> index_;  // lower-case name -> item, made on first use
    QMap<QString, DataSource *> sources_;
};

}  // namespace rur::report
