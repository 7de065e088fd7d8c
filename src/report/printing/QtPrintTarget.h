#pragma once

// Printing through Qt PrintSupport to the system's printers (CUPS). Kept apart from the logic
// library, which needs no printing module; the windows and rur-cli link it.

#include "report/Printing.h"

#include <QStringList>

namespace rur::report {

class QtPrintTarget : public PrintTarget {
public:
    bool print(const PreparedReport &report, const PrintJob &job) override;
};

// Names of the installed printers, and the default one (empty when there is none).
QStringList installedPrinters();
QString defaultPrinterName();

}  // namespace rur::report
