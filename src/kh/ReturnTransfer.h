#pragma once

// "Přenést do přiznání": the lines of the current return that the register feeds, filled from
// its sums in whole crowns; every other line of the return stays as it is.

#include "kh/StatementSums.h"
#include "transfer/JournalTransfer.h"

#include <QList>

namespace rur::data {
class TDM1;
}
namespace rur::platform {
class Prompter;
}

namespace rur::kh {

inline constexpr char16_t kTransferQuestion[] = u"Přepsat údaje přiznání údaji kontrolního hlášení ?";
inline constexpr char16_t kTransferDone[] = u"Údaje kontrolního hlášení byly přeneseny do přiznání.";
inline constexpr char16_t kTransferFailed[] = u"Údaje kontrolního hlášení se nepodařilo přenést do přiznání.";

// The fields the register feeds and their values, each the sum of its rows rounded as the
// return rounds (Zaokr0): lines 1 and 2 from A4 and A5, 40 and 41 from B2 and B3, 25 from
// A1, 10 and 11 from B1, the A2 rows' own lines (3, 4, 5, 6, 9, 12, 13: the row's bases and
// taxes), and lines 43 (basic rate) and 44 (reduced rates) from A2 and B1 as a full deduction.
QList<transfer::ReturnFigure> transferFigures(const RegisterSums &sums);

// Puts the figures into the current rows of Dtabn1 and Dtabn2 in one group write, their other
// fields as they are stored (an edit in progress is posted first). Throws EngineError; the
// return is then as it was.
void writeReturnFigures(data::TDM1 &dm, const QList<transfer::ReturnFigure> &figures);

// The question, the register read and summed, the write, the tables re-read and the message.
// False when the user said No or it failed (the user has been told).
bool transferToReturn(data::TDM1 &dm, platform::Prompter &prompter);

}  // namespace rur::kh
