#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace rur::vat {

// What a field of a return window is to the user.
enum class CellKind {
    Amount,       // typed amount
    Split,        // amount of line 1 or 2 to be split into base and tax
    Coefficient,  // typed coefficient ("0,85")
    Rate,         // rate copied from the rates, read-only, "%" after it
    Computed,     // computed by the table, read-only
    Control,      // control value of the tax, read-only, in brackets
    Override,     // "Pomocná kolonka": replaces the computed value when filled
};

// A field in a column of a line.
struct CellDef {
    QString field;
    int column = 0;
    CellKind kind = CellKind::Amount;
};

// A line of the form: its number, wording and fields. A line without fields is a heading
// over the lines that follow.
struct LineDef {
    QString number;
    QString label;
    QList<CellDef> cells;
};

// A section of the form with the headings of its columns.
struct SectionDef {
    QString title;
    QStringList columns;
    QList<LineDef> lines;
};

// The sections of return window n (1 to 4), in the order of the official form. Windows 1 and 2
// show Dtabn1 (and the finished Dtabn1s), window 3 Dtabn2 (Dtabn2s), window 4 Dtabn3.
const QList<SectionDef> &returnSections(int n);

// Whether a kind of field is typed by the user (and so a stop of the Enter/Tab chain).
bool isTyped(CellKind kind);

// Typed fields of window n in the order of the Enter/Tab chain.
QStringList typedFields(int n);

}  // namespace rur::vat
