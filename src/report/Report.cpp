#include "report/Report.h"

#include "report/Layouter.h"

using namespace Qt::StringLiterals;

namespace rur::report {

const PlacedItem *PreparedReport::find(const QString &itemName, int page) const
{
    if (page < 0 || page >= pages.size())
        return nullptr;
    for (const PlacedItem &i : pages[page].items)
        if (i.name == itemName)
            return &i;
    return nullptr;
}

QList<const PlacedItem *> PreparedReport::findAll(const QString &itemName) const
{
    QList<const PlacedItem *> out;
    for (const PreparedPage &p : pages)
        for (const PlacedItem &i : p.items)
            if (i.name == itemName)
                out.append(&i);
    return out;
}

Report::Report(ReportLayout layout) : layout_(std::move(layout)) {}

void Report::setDataSource(const QString &name, DataSource *source)
{
    sources_.insert(name, source);
}

void Report::setPageHeaderHeight(int units)
{
    ReportBand *header = layout_.band(BandKind::PageHeader);
    if (!header) {
        ReportBand band;
        band.kind = BandKind::PageHeader;
        band.name = u"PageHeaderBand"_s;
        layout_.bands.prepend(band);
        header = &layout_.bands.first();
    }
    header->height = qMax(0, units);
}

ReportItem *Report::item(const QString &itemName)
{
    // Hundreds of labels are filled by name before each output.
    if (index_.isEmpty())
        for (ReportItem *i : layout_.items())
            index_.insert(i->name.toLower(), i);
    return index_.value(itemName.toLower());
}

bool Report::setLabelText(const QString &itemName, const QString &text)
{
    ReportItem *i = item(itemName);
    if (!i || i->kind != ItemKind::Label)
        return false;
    i->text = text;
    return true;
}

PreparedReport Report::prepare()
{
    return layOut(layout_, sources_);
}

}  // namespace rur::report
