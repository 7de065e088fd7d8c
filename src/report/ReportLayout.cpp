#include "report/ReportLayout.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace rur::report {

ReportItem *ReportLayout::item(const QString &itemName)
{
    for (ReportBand &b : bands)
        for (ReportItem &i : b.items)
            if (i.name.compare(itemName, Qt::CaseInsensitive) == 0)
                return &i;
    return nullptr;
}

const ReportItem *ReportLayout::item(const QString &itemName) const
{
    return const_cast<ReportLayout *>(this)->item(itemName);
}

ReportBand *ReportLayout::band(BandKind kind)
{
    for (ReportBand &b : bands)
        if (b.kind == kind)
            return &b;
    return nullptr;
}

ReportBand *ReportLayout::band(const QString &bandName)
{
    for (ReportBand &b : bands)
        if (b.name.compare(bandName, Qt::CaseInsensitive) == 0)
            return &b;
    return nullptr;
}

QList<ReportItem *> ReportLayout::items()
{
    QList<ReportItem *> out;
    for (ReportBand &b : bands)
        for (ReportItem &i : b.items)
            out.append(&i);
    return out;
}

QSizeF ReportLayout::pageSizeUnits() const
{
    const QSizeF mm = QPageSize(pageSize).size(QPageSize::Millimeter);
    const QSizeF units(mm.width() * kUnitsPerMm, mm.height() * kUnitsPerMm);
    return orientation == QPageLayout::Landscape ? units.transposed() : units;
}

int headerHeightFromMm(int mm)
{
    // A band can't be lower than nothing: a negative offset leaves the page where it is.
    return mm <= 0 ? 0 : int(std::lround(mm * 3.8));
}

void PrevodPisma1(ReportLayout &layout)
{
    const auto toCe = [](FontSpec &font) {
        if (!font.family.contains(u" CE"_s))
            font.family += u" CE"_s;
    };
    toCe(layout.font);
    for (ReportItem *i : layout.items())
        if (i->kind != ItemKind::Shape)
            toCe(i->font);
}

}  // namespace rur::report
