#pragma once

#include "report/PreparedReport.h"

#include <QString>

namespace rur::report {

// One print job: the printer (empty: the system's default printer) and how many copies the
// printer itself makes.
struct PrintJob {
    QString printerName;
    int copies = 1;
};

// Where print jobs go: the system's printers (QtPrintTarget, in the printing library), or a
// recorder in tests.
class PrintTarget {
public:
    virtual ~PrintTarget() = default;
    // Sends the whole report as one job; false when the job could not be started or written.
    virtual bool print(const PreparedReport &report, const PrintJob &job) = 0;
};

// The copy rule of every printout: when the printer makes the copies (printerCopies) the
// report goes out once with `copies` copies, otherwise `copies` times as separate jobs of one
// copy each. Fewer than one copy prints one. Stops at the first failed job and returns false.
bool Tisk2(const PreparedReport &report, PrintTarget &target, const QString &printerName, int copies,
           bool printerCopies);

}  // namespace rur::report
