#pragma once

namespace rur::app {

// Adds every subsystem's table rules; the program, rur-cli and every other program that
// makes a data module call it once before the first one.
void addSubsystemTableRules();

}  // namespace rur::app
