#pragma once

#include "base/Directories.h"

#include <QList>
#include <QString>
#include <utility>

namespace rur::platform {
class Prompter;
}

namespace rur::app {

// Local or shared data, as kept in the local Dph.ini [Dph]: Net "0" (local), "1" (shared)
// or empty (never chosen), and Path, the shared data root.
struct DataChoice {
    QString net;
    QString path;  // with '/' when set
    bool network() const { return net == QLatin1String("1"); }
    bool chosen() const { return !net.isEmpty(); }
};
DataChoice readDataChoice(const base::Directories &dirs);

// The edit "Cesta k datovým souborům": Path followed by Data.DB, or empty.
QString catalogueEditText(const DataChoice &choice);
// The shared data root an edit names: the folder of its Data.DB, or the folder itself when
// the text names one; with '/'. Empty for an empty edit.
QString sharedRootFromEdit(const QString &edit);

// Closing "Výběr práce s daty": writes Net, and with the shared choice also Path (the local
// choice keeps the old Path); then the data root becomes the shared root when it is chosen,
// set and holds Data.DB, else the local data root, with the error box when the shared root
// can't be reached. False (message shown) when Dph.ini could not be written. The caller
// reconnects the catalogue to the new data root.
bool applyDataChoice(base::Directories &dirs, bool network, const QString &edit, platform::Prompter &prompter);

// "RUR" and the year code: the folder "&Kopírovat data" offers on the chosen disk.
QString defaultSharedFolderName();
// Target of "&Kopírovat data": the disk (a mount point or any folder) and the folder under it.
QString sharedCopyTarget(const QString &disk, const QString &folder);

// "&Kopírovat data": asks, creates the target, puts an empty catalogue and password table
// there unless it has them (an existing shared catalogue is never replaced), refreshes its
// template directory Data/ from the local one and writes the local data version into it.
// Returns the target (with '/') or empty when the user said No or it failed (message shown).
QString copySharedData(const base::Directories &dirs, const QString &disk, const QString &folder,
                       platform::Prompter &prompter);

// The lines of the window "Informace": caption and value.
QList<std::pair<QString, QString>> informationLines(const base::Directories &dirs);

inline constexpr char16_t kUnreachableShare[] = u"\nneexistuje, nebo není dostupný na síťové jednotce.";

}  // namespace rur::app
