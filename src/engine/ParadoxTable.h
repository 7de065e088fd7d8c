#pragma once

// Tables in the Paradox format, as the earlier Windows editions and the sibling programs left
// them: a data file (X.DB) and, for memo fields, a memo file beside it (X.MB). They are read
// with pxlib, never written. Every structure of the files is checked before pxlib reads a
// byte of them (pxlib itself trusts what the header says), and every value is checked as it
// is read: a table is read whole or refused, never read in part or wrong.

#include "engine/TableDef.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace rur::engine {

// What a table file is, told by its first bytes and never by its name: SQLite's header, a
// Paradox data file's header, or neither (which the SQLite reader then refuses).
enum class TableFileFormat { Unknown, Sqlite, Paradox };
TableFileFormat tableFileFormat(const QByteArray &head);
TableFileFormat tableFileFormatOf(const QString &path);

// One field of a Paradox table: its name and type code in the file, and the field the program
// takes it as (alpha: text of its length; date; short, long and auto-increment: whole numbers;
// number, currency, BCD: numbers; logical: yes/no; memo and formatted memo: memo; time and
// timestamp: texts "hh:mm:ss" and "yyyy-mm-dd hh:mm:ss").
struct ParadoxField {
    int typeCode = 0;
    int length = 0;  // bytes in a record
    FieldDef field;
};

// A Paradox table read whole. Values are as a SQLite table file stores them: text, whole
// number (qint64), real number (double), or null for an empty field.
struct ParadoxTable {
    QList<ParadoxField> fields;
    int keyFields = 0;  // the first fields form the table's key
    QList<QVariantList> rows;
};

// Why a Paradox table was refused: a diagnostic text, and for a field of a type the program
// does not read, that field and its type (the user is told both).
struct ParadoxProblem {
    QString detail;
    QString field;
    QString typeName;
    bool isEmpty() const { return detail.isEmpty(); }
};

// Reads a table from the bytes of its data file and of its memo file (empty when there is
// none). With `wanted`, only the values of those fields are read (the others stay null): a
// reader that needs a few fields of a large table does not pay for the rest.
ParadoxProblem readParadoxTable(const QByteArray &data, const QByteArray &memos, ParadoxTable *table,
                                const QStringList *wanted = nullptr);
// The same from a file and the memo file beside it (same name ending in .MB, in any case).
// Files larger than a table may be are refused unread.
ParadoxProblem readParadoxFile(const QString &path, ParadoxTable *table, const QStringList *wanted = nullptr);

// "Tabulka X.DB je poškozená nebo nečitelná.", naming the field when its type was the reason.
QString paradoxDamageMessage(const QString &fileName, const ParadoxProblem &problem);

}  // namespace rur::engine
