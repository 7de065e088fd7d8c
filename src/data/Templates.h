#pragma once

#include "engine/TableDef.h"

#include <QList>
#include <QString>
#include <QVariantMap>

namespace rur::data {

// The rows a table of a new data set starts with: one row for the one-row tables, with the
// values a new user expects (rates 15 and 21, January of the program year, a regular return
// of a VAT payer, one copy, ...), none for the list tables.
QList<QVariantMap> templateRows(const QString &tableName);

// The rows of a table's template file in a template directory, as stored (stored fields by
// name; fields an older template lacks are left out). Without a template file, the rows the
// installer would give it. Throws EngineError with the damaged-template message when the
// file is not a whole table.
QList<QVariantMap> templateFileRows(const QString &templates, const engine::TableDef &def);
QString damagedTemplateMessage(const QString &templates, const QString &file);

// Copies files of a data set from a template directory into a directory, each over the file
// there, once every template to copy has been checked: a template that is not a whole,
// undamaged table of its name is never copied over a good table. Returns empty, or the
// message of the first bad template (and then copies nothing). Files without a template in
// the directory are skipped.
QString copyTemplateFiles(const QString &templates, const QStringList &files, const QString &target);

// Creates or completes a data root in a directory: the catalogue Data.DB and the passwords
// Uziv.DB (only when missing), Dph.ini (only when missing), and the template directory Data/
// with an empty copy of every table and Verze.ini. Existing data sets and settings are kept.
// Throws EngineError with a Czech message when a file can't be written.
void installDataRoot(const QString &directory);

}  // namespace rur::data
