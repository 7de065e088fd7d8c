#pragma once

// The tables of a sibling program that a transfer window shows: the catalogue of the
// sibling's data sets and, for its current row, the taxpayer table (and the cash journal's
// period row). Everything is opened read-only except the journal's period, which the user
// sets here and which is written back.

#include "engine/Database.h"
#include "engine/Table.h"
#include "transfer/SiblingTables.h"

#include <QDate>
#include <functional>
#include <memory>

namespace rur::platform {
class Prompter;
}

namespace rur::transfer {

class SiblingData {
public:
    explicit SiblingData(SiblingKind kind, std::function<QDate()> today = {});
    ~SiblingData();
    SiblingData(const SiblingData &) = delete;
    SiblingData &operator=(const SiblingData &) = delete;

    const SiblingProgram &program() const { return program_; }

    // Shows the catalogue in the folder of the given Data.DB path (its file name is not
    // used) on the row numbered `number` (the first row when there is none) and opens that
    // row's tables. False when any of them can't be opened; everything is closed then and
    // problem() tells why.
    bool show(const QString &catalogueFile, int number);
    // Opens the tables of the catalogue's current row (after the row changed); false and
    // closed when they can't be opened.
    bool openCurrentRow();
    void closeRow();
    void close();

    bool isShown() const { return catalogue_->isActive(); }
    bool isRowOpen() const { return taxpayer_->isActive(); }
    engine::Table &catalogue() const { return *catalogue_; }
    engine::Table &taxpayer() const { return *taxpayer_; }
    // The journal's period (Dz, Dk of its settings row); null for the income-tax returns.
    engine::Table *period() const { return period_.get(); }
    // Why the period is open read-only (a folder the user may not write, a Paradox table);
    // empty when it can be written.
    QString periodReadOnlyReason() const { return periodReadOnly_; }
    // The journal's entries of the current row, opened read-only (again). Throws EngineError.
    engine::Table &openEntries();
    // Cislo of the current catalogue row; 0 without one.
    int currentNumber() const;
    // Why the last show or row change failed, as the table engine said it.
    QString problem() const { return problem_; }

private:
    void fail(const QString &why);

    const SiblingProgram &program_;
    engine::Database root_{QStringLiteral("Sourozenec")};
    engine::Database set_{QStringLiteral("SourozenecData")};
    std::unique_ptr<engine::Table> catalogue_, taxpayer_, period_, entries_;
    QString problem_;
    QString periodReadOnly_;
};

// The check of the journal's period before its row is stored: "Zadejte datum." when either
// date is empty, "Datum konec období nemůže být menší než datum začátek období." when the end
// lies before the start; empty when the period is fine.
QString journalPeriodProblem(const QVariant &from, const QVariant &to);

// Stores the journal's period row when it is being edited. False when the check (or the
// write) refuses it: the user has been told and the row stays in edit state.
bool saveJournalPeriod(engine::Table &period, platform::Prompter &prompter);

// A data-set folder named by a sibling's catalogue: one plain folder name, nothing that
// leads elsewhere ("..", separators, control characters).
bool isSiblingFolderName(const QString &name);

}  // namespace rur::transfer
