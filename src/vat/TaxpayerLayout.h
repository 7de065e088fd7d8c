#pragma once

// The taxpayer window as data: its pages, groups and fields with their labels and hints, in
// the order of the Enter chain. The window is built from it, and messages about a field
// name it by its label.

#include <QList>
#include <QString>

namespace rur::data {
class TDM1;
}

namespace rur::vat {

enum class TaxpayerInput {
    Text,     // text field
    Number,   // number, right-aligned
    Date,     // date dd.mm.yyyy
    YesNo,    // check box showing "ano" / "ne"
    Person,   // check box showing "fyzická osoba" / "právnická osoba"
    Flag,     // check box with its own caption
    Month,    // list of months
    Quarter,  // list of quarters
    Kind,     // kind of the text attachment
};

// A control of the window: its field, label, kind, and place in its group (row and pair of
// label and control columns; kBeside: after the previous control, in its cell). Items are
// listed in the order of the Enter chain, which is the order a user reads each page in:
// row by row within a group, the groups of the left column, then those of the right.
inline constexpr int kBeside = -1;

struct TaxpayerItem {
    QString field;
    QString label;
    TaxpayerInput input;
    int group;
    int row;
    int col = 0;
    QString hint = {};
};

struct TaxpayerGroup {
    QString title;
    int column;  // 0 left, 1 right, 2 under both
};

struct TaxpayerPage {
    QString title;
    QList<TaxpayerGroup> groups;
    QList<TaxpayerItem> items;
};

const QList<TaxpayerPage> &taxpayerPages();

// The label messages use for a field of the window: its label on one line without the
// trailing colon, or its hint when it has no label of its own.
QString taxpayerFieldLabel(const TaxpayerItem &item);

}  // namespace rur::vat
