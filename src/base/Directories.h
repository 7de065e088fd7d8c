#pragma once

#include <QString>

namespace rur::base {

// Directory values found at start-up and kept for the whole run. Directories end in '/';
// the two special folders are kept without it (empty when unknown).
struct Directories {
    QString programDir;        // folder of the executable, holding Data.ini and the help
    QString localDataRoot;     // Dph.ini, the template directory Data/ and Data/Verze.ini
    QString dataRoot;          // catalogue, passwords, one directory per data set
    QString commonDataFolder;  // %AdresarDat%
    QString documentsFolder;   // %AdresarUziv%
    QString dataIniDir;        // Data.ini [Data] Dph, or empty
    int dataVersion = 0;       // local Data/Verze.ini [Verze] Data
    QString dataSetDir;        // directory name of the current data set, e.g. D1
    bool notFound = true;      // until a data root has been found

    // The data-set ini: D1/D1.ini under the data root.
    QString dataSetIni() const;
    QString dataSetPath() const;  // data root + D1 + '/'

    // The special folders of this system: the XDG data home and the documents folder.
    static QString systemCommonDataFolder();
    static QString systemDocumentsFolder();
};

// Directory text with a trailing '/'; empty stays empty.
QString withSlash(const QString &path);
// Path comparisons of the program ignore case.
bool samePath(const QString &a, const QString &b);
bool startsWithPath(const QString &path, const QString &prefix);

}  // namespace rur::base
