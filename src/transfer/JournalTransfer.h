#pragma once

// Filling the current return from the entries of a cash journal: the entries dated within
// the journal's period are summed per column code, each sum is rounded to whole crowns, and
// the current return is replaced by its empty templates holding those figures.

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>

namespace rur::data {
class TDM1;
}
namespace rur::engine {
class Table;
}
namespace rur::platform {
class Prompter;
}

namespace rur::transfer {

class SiblingData;

// Per column code, the sum of the tax bases and of the taxes, in extended precision.
struct JournalSums {
    QHash<QString, long double> base;
    QHash<QString, long double> tax;
};

// Sums the entries (Pdev) dated from `from` to `to`, both inclusive; an empty bound counts
// as day 0, so an empty end admits no entry. Only the codes of the return's mapping count,
// compared exactly (a capital K or a blank makes another code).
JournalSums sumJournalEntries(const engine::Table &entries, const QDate &from, const QDate &to);

// One field of the return and its value.
struct ReturnFigure {
    int part;  // 1: Dtabn1, 2: Dtabn2
    QString field;
    double value;
};

// The fields the journal feeds, in the order they are written (Dtabn1, then Dtabn2): each
// the sum of its codes' whole-crown roundings; 0 where no entry matched.
QList<ReturnFigure> journalFigures(const JournalSums &sums);

// Every column code the journal may carry for the return.
QStringList journalColumnCodes();

// Replaces the current return with its empty templates holding the figures, and the
// taxpayer's coefficient in C550, in one transaction: afterwards the return is either the
// old one or the transferred one. Each row passes the store hook of its table. Throws
// EngineError (also for a template that is missing or damaged) and then changes nothing.
void writeTransferredReturn(data::TDM1 &dm, const QList<ReturnFigure> &figures);

enum class TransferResult { Done, Declined, Failed };

// The transfer from the journal data set shown in `journal`: its period saved when it was
// edited (the check may refuse it), the question, the sums, the write, the refresh of the
// data module, the message, and the journal's row tables closed. Every failure is told.
TransferResult transferJournal(data::TDM1 &dm, SiblingData &journal, platform::Prompter &prompter);

inline constexpr char16_t kJournalTransferFailed[] = u"Údaje z Peněžního deníku se nepodařilo přenést.";

}  // namespace rur::transfer
