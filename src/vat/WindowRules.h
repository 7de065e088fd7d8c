#pragma once

#include <QPoint>
#include <QString>

namespace rur::data {
class TDM1;
}
namespace rur::engine {
class Table;
}
namespace rur::platform {
class IniFile;
class Prompter;
}  // namespace rur::platform

namespace rur::vat {

// Where a window of the return stands: its two keys in the data-set ini (section named after
// the data-set directory) and the defaults for a screen at most 640 pixels wide and a larger one.
struct WindowPlace {
    QString topKey, leftKey;
    QPoint small, large;  // (left, top)
};

enum class WindowId {
    Taxpayer,      // "Údaje o poplatníkovi"
    Rates,         // "Sazby RUR"
    Return1,       // "1. Zdanitelná plnění"
    Return2,       // "2. Zdanitelná plnění, Doplňující údaje"
    Return3,       // "3. Nárok na odpočet daně"
    Return4,       // "4. Výpočet daně, Vypořádání"
    Finished1,     // finished returns, part 1
    Finished2,     // finished returns, part 2
    Finished3,     // finished returns, part 3
    Ledger,        // "Na RUR zaplaceno"
    Find10,        // search by date
    Find11,        // search by bank number
    Find12,        // search by document name
    Find16,        // search in the address book
    PaymentData,   // "Údaje pro platby z účtu"
    BankOrders,    // "Elektronický přenos příkazů - ABO"
    AboSettings,   // "Nastavení formátu ABO"
    Statement,     // "Kontrolní hlášení"
    FindStatement, // search in the register of documents
};

WindowPlace windowPlace(WindowId id);
// The stored position, or the default for the screen width; without a section (no data set)
// the default.
QPoint readWindowPosition(const platform::IniFile &ini, const QString &section, WindowId id, int screenWidth);
bool writeWindowPosition(platform::IniFile &ini, const QString &section, WindowId id, QPoint position);

// The return windows in their sequence: 1 to 4, then 5 for the print selection.
// The caption of return window n without the period, e.g. "3. Nárok na odpočet daně".
QString returnWindowCaption(int n);
// The caption followed by " - " and the period ("březen", "I. čtvrtletí"); the bare caption
// when the period is neither clearly monthly nor quarterly.
QString captionWithPeriod(const QString &caption, const QString &month, const QString &quarter);
// The same from the current period of Prp (bare when Prp is closed).
QString captionWithPeriod(const QString &caption, const data::TDM1 &dm);
// Window to go to with PgUp / PgDn from window n; 0 for none.
int previousReturnWindow(int n);
int nextReturnWindow(int n);
// Help topic of return window n.
int returnWindowHelpContext(int n);

// Heading of the split-entry column of lines 1 and 2, by Prp.Dan.
QString splitColumnHeading(bool amountIsTax);

// Coefficient transfer of window 3: asks "Opravdu přenést Koeficient 0,85 z Údajů o
// poplatníkovi ?" and on Yes puts Dtabn2 into edit with C550 := Prp.K1 (not posted).
// Returns whether the coefficient was set; throws EngineError.
QString coefficientTransferQuestion(double k1);
bool Koeficient1(data::TDM1 &dm, platform::Prompter &prompter);

// A month (or quarter) chosen in the taxpayer window, already in Prp.M (or Prp.Q): the other
// one is cleared and Cislo becomes the month's number 1 to 12 (the quarter's 1 to 4). An
// unknown name leaves Cislo as it is. Throws EngineError.
void periodChosen(engine::Table &prp, bool month);

// Posts a table in edit or insert state; nothing otherwise. Throws EngineError.
void postIfEditing(engine::Table &table);
// Closes and opens a table again (its row re-read, hooks run). Throws EngineError.
void reopenTable(engine::Table &table);

// The rates command after its window has closed: the open tables are re-read with the
// record-position display suspended, so that every control value follows the new rates.
void afterRatesChanged(data::TDM1 &dm);

}  // namespace rur::vat
