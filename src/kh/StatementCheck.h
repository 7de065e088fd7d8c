#pragma once

// The check of the control statement before it is filed: what the tax office matches (each
// VetaC line of the return against the register's sums, within 1,000 Kč), the partners' tax
// numbers, documents entered twice where the form forbids it, dates outside the period, rows
// without an amount or with what their section lacks, taxes that do not fit their rates, and
// the file against its published schema.

#include "check/ReturnCheck.h"
#include "kh/Register.h"

#include <QDate>
#include <QList>

namespace rur::data {
class TDM1;
}

namespace rur::kh {

struct StatementOptions;

inline constexpr char16_t kNothingToCorrect[] = u"Kontrola nenašla v kontrolním hlášení nic k opravě.";

// The content rules over the rows given, the taxpayer row (own DIČ, period, kind of person),
// the rates (Dcis) and the current return (Dtabn1, Dtabn2) as they are now; `today` decides
// the birth dates in tax numbers. Findings about a row name it by section and document
// ("A4 FV-17") and point at Dkh; those about a line of the return at its field.
QList<check::Finding> checkStatement(data::TDM1 &dm, const QList<Document> &documents,
                                     const StatementOptions &options, const QDate &today);

// "&Kontrola": the tables refreshed, the register read, the file built in memory in the
// encoding of Dph.ini Kodovani and checked against the schema DPHKH1, both kinds of finding
// in one list (errors first). Throws EngineError when a table can't be read.
QList<check::Finding> KontrolaKh(data::TDM1 &dm, const StatementOptions &options, int kodovani,
                                 const QDate &today = QDate::currentDate());

}  // namespace rur::kh
