#pragma once

#include "base/Directories.h"

#include <QDateTime>
#include <QString>

namespace rur::data {
class TDM1;
}
namespace rur::platform {
class Prompter;
}

namespace rur::datasets {

// "Vymazání období": empties the current return and puts the taxpayer's coefficient into it.
// "Vymazání celého roku": empties the finished returns.
// "Nový rok": archives the data set into Zaloha/Archiv/ of the data root, empties the VAT paid
// ledger, the current return and the finished returns and moves a period other than the first
// one on.
// Each of the three empties the register of documents of the control statement too. When the archive can't be written completely, nothing is emptied and the error
// "Soubor <path> nelze vytvořit." is shown.
// Each asks its question twice and returns false when it was answered No or the work stopped;
// all tables are open again afterwards. Throws EngineError when the tables can't be reopened
// (the caller shows "Nepodařilo se otevřít všechny tabulky.").
bool VymazaniObdobi(data::TDM1 &dm, base::Directories &dirs, platform::Prompter &prompter);
bool VymazaniRoku(data::TDM1 &dm, base::Directories &dirs, platform::Prompter &prompter);
bool NovyRok(data::TDM1 &dm, base::Directories &dirs, platform::Prompter &prompter);

// Name of the year-end archive without ".zip": the year, a blank and the taxpayer's file stem
// (or the time of the run when the taxpayer has no name), safe for a file name.
QString yearEndArchiveName(const QString &year, const QString &taxpayerStem, const QDateTime &now);
// The folder of the year-end archives under a data root, ending in '/'.
QString yearEndArchiveFolder(const base::Directories &dirs);

}  // namespace rur::datasets
