#pragma once

#include "app/Directories.h"

#include <QString>

namespace rur::data {
class TDM1;
}

namespace rur::datasets {

// The directory name of a data set given by its catalogue number ("1") or its directory
// name ("D1"; it need not be in the catalogue). Throws EngineError with a Czech message
// when a number has no catalogue row.
QString resolveDataSet(const app::Directories &dirs, const QString &set);

// Points the data module at a data set and opens its tables: the database alias is set to
// the data-set directory, stale lock files of that directory and of the template directory
// are removed, a restore that was cut short is undone, and all tables are opened (and
// repaired). Throws EngineError.
void openDataSet(data::TDM1 &dm, app::Directories &dirs, const QString &dataSetDir);

inline constexpr char16_t kOpenFailedMessage[] = u"Nepodařilo se otevřít všechny tabulky.";

}  // namespace rur::datasets
