#pragma once

// Filling the taxpayer data (Prp) from the taxpayer row of a sibling income-tax return:
// the legal person's return (PO) or the individual's (SZ).

#include "transfer/JournalTransfer.h"
#include "transfer/SiblingTables.h"

#include <QList>
#include <QVariant>
#include <utility>

namespace rur::transfer {

// The Prp fields the current row of the sibling's taxpayer table gives, with their values,
// in the order they are written. Fields a transfer doesn't write are not listed.
QList<std::pair<QString, QVariant>> taxpayerFigures(SiblingKind kind, const engine::Table &source);

// Writes the figures into the taxpayer row in one store, each cut to its field; Prp is then
// closed and reopened. Throws EngineError and then changes nothing.
void writeTaxpayer(data::TDM1 &dm, const QList<std::pair<QString, QVariant>> &figures);

// The transfer of the taxpayer window: the question, the sibling's row read again from its
// file, the write, the caption of the main window, the message, and the sibling's taxpayer
// table closed. Failures are told with the table engine's message.
TransferResult transferTaxpayer(data::TDM1 &dm, SiblingData &sibling, platform::Prompter &prompter);

}  // namespace rur::transfer
