#include "kh/ReturnTransfer.h"

#include "data/DataM1.h"
#include "engine/EngineError.h"
#include "engine/GroupWrite.h"
#include "engine/Table.h"
#include "kh/StatementFile.h"
#include "platform/Prompter.h"
#include "vat/Rounding.h"

using namespace Qt::StringLiterals;

namespace rur::kh {

namespace {

double crowns(qint64 hellers)
{
    return vat::Zaokr0(static_cast<long double>(hellers) / 100.0L);
}

// The A2 lines and the fields of their base and tax.
struct A2Line {
    int line;
    const char16_t *base;
    const char16_t *tax;
};
constexpr A2Line kA2Lines[] = {{3, u"C220", u"C220a"}, {4, u"C225", u"C225a"}, {5, u"C230", u"C230a"},
                               {6, u"C235", u"C235a"}, {9, u"C255", u"C255a"}, {12, u"C270", u"C270a"},
                               {13, u"C275", u"C275a"}};

}  // namespace

QList<transfer::ReturnFigure> transferFigures(const RegisterSums &sums)
{
    const SectionSums &a1 = sums.of(Section::A1), &a2 = sums.of(Section::A2), &a4 = sums.of(Section::A4),
                      &a5 = sums.of(Section::A5), &b1 = sums.of(Section::B1), &b2 = sums.of(Section::B2),
                      &b3 = sums.of(Section::B3);
    QList<transfer::ReturnFigure> figures = {
        {1, u"C210"_s, crowns(a4.base[0] + a5.base[0])},
        {1, u"C210a"_s, crowns(a4.tax[0] + a5.tax[0])},
        {1, u"C215"_s, crowns(a4.reducedBase() + a5.reducedBase())},
        {1, u"C215a"_s, crowns(a4.reducedTax() + a5.reducedTax())},
        {1, u"C110"_s, crowns(b1.base[0])},
        {1, u"C110a"_s, crowns(b1.tax[0])},
        {1, u"C111"_s, crowns(b1.reducedBase())},
        {1, u"C111a"_s, crowns(b1.reducedTax())},
        {1, u"C25"_s, crowns(a1.base[0] + a1.reducedBase())},
    };
    for (const A2Line &l : kA2Lines) {
        const SectionSums line = sums.a2Lines.value(l.line);
        figures.append({1, QString::fromUtf16(l.base), crowns(line.base[0] + line.reducedBase())});
        figures.append({1, QString::fromUtf16(l.tax), crowns(line.tax[0] + line.reducedTax())});
    }
    figures += QList<transfer::ReturnFigure>{
        {2, u"C310"_s, crowns(b2.base[0] + b3.base[0])},
        {2, u"C310a"_s, crowns(b2.tax[0] + b3.tax[0])},
        {2, u"C315"_s, crowns(b2.reducedBase() + b3.reducedBase())},
        {2, u"C315a"_s, crowns(b2.reducedTax() + b3.reducedTax())},
        {2, u"C320"_s, crowns(a2.base[0] + b1.base[0])},
        {2, u"C320a"_s, crowns(a2.tax[0] + b1.tax[0])},
        {2, u"C325"_s, crowns(a2.reducedBase() + b1.reducedBase())},
        {2, u"C325a"_s, crowns(a2.reducedTax() + b1.reducedTax())},
    };
    return figures;
}

void writeReturnFigures(data::TDM1 &dm, const QList<transfer::ReturnFigure> &figures)
{
    engine::Table *const parts[] = {dm.Dtabn1.get(), dm.Dtabn2.get()};
    QVariantList kept[2];
    for (int i = 0; i < 2; ++i) {
        engine::Table &t = *parts[i];
        if (!t.isActive())
            t.open();
        t.checkBrowseMode();
        for (int f = 0; f < t.fieldCount(); ++f)
            kept[i].append(t.fieldAt(f).isCalculated() ? QVariant() : t.fieldAt(f).value());
    }
    // The row is written anew with what it held and the figures, as one change of both tables.
    engine::GroupWrite write;
    try {
        for (int i = 0; i < 2; ++i) {
            engine::Table &t = *parts[i];
            write.removeAll(t);
            t.append();
            for (int f = 0; f < t.fieldCount(); ++f)
                if (!t.fieldAt(f).isCalculated())
                    t.fieldAt(f).setValue(kept[i][f]);
            for (const transfer::ReturnFigure &figure : figures)
                if (figure.part == i + 1)
                    t.field(figure.field).setValue(figure.value);
            write.insert(t);
        }
        write.commit();
    } catch (...) {
        for (engine::Table *t : parts)
            t->cancel();
        throw;
    }
}

bool transferToReturn(data::TDM1 &dm, platform::Prompter &prompter)
{
    if (!prompter.confirm(QString::fromUtf16(kTransferQuestion)))
        return false;
    try {
        platform::BusyGuard busy(prompter);
        writeReturnFigures(dm, transferFigures(sumRegister(loadRegister(dm))));
        dm.Obnovit1();
    } catch (const engine::EngineError &e) {
        prompter.error(QString::fromUtf16(kTransferFailed) + u'\n' + e.message());
        return false;
    }
    prompter.information(QString::fromUtf16(kTransferDone));
    return true;
}

}  // namespace rur::kh
