#pragma once

#include "base/Directories.h"

#include <QString>

namespace rur::data {

class TDM1;

// Taxpayer file stem: the taxpayer's name made safe for file names, or the data-set
// directory name when there is no usable name.
QString NazevSb1(TDM1 &dm, const base::Directories &dirs);

}  // namespace rur::data
