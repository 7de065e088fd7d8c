#pragma once

#include "report/PreparedReport.h"
#include "report/ReportLayout.h"

#include <QMap>
#include <QString>

namespace rur::report {

class DataSource;

// Lays the bands of a layout out on pages with the rows of its data sources: bands that grow
// with their memos, page breaks, group headers and footers, and the page count filled in last.
PreparedReport layOut(const ReportLayout &layout, const QMap<QString, DataSource *> &sources);

}  // namespace rur::report
