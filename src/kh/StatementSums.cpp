#include "kh/StatementSums.h"

#include "data/DataM1.h"
#include "engine/Table.h"

using namespace Qt::StringLiterals;

namespace rur::kh {

namespace {

// The whole-crown figure of fields of the current row of a return table; 0 when closed.
double returnFigure(engine::Table &t, const QStringList &fields)
{
    double sum = 0;
    if (t.isActive() && !t.isEmpty())
        for (const QString &f : fields)
            sum += t.field(f).asFloat();
    return sum;
}

QString digitsGrouped(qint64 value)
{
    QString digits = QString::number(value);
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, u' ');
    return digits;
}

}  // namespace

void SectionSums::add(const Document &d)
{
    for (int i = 0; i < 3; ++i) {
        base[i] += d.base[i];
        tax[i] += d.tax[i];
    }
    ++rows;
}

RegisterSums sumRegister(const QList<Document> &documents)
{
    RegisterSums sums;
    for (const Document &d : documents) {
        sums.reported[size_t(reportedIn(d))].add(d);
        if (d.section == Section::A2)
            sums.a2Lines[d.radek].add(d);
    }
    return sums;
}

QList<ControlLine> controlLines(data::TDM1 &dm, const RegisterSums &sums)
{
    const SectionSums &a1 = sums.of(Section::A1), &a2 = sums.of(Section::A2), &a4 = sums.of(Section::A4),
                      &a5 = sums.of(Section::A5), &b1 = sums.of(Section::B1), &b2 = sums.of(Section::B2),
                      &b3 = sums.of(Section::B3);
    const QString out = u"Dtabn1"_s, ded = u"Dtabn2"_s;
    QList<ControlLine> lines = {
        {"obrat23", u"ř. 1"_s, out, {u"C210"_s}, 0, a4.base[0] + a5.base[0]},
        {"obrat5", u"ř. 2"_s, out, {u"C215"_s}, 0, a4.reducedBase() + a5.reducedBase()},
        {"pln23", u"ř. 40"_s, ded, {u"C310"_s}, 0, b2.base[0] + b3.base[0]},
        {"pln5", u"ř. 41"_s, ded, {u"C315"_s}, 0, b2.reducedBase() + b3.reducedBase()},
        {"pln_rez_pren", u"ř. 25"_s, out, {u"C25"_s}, 0, a1.base[0] + a1.reducedBase()},
        {"rez_pren23", u"ř. 10"_s, out, {u"C110"_s}, 0, b1.base[0]},
        {"rez_pren5", u"ř. 11"_s, out, {u"C111"_s}, 0, b1.reducedBase()},
        {"celk_zd_a2", u"ř. 3, 4, 5, 6, 9, 12 a 13"_s, out,
         {u"C220"_s, u"C225"_s, u"C230"_s, u"C235"_s, u"C255"_s, u"C270"_s, u"C275"_s}, 0,
         a2.base[0] + a2.reducedBase()},
    };
    for (ControlLine &l : lines)
        l.returnValue = returnFigure(l.table == out ? *dm.Dtabn1 : *dm.Dtabn2, l.fields);
    return lines;
}

QString crownsText(qint64 hellers)
{
    const qint64 whole = std::llabs(hellers) / 100, cents = std::llabs(hellers) % 100;
    QString text = (hellers < 0 ? u"-"_s : QString()) + digitsGrouped(whole);
    if (cents != 0)
        text += u',' + QString::number(cents).rightJustified(2, u'0');
    return text + u" Kč"_s;
}

QByteArray decimalText(qint64 hellers)
{
    const qint64 whole = std::llabs(hellers) / 100, cents = std::llabs(hellers) % 100;
    QByteArray text = (hellers < 0 ? "-" : "") + QByteArray::number(whole);
    if (cents != 0) {
        text += '.';
        text += char('0' + cents / 10);
        if (cents % 10 != 0)
            text += char('0' + cents % 10);
    }
    return text;
}

}  // namespace rur::kh
