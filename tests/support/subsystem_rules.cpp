// Every test program adds the subsystems' table rules before main(), as the program and
// rur-cli do at their start.
#include "app/Subsystems.h"

namespace {

const bool added = (rur::app::addSubsystemTableRules(), true);

}  // namespace
