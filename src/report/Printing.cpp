#include "report/Printing.h"

namespace rur::report {

bool Tisk2(const PreparedReport &report, PrintTarget &target, const QString &printerName, int copies,
           bool printerCopies)
{
    const int n = qMax(1, copies);
    if (printerCopies)
        return target.print(report, {printerName, n});
    for (int i = 0; i < n; ++i)
        if (!target.print(report, {printerName, 1}))
            return false;
    return true;
}

}  // namespace rur::report
