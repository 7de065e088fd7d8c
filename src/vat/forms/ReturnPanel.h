#pragma once

#include "vat/ReturnLines.h"

#include <QHash>
#include <QList>
#include <QWidget>

class QLabel;

namespace rur::engine {
class Table;
}
namespace rur::platform {
class Prompter;
}
namespace rur::ui {
class TDBEditz;
}

namespace rur::vat {

// The lines of a return window laid out as on the form, one group per section: line number,
// wording, and the fields in their columns. Typed fields are white and form the Enter chain;
// rates, computed figures and control values are read-only, grey and outside the chain;
// overrides are tinted and carry the hint of the "Pomocná kolonka". Amounts are right-aligned.
class ReturnPanel : public QWidget {
    Q_OBJECT

public:
    // readOnly: every field is read-only (finished returns), the typed ones still in the chain.
    ReturnPanel(const QList<SectionDef> &sections, engine::Table &table, platform::Prompter &prompter, bool readOnly,
                QWidget *parent = nullptr);

    ui::TDBEditz *edit(const QString &field) const { return edits_.value(field); }
    // Fields of the Enter chain, in order.
    const QList<ui::TDBEditz *> &chain() const { return chain_; }
    // Heading of a column of a section (the split column's heading changes with Prp.Dan).
    QLabel *columnHeading(int section, int column) const;
    void setSplitHeading(const QString &text);

private:
    QWidget *makeCell(const CellDef &cell, engine::Table &table, platform::Prompter &prompter, bool readOnly);

    QHash<QString, ui::TDBEditz *> edits_;
    QList<ui::TDBEditz *> chain_;
    QList<QList<QLabel *>> headings_;
    QLabel *splitHeading_ = nullptr;
};

}  // namespace rur::vat
