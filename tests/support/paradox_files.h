#pragma once

// Paradox tables written with pxlib's writer from the program's table definitions, as the
// earlier Windows editions and the sibling programs left them: texts in windows-1250, memos
// in a memo file beside the table. Every Paradox file a test reads is made here.

#include "engine/TableDef.h"

#include <QList>
#include <QString>
#include <QVariantMap>

namespace rur::testing {

// One field of a Paradox table: its name, pxlib's type code (pxfAlpha, ...) and its length
// (for BCD the number of decimals).
struct ParadoxColumn {
    QString name;
    int type = 0;
    int length = 0;
};

// The Paradox fields of a table definition's stored fields: number, alpha of the text's
// length, logical, date, short, long, auto-increment, and memo with a one-byte leader (so
// that every memo longer than a byte goes into the memo file).
QList<ParadoxColumn> paradoxColumns(const engine::TableDef &def);

// Writes path (X.DB) and, when a column is a memo, the memo file beside it (X.MB). Rows hold
// values by field name: texts (written in windows-1250), numbers, Booleans, dates (QDate or
// ISO text), times (QTime), timestamps (QDateTime); a missing or null value is an empty
// field. codePage goes into the header; keyFields makes the first fields the table's key.
void writeParadoxTable(const QString &path, const QList<ParadoxColumn> &columns, const QList<QVariantMap> &rows,
                       int codePage = 1250, int keyFields = 0);

// Replaces a SQLite table file by a Paradox table of the same rows, its fields those of def
// that the file holds.
void rewriteAsParadox(const QString &path, const engine::TableDef &def);
// Every table file in a folder (catalogue, passwords, data-set tables; not the templates in
// Data/) rewritten as Paradox, each without the fields the opening adds to older tables.
void rewriteFolderAsParadox(const QString &folder);

// An earlier edition's data root as makeEdition makes it, with every table of the catalogue,
// the passwords and the data sets a Paradox file.
void makeParadoxEdition(const QString &root, const QStringList &names);

}  // namespace rur::testing
