#pragma once

#include "base/Directories.h"

#include <QString>

namespace rur::base {

// Kinds of generated files: backup archives, KPC bank files, XML filing files.
enum PathKind { KindBackup = 1, KindKpc = 2, KindXml = 3, KindNone = 10 };

// Default path template of a file. type 1 starts at %AdresarDat% (or at the Data.ini
// directory when there is one), 2 at %AdresarUziv%, 3 at %Disk%, 4 has no base. The stem is
// the data-set directory name or the taxpayer file stem, as the calling window decides.
QString CestyTyp1(const Directories &dirs, int type, int kind, const QString &prefix, const QString &stem);

// Real path of a template, or one of the texts "Nastavte písmeno disku (např. F:)." and
// "Nastavte správně cestu." that callers show in place of the path. A relative path lies
// under Zaloha/, KPC/ or XML/ of the local data root.
QString CestyTyp2(const Directories &dirs, const QString &pathTemplate, int kind);
bool isPathMessage(const QString &text);

// A real path turned back into a template.
QString CestyTyp3(const Directories &dirs, const QString &path);

// Starting folder of a folder-browse dialog (types 1 to 5).
QString DirTyp(const Directories &dirs, int type, const QString &path);
QString DirTyp2(const Directories &dirs, const QString &path, const QString &defaultPath);

// The taxpayer's name made safe for file names; empty when there is no usable name.
QString fileStemFromNames(const QString &tia, const QString &jmb, const QString &pra, const QString &oj1a,
                          const QString &ojp3);

}  // namespace rur::base
