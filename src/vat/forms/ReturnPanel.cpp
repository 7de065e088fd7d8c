#include "vat/forms/ReturnPanel.h"

#include "vat/forms/FormParts.h"
#include "ui/forms/EditWidth.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace rur::vat {

namespace {

constexpr int kAmountWidth = 112;
constexpr int kRateWidth = 50;
constexpr int kCoefficientWidth = 60;
constexpr int kLabelWidth = 330;

const QString kOverrideHint =
    u"Pomocná kolonka - chcete-li změnit vypočítané číslo, zapište Vámi požadovanou hodnotu do této kolonky"_s;
const QString kSplitHint = u"Částka včetně RUR nebo RUR podle volby v části Sazby daně - rozpočítá se"_s;
const QString kCoefficientHint =
    u"Koeficient zapisujte vždy jako desetinné číslo, např. 0,85 (v tisku se při procentním vyjádření uvede 85 %)"_s;

// Typed fields white (figures of a finished return nearly so), the program's figures grey,
// overrides tinted.
const QString kStyle = uR"(
QLineEdit[cell="typed"] { background-color: #ffffff; }
QLineEdit[cell="shown"] { background-color: #f6f6f6; }
QLineEdit[cell="computed"] { background-color: #e4e4e4; color: #1a1a1a; border: 1px solid #b8b8b8; }
QLineEdit[cell="override"] { background-color: #fff3c4; }
QLabel[role="number"] { font-weight: bold; }
QLabel[role="heading"] { font-style: italic; }
QLabel[role="column"] { font-weight: bold; color: #303030; }
QGroupBox { font-weight: bold; }
QGroupBox QLabel, QGroupBox QLineEdit { font-weight: normal; }
QGroupBox QLabel[role="number"], QGroupBox QLabel[role="column"] { font-weight: bold; }
)"_s;

QString cellStyle(CellKind kind)
{
    switch (kind) {
    case CellKind::Rate:
    case CellKind::Computed:
    case CellKind::Control:
        return u"computed"_s;
    case CellKind::Override:
        return u"override"_s;
    default:
        return u"typed"_s;
    }
}

int cellWidth(CellKind kind)
{
    switch (kind) {
    case CellKind::Rate:
        return kRateWidth;
    case CellKind::Coefficient:
        return kCoefficientWidth;
    default:
        return kAmountWidth;
    }
}

QLabel *label(const QString &text, const QString &role, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setProperty("role", role);
    return l;
}

// The first line of a run of lines sharing one wording spans them all.
int labelSpan(const QList<LineDef> &lines, qsizetype i)
{
    int span = 1;
    for (qsizetype j = i + 1; j < lines.size() && lines[j].label.isEmpty() && !lines[j].cells.isEmpty(); ++j)
        ++span;
    return span;
}

}  // namespace

ReturnPanel::ReturnPanel(const QList<SectionDef> &sections, engine::Table &table, platform::Prompter &prompter,
                         bool readOnly, QWidget *parent)
    : QWidget(parent)
{
    setStyleSheet(kStyle);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    for (const SectionDef &section : sections) {
        auto *box = new QGroupBox(section.title, this);
        auto *grid = new QGridLayout(box);
        grid->setHorizontalSpacing(6);
        grid->setVerticalSpacing(3);
        grid->setContentsMargins(8, 6, 8, 6);
        grid->setColumnMinimumWidth(0, 24);
        grid->setColumnMinimumWidth(1, kLabelWidth);
        grid->setColumnStretch(1, 1);
        QList<QLabel *> headings;
        for (qsizetype c = 0; c < section.columns.size(); ++c) {
            QLabel *heading = label(section.columns[c], u"column"_s, box);
            heading->setAlignment(Qt::AlignCenter);
            grid->addWidget(heading, 0, 2 + int(c));
            headings.append(heading);
        }
        headings_.append(headings);
        const int lastColumn = 1 + int(section.columns.size());
        int row = 1;
        for (qsizetype i = 0; i < section.lines.size(); ++i, ++row) {
            const LineDef &line = section.lines[i];
            if (!line.number.isEmpty())
                grid->addWidget(label(line.number, u"number"_s, box), row, 0, Qt::AlignLeft | Qt::AlignVCenter);
            if (line.cells.isEmpty()) {
                grid->addWidget(label(line.label, u"heading"_s, box), row, 1, 1, lastColumn);
                continue;
            }
            if (!line.label.isEmpty()) {
                QLabel *wording = label(line.label, u"wording"_s, box);
                wording->setWordWrap(true);
                // A line under a numbered heading is indented.
                if (line.number.isEmpty())
                    wording->setIndent(16);
                grid->addWidget(wording, row, 1, labelSpan(section.lines, i), 1);
            }
            for (const CellDef &cell : line.cells) {
                QWidget *w = makeCell(cell, table, prompter, readOnly);
                w->setParent(box);
                grid->addWidget(w, row, 2 + cell.column, Qt::AlignRight);
                if (cell.kind == CellKind::Split && !splitHeading_)
                    splitHeading_ = headings.value(cell.column);
            }
        }
        layout->addWidget(box);
    }
}

QWidget *ReturnPanel::makeCell(const CellDef &cell, engine::Table &table, platform::Prompter &prompter,
                               bool readOnly)
{
    ui::TDBEditz *edit = cell.kind == CellKind::Split ? new SplitEdit : new ui::TDBEditz;
    edit->setObjectName(u"DBEdit"_s + cell.field);
    // A typed figure of a finished return is only shown.
    edit->setProperty("cell", readOnly && isTyped(cell.kind) && cell.kind != CellKind::Override ? u"shown"_s
                                                                                                : cellStyle(cell.kind));
    edit->setDataSource(&table, cell.field);
    edit->setPrompter(&prompter);
    edit->setAlignment(Qt::AlignRight);
    edit->setFixedWidth(std::max(cellWidth(cell.kind), ui::fieldEditWidth(*edit)));
    if (cell.kind == CellKind::Override)
        setHint(edit, kOverrideHint);
    else if (cell.kind == CellKind::Split)
        setHint(edit, kSplitHint);
    else if (cell.kind == CellKind::Coefficient && cell.field == u"C550"_s)
        setHint(edit, kCoefficientHint);
    else if (cell.kind == CellKind::Control)
        setHint(edit, u"Kontrolní výpočet daně"_s);
    if (isTyped(cell.kind)) {
        edit->setReadOnly(readOnly);
        chain_.append(edit);
    } else {
        edit->setReadOnly(true);
        edit->setFocusPolicy(Qt::ClickFocus);
    }
    edits_.insert(cell.field, edit);
    if (cell.kind != CellKind::Rate && cell.kind != CellKind::Control)
        return edit;

    // A rate is followed by "%", a control value stands in brackets.
    auto *holder = new QWidget;
    auto *row = new QHBoxLayout(holder);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    if (cell.kind == CellKind::Control)
        row->addWidget(new QLabel(u"("_s, holder));
    edit->setParent(holder);
    row->addWidget(edit);
    row->addWidget(new QLabel(cell.kind == CellKind::Rate ? u"%"_s : u")"_s, holder));
    return holder;
}

QLabel *ReturnPanel::columnHeading(int section, int column) const
{
    return headings_.value(section).value(column);
}

void ReturnPanel::setSplitHeading(const QString &text)
{
    if (splitHeading_)
        splitHeading_->setText(text);
}

}  // namespace rur::vat
