#pragma once

#include "app/HelpTopics.h"

#include <QString>

namespace rur::app {

// Help context of the installation guide (shared data, earlier editions).
inline constexpr int kInstallGuideContext = 30;

// Where the guide is written before the desktop opens it: the user's cache folder.
QString installGuideFolder();

// Writes the installation guide of the help as "Návod k instalaci.pdf" into the folder
// (beside its final name first, then renamed) and returns its path; empty when it could not
// be written. Needs a running GUI application (fonts).
QString writeInstallGuide(const QString &folder, const HelpTopics &topics = HelpTopics());

}  // namespace rur::app
