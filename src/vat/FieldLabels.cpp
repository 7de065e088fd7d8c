#include "vat/FieldLabels.h"

#include "data/DataM1.h"
#include "engine/Table.h"
#include "vat/ReturnLines.h"
#include "vat/TaxpayerLayout.h"

using namespace Qt::StringLiterals;

namespace rur::vat {

namespace {

// Labels of the typed fields of return window n: the line's number, and the column (or the
// wording of an unnumbered sub-line) where a line has more than one.
QList<std::pair<QString, QString>> returnLabels(int n)
{
    QList<std::pair<QString, QString>> out;
    for (const SectionDef &section : returnSections(n)) {
        QString number;
        for (const LineDef &line : section.lines) {
            if (!line.number.isEmpty())
                number = line.number;
            if (number.isEmpty())
                continue;
            int typed = 0;
            for (const CellDef &cell : line.cells)
                typed += isTyped(cell.kind) ? 1 : 0;
            for (const CellDef &cell : line.cells) {
                if (!isTyped(cell.kind))
                    continue;
                QString label = u"ř. "_s + number;
                QString detail = line.number.isEmpty() ? line.label : QString();
                if (typed > 1)
                    detail = cell.kind == CellKind::Split ? u"Částka k rozpočítání"_s : section.columns.value(cell.column);
                if (!detail.isEmpty())
                    label += u" – "_s + detail;
                out.append({cell.field, label});
            }
        }
    }
    return out;
}

}  // namespace

void labelFields(data::TDM1 &dm)
{
    const std::pair<int, QList<engine::Table *>> windows[] = {{1, {dm.Dtabn1.get(), dm.Dtabn1s.get()}},
                                                               {2, {dm.Dtabn1.get(), dm.Dtabn1s.get()}},
                                                               {3, {dm.Dtabn2.get(), dm.Dtabn2s.get()}},
                                                               {4, {dm.Dtabn3.get()}}};
    for (const auto &[n, tables] : windows)
        for (const auto &[field, label] : returnLabels(n))
            for (engine::Table *t : tables)
                t->setFieldLabel(field, label);
    for (const TaxpayerPage &page : taxpayerPages())
        for (const TaxpayerItem &item : page.items)
            dm.Prp->setFieldLabel(item.field, taxpayerFieldLabel(item));
    dm.Dcis->setFieldLabel(u"Dd"_s, u"Snížená sazba daně"_s);
    dm.Dcis->setFieldLabel(u"Hd"_s, u"Základní sazba daně"_s);
    dm.Prp->setFieldLabel(u"Dan"_s, u"Zapisovat"_s);
}

}  // namespace rur::vat
