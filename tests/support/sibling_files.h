#pragma once

// Data of the sibling programs (cash journal, income-tax returns) written with the sqlite3
// library alone, as docs/table-files.md describes the files, so that the program's reading
// is tested against the documented format rather than against its own writer.

#include <QList>
#include <QMap>
#include <QString>
#include <QVariant>

namespace rur::testing {

// Runs SQL on a file (created when missing) through the sqlite3 library; throws
// std::runtime_error on an error.
void runSql(const QString &path, const QString &sql, const QVariantList &values = {});

// The documented CREATE TABLE statements.
extern const char kCatalogueTable[];
extern const char kJournalTaxpayerTable[];
extern const char kJournalSettingsTable[];
extern const char kJournalEntriesTable[];
extern const char kCorporateTaxpayerTable[];
extern const char kPersonalTaxpayerTable[];

// One entry of a cash journal: ISO date (empty for none), tax base, tax, column code.
struct JournalEntry {
    QString date;
    double base = 0;
    double tax = 0;
    QString code;
};

// A sibling program's data folder: the catalogue Data.DB and the sibling's ini file.
class SiblingFolder {
public:
    // iniFile "Pen.ini" or "Dan.ini", written with the given text.
    SiblingFolder(const QString &folder, const QString &iniFile, const QString &iniText = {});
    QString path() const { return folder_; }  // ends in '/'
    QString catalogue() const { return folder_ + QStringLiteral("Data.DB"); }
    // A catalogue row; returns the data set's folder (created).
    QString addDataSet(int number, const QString &name, const QString &directory);

    // A journal data set: its taxpayer (Dosu), its settings row with the period (ISO dates,
    // empty for none) and its entries.
    QString addJournal(int number, const QString &directory, const QString &from, const QString &to,
                       const QList<JournalEntry> &entries, const QMap<QString, QString> &taxpayer = {});
    // A taxpayer row of an income-tax return (Prp.DB of the PO program, Dosu.DB of the SZ one).
    QString addTaxReturn(int number, const QString &directory, bool corporate, const QMap<QString, QString> &taxpayer);

private:
    QString folder_;
};

// Entries of a journal written in one transaction (for large journals).
void writeJournalEntries(const QString &pdevPath, const QList<JournalEntry> &entries);

}  // namespace rur::testing
