#pragma once

namespace rur::testing {

// Laying out printouts measures fonts, which needs a GUI application: logic tests that do
// so call this first. Creates one on the offscreen platform when none exists yet.
void ensureGuiApplication();

}  // namespace rur::testing
