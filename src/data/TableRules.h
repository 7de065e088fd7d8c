#pragma once

#include <functional>

namespace rur::data {

class TDM1;

// The hooks a subsystem hangs on the data module's tables (its computations, checks, labels).
using TableRules = std::function<void(TDM1 &)>;

// Adds a subsystem's hooks: every data module made from now on attaches them, in the order
// they were added. A name already added is kept as it is, so starting twice adds nothing.
void addTableRules(const char *subsystem, TableRules rules);

}  // namespace rur::data
