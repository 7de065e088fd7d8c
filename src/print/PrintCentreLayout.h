#pragma once

// The print centre "Tisk" as data: the nodes of its two trees, the panels of the "Komfort"
// page, the fields of every page with their labels, and the choices of its lists. The window
// is built from it, and messages about a field name it by its label.

#include <QList>
#include <QString>
#include <QStringList>

namespace rur::data {
class TDM1;
}

namespace rur::print {

// A node of a tree, in display order; only nodes of level 1 can be previewed or printed.
struct PrintNode {
    QString caption;
    int level;
};

// The "RUR" tree: 0 "RUR", 1 "Tisk strany 1", 2 "Tisk strany 2".
const QList<PrintNode> &rurNodes();
// The "Komfort" tree: 0 "Příkazy do banky", 1 "Daň", 2 "Dokumenty - dopisy", 3 "Tisk dokumentů
// - dopisů", 4 "Tisk z adresáře", 5 "Obálky DL", 6 "Obálky C5".
const QList<PrintNode> &komfortNodes();
inline constexpr int kNodeTax = 1;
inline constexpr int kNodeLetters = 3;
inline constexpr int kNodeEnvelopesDl = 5;
inline constexpr int kNodeEnvelopesC5 = 6;

// The settings panel of the "Komfort" page that a node shows: 0 and 1 "Dan", 2 and 3
// "Dokumenty", 4 to 6 "Obalky".
enum class KomfortPanel { Dan, Dokumenty, Obalky };
KomfortPanel komfortPanelOf(int node);
QString komfortPanelName(KomfortPanel panel);  // "Dan", "Dokumenty", "Obalky"

enum class PanelInput {
    Number,  // whole number, right-aligned
    Text,    // text
    Date,    // date dd.mm.yyyy with its weekday beside it
    Shown,   // calculated, shown only
    Check,   // check box with its own caption
    List,    // drop-down list of fixed choices
};

// What Shift+F7 in a field (and a click on its label where labelOpens) opens.
enum class PanelAction { None, Calendar, BankData, TaxPaid, Documents };

// A control of a page: its table and field, label, kind and place (row, and the pair of
// label and control columns; kBesideField: after the previous control, in its cell).
inline constexpr int kBesideField = -1;

struct PanelField {
    QString table;  // "Dmt", "Mtt" or "Prp"
    QString field;
    QString label;  // a check box's caption
    PanelInput input;
    int row;
    int col = 0;
    PanelAction action = PanelAction::None;
    bool labelOpens = false;
    QStringList items = {};
};

// The print settings of the "RUR" page.
const QList<PanelField> &rurPageFields();
// The fields of a "Komfort" panel, in the order of the Enter chain.
const QList<PanelField> &komfortPanelFields(KomfortPanel panel);

// "Vytisknout" (Dmt.Trh1): "vybranou stránku", "všechny stránky", "liché stránky", "sudé stránky".
const QStringList &printRangeChoices();
// The return pages that "Tisk" prints for a Trh1 value, with `selected` the page chosen in the
// tree. An unknown value prints the chosen page, as "vybranou stránku" does.
QList<int> pagesToPrint(const QString &trh1, int selected);

// "obálky (adr.)" (Mtt.Obl).
const QStringList &envelopeChoices();

// Names the fields of Dmt and Mtt in messages as the print centre labels them.
void labelPrintFields(data::TDM1 &dm);

}  // namespace rur::print
