#pragma once

#include "base/Directories.h"

#include <QString>

namespace rur::data {
class TDM1;
}

namespace rur::datasets {

// A data-set directory as the catalogue names it: "D" followed by the data set's number,
// directly under the data root. Anything else (separators, "..", the template directory
// "Data", an absolute path) could lead the program's file work outside the data set.
bool isDataSetDirectoryName(const QString &name);
// "Adresář … není platný adresář RUR."
QString invalidDirectoryMessage(const QString &name);

// Points the data module at a data set and opens its tables: the database alias is set to
// the data-set directory, stale lock files of that directory and of the template directory
// are removed, a restore that was cut short is undone, and all tables are opened (and
// repaired). Throws EngineError, also for a directory name that is not a data set's.
void openDataSet(data::TDM1 &dm, base::Directories &dirs, const QString &dataSetDir);

inline constexpr char16_t kOpenFailedMessage[] = u"Nepodařilo se otevřít všechny tabulky.";

}  // namespace rur::datasets
