#pragma once

// The tables and fields a script reaches (rur-cli show, set, append), described for people:
// what each table holds, each field's type, length, the label its window shows and whether a
// procedure computes it, and which of the look-alike fields feeds which output. rur-cli tables
// and fields print it; the reference page docs/tables.md is written from it.

#include <QList>
#include <QString>

namespace rur::data {

struct TableEntry {
    QString name;   // Prp
    QString holds;  // what the table holds, in one sentence
    bool catalogue = false;  // in the data root (the catalogue), not in a data set
};

struct FieldEntry {
    QString name;
    QString type;   // "text", "číslo", "ano/ne", "datum", ...
    int length = 0;  // characters of a text field, 0 for the other types
    QString label;  // the label its window shows; empty where no window shows it
    QString computed;  // "počítá se" (never stored), "plní postup" (stored by a procedure), or empty
    QString note;  // which output it feeds, where it differs from a field that looks like it
};

// Every table of a data set in the order of the data file list, then the catalogue's tables.
QList<TableEntry> tableEntries();
// The fields of a table (its name in any case), in the order of the table; empty for a table
// that does not exist.
QList<FieldEntry> fieldEntries(const QString &table);
// The reference page docs/tables.md (Markdown).
QString tablesReferencePage();

class TDM1;
// Gives the fields of the list windows whose labels live with the window (accounts, bank
// orders, address book, documents, sender, the VAT paid ledger) those labels, for messages
// about a text or value a field can't take. Fields that have a label keep it.
void labelListFields(TDM1 &dm);

}  // namespace rur::data
