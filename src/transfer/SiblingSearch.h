#pragma once

// Finding a sibling program's catalogue (its Data.DB) and remembering the user's choice in
// the data-set ini.

#include "base/Directories.h"
#include "transfer/SiblingTables.h"

namespace rur::platform {
class IniFile;
}

namespace rur::transfer {

// The catalogue a transfer window proposes: the stored path template when it resolves to an
// existing file, else what the search finds.
QString proposedCataloguePath(const base::Directories &dirs, const SiblingProgram &program,
                              const QString &storedTemplate, int programYear);

// The search: for each year from 2002 to the program year, the sibling's folder of that year
// beside the program's folder and then beside the local data root; a folder holding both
// Data.DB and the sibling's ini file is found, and later years (and the second place) win.
// Without a find the local data root's neighbour of the program year is proposed all the
// same. When the found ini says the sibling works with network data ([..] Net=1 and a Path),
// the catalogue is the one at that Path.
QString searchCatalogue(const base::Directories &dirs, const SiblingProgram &program, int programYear);

// [Prenos] of the data-set ini: the path template of the catalogue and the last number.
struct SiblingChoice {
    QString pathTemplate;
    int number = 0;
};
SiblingChoice readSiblingChoice(const platform::IniFile &ini, const SiblingProgram &program);
bool writeSiblingChoice(platform::IniFile &ini, const SiblingProgram &program, const SiblingChoice &choice);

}  // namespace rur::transfer
