#include "report/printing/QtPrintTarget.h"

#include "report/Render.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace rur::report {

bool QtPrintTarget::print(const PreparedReport &report, const PrintJob &job)
{
    const QString name = job.printerName.isEmpty() ? defaultPrinterName() : job.printerName;
    if (name.isEmpty() || !installedPrinters().contains(name))
        return false;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(name);
    if (!printer.isValid())
        return false;
    // The layouts measure from the corner of the sheet, on the printer's own paper size.
    printer.setFullPage(true);
    printer.setPageOrientation(report.orientation);
    printer.setCopyCount(qMax(1, job.copies));
    printer.setDocName(report.caption);
    return renderPages(report, printer) && printer.printerState() != QPrinter::Error;
}

QStringList installedPrinters()
{
    return QPrinterInfo::availablePrinterNames();
}

QString defaultPrinterName()
{
    return QPrinterInfo::defaultPrinterName();
}

}  // namespace rur::report
