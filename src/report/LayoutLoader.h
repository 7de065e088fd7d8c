#pragma once

#include "report/ReportLayout.h"

#include <QByteArray>
#include <QString>

namespace rur::report {

// Reads a layout description (the format is described in LayoutLoader.cpp) from a file or
// a resource path (":/layouts/..."). Throws ReportError with a Czech message naming the
// description when it can't be read or is damaged.
ReportLayout loadLayout(const QString &path);
ReportLayout parseLayout(const QByteArray &json, const QString &origin);

}  // namespace rur::report
