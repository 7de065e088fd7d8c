#pragma once

// The ABO window's work without widgets: its path settings and histories, the bank order made
// from the payment order, and "&Přenést" with its questions.

#include "base/Directories.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>

namespace rur::data {
class TDM1;
}
namespace rur::platform {
class IniFile;
class Prompter;
}  // namespace rur::platform

namespace rur::payments {

// [Banka1] Nazev, the file-path history [Banka1] 0…19 and the banking-program history
// [Bankah1] 0…19 of the data-set ini, most recent first.
struct AboPaths {
    bool firmName = false;
    QStringList files;
    QStringList programs;
};
constexpr int kHistorySize = 20;
AboPaths readAboPaths(const platform::IniFile &dataSetIni);
// Writes the check box and both histories (at most 20 entries each).
bool writeAboPaths(platform::IniFile &dataSetIni, const AboPaths &paths);
// The entry moved (or added) to the top of a history; an empty entry leaves it as it is.
QStringList pushHistory(QStringList history, const QString &entry);

// Default path template of "Adresář &dat" (type 1) and "Adresář &uživatele" (type 2): the
// base folder, "KPC/", "Banka - ", the file stem and ".kpc".
QString defaultAboPath(const base::Directories &dirs, int type, const QString &stem);
// The full path shown under the box: CestyTyp2 of the template with kind 2.
QString fullAboPath(const base::Directories &dirs, const QString &pathTemplate);
// The template the window starts with: the newest of the history, else the data folder's.
QString initialAboPath(const base::Directories &dirs, const AboPaths &paths, const QString &stem);

// "&Smazat KPC soubor" after the Yes: deletes the file only when its name ends in exactly
// ".kpc"; true when a file was deleted.
bool deleteKpcFile(const QString &path);

// "&Přenést příkaz do elektronického styku ?": a bank order appended from the payment order
// (payer account and code, due date, payee account and code, VS, KS and the tax), texts cut to
// the order's fields, and posted. Throws EngineError.
void orderFromPaymentOrder(data::TDM1 &dm);

// "&Přenést" after the path is known. The widgets' side is given as functions: the list of
// written orders for printing (shown when Mtt.Z1 is on) and the start of the banking program.
struct AboTransfer {
    QString fullPath;
    QString program;
    QString dataSetIni;
    QDate today;
    bool programStarted = false;  // in and out: one start per opening of the window
    std::function<void()> showList;
    std::function<void(const QString &program)> startProgram;
};
enum class TransferResult { NotWritten, Kept, Emptied };
// Steps: a path that is a message text is refused ("Nastavte správně cestu."); the question
// "Opravdu přenést příkazy do souboru …"; the payment order and the orders posted; the file
// written (writeAboFile); the list; the banking program; the question "Byly příkazy vpořádku
// načteny do bankovního programu ?" whose Yes empties the orders. Throws EngineError.
TransferResult Prenos(data::TDM1 &dm, AboTransfer &transfer, platform::Prompter &prompter);

}  // namespace rur::payments
