#pragma once

#include "base/Directories.h"

#include <QString>
#include <QStringList>

namespace rur::platform {
class IniFile;
}

namespace rur::backup {

// What the backup and restore windows keep in [Cesty] of the data-set ini.
struct PathSettings {
    QStringList remembered;  // path templates 0 … 19, most recent first, empty keys skipped
    bool nazev = false;      // "v názvu souboru - název firmy"
    bool obnovit = false;    // "obnovit indexy" of the backup window
    QString vlastni;         // own folder for archives, ending in '/'
};

inline constexpr int kRememberedPaths = 20;

PathSettings readPathSettings(const platform::IniFile &ini);
// Stores the first 20 templates (later keys are removed) and the check box; `obnovit` is
// written only by the backup window, which has that check box.
bool writeRememberedPaths(platform::IniFile &ini, const QStringList &templates, bool nazev,
                          const bool *obnovit = nullptr);
bool writeOwnFolder(platform::IniFile &ini, const QString &folder);

// "Vymazání uložených &cest": the whole [Cesty] section.
bool eraseRememberedPaths(platform::IniFile &ini);
// "Vymazání uložených cest - &ostatní": the paths of bank files, transfers and filing files.
bool eraseOtherPaths(platform::IniFile &ini);

// The template used moves to the top of the list (inserted there when new).
void moveToTop(QStringList &list, const QString &pathTemplate);

// The file stem of an archive: the taxpayer's, when the firm name is wanted, else the
// data-set directory name.
QString archiveStem(const base::Directories &dirs, const QString &taxpayerStem, bool firmName);
// Default template of the path buttons: type 1 "Adresář &dat", 2 "Adresář &uživatele",
// 3 "Výměnné &médium".
QString defaultArchiveTemplate(const base::Directories &dirs, int type, const QString &stem);
// The archive in the own folder.
QString ownFolderArchive(const QString &folder, const QString &stem);

}  // namespace rur::backup
