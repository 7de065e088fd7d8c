#pragma once

#include "base/Directories.h"
#include "base/Program.h"
#include "datasets/Conversion.h"

#include <QString>
#include <functional>

namespace rur::platform {
class Prompter;
}

namespace rur::datasets {

class Catalogue;

// The key of the local Dph.ini [Dph] that records that the check for earlier editions ran:
// "Prevod" and the year code (Prevod218). The same key with "o" asks for the conversion
// window to be offered again.
QString conversionKey();

// Data.DB of the newest earlier edition: for each year from 2002 to the year before the
// program's, the folders "RUR <year>" beside the program directory and then beside the local
// data root; a folder that is not the local data root and holds Data.DB and Dph.ini is an
// edition. A later find wins, so the newest year wins and, within a year, the one beside the
// local data root. Empty when there is none.
QString findEarlierCatalogue(const base::Directories &dirs, int programYear = base::kProgramYear);

// What the window "Převod dat z předchozích verzí" answers: the earlier Data.DB (empty: no
// conversion) and the check box "Převést data".
struct ConversionChoice {
    QString earlierCatalogue;
    bool convert = true;
};
// Shows the window preset with the catalogue found (maybe empty) and returns the answer.
using ConversionWindow = std::function<ConversionChoice(const QString &found)>;

// Rules of that window. A file chosen with "..." inside the local data root is refused with
// this message (empty: accepted).
QString chosenCatalogueProblem(const base::Directories &dirs, const QString &chosen);
// Closing with this edit text: the message that refuses it, or empty.
QString conversionEditProblem(const base::Directories &dirs, const QString &edit);
// Where the file dialog opens: the edit's folder when it exists, else the folder the
// editions are installed in.
QString conversionStartFolder(const base::Directories &dirs, const QString &edit);

inline constexpr char16_t kChooseEarlierEdition[] = u"Vyberte adresář s předchozí verzí programu RUR.";

// The check at the first start of an edition: runs once (the conversion key), searches the
// earlier editions and, when the catalogue is empty and one was found (or the offer was
// asked for with Ctrl+P), shows the window and converts what the user confirmed. The result
// tells whether and how a conversion ran (NotRun when it didn't).
ConversionResult KontrolaInst1(Catalogue &catalogue, base::Directories &dirs, platform::Prompter &prompter,
                               const ConversionWindow &window);

}  // namespace rur::datasets
