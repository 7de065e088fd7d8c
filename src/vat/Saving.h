#pragma once

#include <QString>

namespace rur::data {
class TDM1;
}
namespace rur::platform {
class Prompter;
}

namespace rur::vat {

// The period as the messages name it: "za březen " for a monthly row, "za I. čtvrtletí " for
// a quarterly one, empty when neither or both of the month and the quarter are filled.
QString periodPhrase(const QString &month, const QString &quarter);

// Copies the current return (Dtabn1, Dtabn2) into the finished returns (Dtabn1s, Dtabn2s)
// under the period of Prp. With overwrite the rows of that period are deleted first. Both
// rows, and the deletes, are written in one transaction: the period ends up saved in both
// tables or, after an error or a crash, left as it was. The finished tables are reopened.
// Throws EngineError (9729 when the period is already saved and overwrite is false).
void Trs(data::TDM1 &dm, bool overwrite);

// Clears line 53 of the current return (Dtabn3.C560, C560a) after an ordinary save.
void Trsn(data::TDM1 &dm);

// The yearly settlement, in this order: year totals of the finished returns' part 1 into
// Dtabs (Trs1), of part 2 (Trs3: the calculated C550a and C380), the settlement
// coefficient and line 53 (Trs4), and the carrying of both into Dtabn3 and of the
// coefficient into Prp.K1 (Trsa). Each throws EngineError.
void Trs1(data::TDM1 &dm);
void Trs3(data::TDM1 &dm);
void Trs4(data::TDM1 &dm);
void Trsa(data::TDM1 &dm);
void settleYear(data::TDM1 &dm);  // Trs1, Trs3, Trs4, Trsa

// The settlement coefficient from the year's supplies with entitlement to deduction (N)
// and all counted supplies (D): N ÷ D rounded up to hundredths, 0.95 and more as 1; 0 when
// N ≤ 0 < D, 1 when D ≤ 0 ≤ N (a year without supplies gives 1).
double settlementCoefficient(double n, double d);

// "Uložení RUR": saves the current return under its period (asking before it overwrites a
// saved one), clears line 53 and moves the period on. "Uložení posledního RUR a
// vypořádání": saves the return of the last period and runs the yearly settlement; when the
// overwrite is declined the settlement runs on the finished returns as they are. The
// result goes to status panel 0; panels 1 and 2 are cleared. Return false when the user
// declined and nothing was done. Throw EngineError when the work fails.
bool UlozeniRur(data::TDM1 &dm, platform::Prompter &prompter);
bool UlozeniPoslednihoRur(data::TDM1 &dm, platform::Prompter &prompter);

// Deletes a finished period from both finished-return tables in one transaction, after
// asking "Opravdu smazat RUR <period>?". False when the period is not saved or the user
// said No. Throws EngineError.
bool deleteFinishedPeriod(data::TDM1 &dm, int cislo, platform::Prompter &prompter);

// True when either finished-return table holds the period number.
bool isPeriodSaved(data::TDM1 &dm, int cislo);

}  // namespace rur::vat
