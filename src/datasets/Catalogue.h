#pragma once

#include "base/Directories.h"
#include "engine/Database.h"
#include "engine/Table.h"

#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>

namespace rur::platform {
class Prompter;
}

namespace rur::datasets {

// Catalogue orderings as kept in the data root's Dph.ini [Dph] Razeni.
enum Ordering { OrderOwn = 0, OrderAutomatic = 1, OrderByName = 2 };

// The catalogue of data sets (Data.DB) and their passwords (Uziv.DB) in the data root, with
// every operation of the selection window: numbering, creating, renaming, deleting,
// passwords, orderings and the checks before a data set is opened.
class Catalogue : public QObject {
    Q_OBJECT

public:
    Catalogue(base::Directories &dirs, platform::Prompter &prompter, QObject *parent = nullptr);
    ~Catalogue() override;

    // How long a change of the catalogue waits for another program's change to end (a
    // creation copies every template, and a team may create several at once).
    static constexpr int kCatalogueWaitMs = 15000;

    engine::Database Nazvy{QStringLiteral("Nazvy")};
    std::unique_ptr<engine::Table> Data;  // the catalogue rows
    std::unique_ptr<engine::Table> Uziv;  // the password row of the current catalogue row

    // Points the catalogue at the data root, removes stale lock files, brings an older
    // catalogue up to date and makes sure both tables are open (errors are not fatal).
    void prepare();
    // Re-reads the catalogue, goes to the last used data set when [Vyber] Pos is set, and
    // applies the stored ordering.
    void showSelection();
    // Writes [Vyber] Pos and Cislo, Razeni, and the conversion offer of an empty catalogue.
    void closeSelection(bool keepPosition);

    bool isEmpty() const { return !Data->isActive() || Data->isEmpty(); }
    int currentNumber() const;
    QString currentName() const;
    QString currentDirectory() const;
    QString nameOf(const QString &directory) const;  // empty for a directory not catalogued

    int ordering() const { return ordering_; }
    void setOrdering(int ordering);  // switches the index and writes Razeni at once
    bool lastUsedPosition() const;   // [Vyber] Pos

    // The number of the next new data set: the first gap in the numbering, else count + 1.
    int nextNumber();
    // New data set, in two steps as the window "Nové RUR" takes them.
    bool beginNew();  // false (the user told) when the catalogue can't take a row
    bool finishNew(const QString &name);  // asks, posts, creates the directory and copies the templates
    void cancelNew();
    bool newPending() const { return Data->state() == engine::Table::State::Insert; }

    bool rename(const QString &name);
    // The checks before opening or deleting: a valid directory, stale locks, a directory the
    // program may write, the in-use test and the password.
    bool canOpenCurrent();
    // The same without the password, for a data-set directory given by its name.
    bool canUseDirectory(const QString &directory);
    bool deleteCurrent();

    bool hasPassword() const;
    bool addPassword(const QString &password);
    // False with the message "Neplatné heslo." when the present password is wrong.
    bool changePassword(const QString &present, const QString &password);

    // Own ordering: rows listed as "Cislo Nazev" in Pozice order, and the list applied back.
    QStringList ownOrderList();
    bool applyOwnOrder(const QStringList &list);
    bool clearOwnOrder();

    // Ctrl+P on an empty catalogue: offer the conversion of earlier data at the next start.
    bool markConversionOffer();

    static constexpr char16_t kNoDataSets[] = u"Není k dispozici žádné RUR. Spusťte akci nové RUR.";
    static constexpr char16_t kInUse[] = u"Toto RUR právě zpracovává jiný uživatel.";
    static constexpr char16_t kWrongPassword[] = u"Neplatné heslo pro toto RUR.";

private:
    void upgradeCatalogue();
    void openTables();
    void applyOrdering(int ordering);
    bool inUse(const QString &directory);
    bool nameAccepted(const QString &name);  // false (the user told) for control characters
    bool passwordAccepted();
    void setStatus(const QString &text);
    // Runs a change of the catalogue; a failed table operation is told to the user (in
    // Czech) and gives false instead of leaving the window or the command.
    bool guarded(const std::function<bool()> &change);

    base::Directories &dirs_;
    platform::Prompter &prompter_;
    int ordering_ = OrderAutomatic;
    int pendingIndexOrdering_ = OrderAutomatic;
    int pendingPosition_ = 0;

public:
    // Called with a data-set directory before it is checked for another user or deleted:
    // the program lets go of a data set it has open itself. May be empty.
    std::function<void(const QString &)> releaseDirectory;
    // Where status texts go (the main window's first panel); may be empty.
    std::function<void(const QString &)> statusSink;
};

}  // namespace rur::datasets
