#pragma once

#include "base/Directories.h"
#include "base/UserSettings.h"

#include <QSize>
#include <QString>

namespace rur::platform {
class IniFile;
class Prompter;
}  // namespace rur::platform

namespace rur::app {

// The directory search of the start: Data.ini in the program directory first, then the
// folder Tervik/RUR 2018/ under the common data folder. A candidate counts only when it
// holds Data.DB; notFound stays set when none does.
base::Directories findDirectories(const QString &programDir, const QString &commonDataFolder,
                            const QString &documentsFolder);

// Where `rur --install-data` puts a data root and where the start-up looks for one after
// Data.ini: Tervik/RUR 2018/ under the common data folder; empty when that folder is unknown.
QString defaultDataRoot(const QString &commonDataFolder);

// The first start of the program: with no Data.ini value and no data root in the common data
// folder yet, the data root is created there as `rur --install-data` creates it, and becomes
// the local data root and the data root. Only a folder that does not exist or is empty is
// used: one that holds anything else without Data.DB is some other data that is not touched.
// Returns false (notFound stays set, nothing is left behind) when that is not possible.
bool createFirstDataRoot(base::Directories &dirs);

// [Verze] Data of a root's Data/Verze.ini; 0 when the file or the key is missing.
int readDataVersion(const QString &root);
// The error text for a data version that differs from the program's, else empty.
QString versionMismatchMessage(int dataVersion);

struct WindowGeometry {
    int top = 0;
    int left = 0;
    int width = 800;
    int height = 573;
    bool maximized = false;
};

// Position and size before the settings are read: top left corner, 640 or 800 wide,
// 453 or 573 high, by the screen size.
WindowGeometry defaultGeometry(QSize screen);
// The geometry stored in the local Dph.ini; without Maximized a screen at most 800 pixels
// wide gives a maximized window.
WindowGeometry storedGeometry(const platform::IniFile &dph, const WindowGeometry &current, QSize screen);


// Writes the window state and settings into the local Dph.ini when the main window closes:
// a normal window writes its geometry and Maximized 0, a maximized one only Maximized 1.
// Returns false when a write failed; then the empty file Verze.txt is tried as a write
// test and the caller shows kWriteFailedMessage.
bool saveOnClose(const QString &localDataRoot, const WindowGeometry &geometry, const base::UserSettings &settings);

// First activation, network part: when Net is "1" and Path is set, the data root becomes
// Path, or stays local with an error message when Path holds no Data.DB. Returns true
// when the network setting was applied (the caller then reconnects the catalogue).
bool applyNetworkDataRoot(base::Directories &dirs, platform::Prompter &prompter);
// Brings the templates of a network data root up to the local version (Verze.ini).
void refreshNetworkTemplates(const base::Directories &dirs, platform::Prompter &prompter);

extern const char16_t kNoDataRootMessage[];
extern const char16_t kWriteFailedMessage[];

}  // namespace rur::app
