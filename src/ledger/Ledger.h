#pragma once

// The VAT paid ledger "Na RUR zaplaceno" without its window: table Dzal1 holds twelve slots of
// date and amount (D1s..D12s, Za1s..Za12s) in its one row; the current return's tax is
// proposed for the current period's slot when the ledger opens, and a slot's amount and date
// go into the payment order (Mtt).

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace rur::data {
class TDM1;
}
namespace rur::engine {
class Table;
}
namespace rur::platform {
class Prompter;
}

namespace rur::ledger {

inline constexpr int kSlots = 12;

QString dateField(int slot);    // "D3s"
QString amountField(int slot);  // "Za3s"

// Before-post rule of Dzal1: every amount in whole crowns (text rounding, halves away from
// zero), an empty amount 0.
void roundAmounts(engine::Table &dzal1);
void attachLedgerRules(data::TDM1 &dm);
// Adds the ledger's rules to every data module made from now on.
void registerTableRules();

// Labels of the twelve slots: the months for a monthly payer (M filled, Q empty), "I.
// čtvrtletí" .. "IV. čtvrtletí" and eight empty ones for a quarterly payer (M empty, Q
// filled), twelve empty ones otherwise.
QStringList periodLabels(const QString &month, const QString &quarter);
QStringList periodLabels(const data::TDM1 &dm);  // from Prp; empty labels when it is closed
// The heading line: "Na RUR za rok 2018 zaplaceno".
QString ledgerHeading(const QString &year);

// Opening, steps 1 and 2: Dzal1 goes into edit; when the period number Prp.Cislo is 1 to 12
// and its slot has no date, the slot's amount becomes the return's tax Dtabn3.C753; the row
// is posted, read again from its file and put into edit. Throws EngineError.
void prepareLedger(data::TDM1 &dm);

// "Opravdu přenést daň 5000 Kč do příkazu k úhradě ?"
QString transferQuestion(double amount);

// PrenosZ1 after the typed value has been committed: Dzal1 is saved, the question is asked,
// and on Yes the payment order takes the slot's amount (Cad1) and its date as due date (D1)
// and date made out (D3), and is stored. False when the user said No. Throws EngineError;
// a payment order that can't be stored is given back its amount and dates, and the ledger
// keeps its values.
bool PrenosZ1(data::TDM1 &dm, int slot, platform::Prompter &prompter);

// Closing: Dzal1 is saved when in edit or insert, then closed and opened again. Throws
// EngineError (the row has been dropped back to what the file holds then).
void closeLedger(data::TDM1 &dm);

// A slot as the ledger lists it.
struct LedgerSlot {
    int slot = 0;
    QString label;
    QDate date;
    double amount = 0;
};
QList<LedgerSlot> ledgerSlots(const data::TDM1 &dm);
double totalPaid(const QList<LedgerSlot> &slots);

}  // namespace rur::ledger
