#include "report/Layouter.h"

#include "report/DataSource.h"
#include "report/Expression.h"
#include "report/Fonts.h"
#include "report/ReportError.h"

#include <QDateTime>
#include <cmath>
#include <map>
#include <memory>

using namespace Qt::StringLiterals;

namespace rur::report {

namespace {

// Marks where the page count goes until every page is known.
constexpr char16_t kPageCountMark = u'\xE000';

struct GrowthInfo {
    const ReportItem *memo = nullptr;  // the first growing memo, which breaks across pages
    QStringList memoLines;
    double growth = 0;  // how much the band grows beyond its declared height
    QList<std::pair<const ReportItem *, double>> grown;  // every growing memo and its growth
};

class Layouter {
public:
    Layouter(const ReportLayout &layout, const QMap<QString, DataSource *> &sources)
        : layout_(layout), sources_(sources)
    {
        page_ = layout.pageSizeUnits();
        margin_ = layout.leftMarginMm * kUnitsPerMm;
        top_ = layout.topMarginMm * kUnitsPerMm;
        bottom_ = page_.height() - layout.bottomMarginMm * kUnitsPerMm;
        for (const ReportBand &b : layout.bands) {
            if (!b.visible)
                continue;
            switch (b.kind) {
            case BandKind::Title: title_ = &b; break;
            case BandKind::PageHeader: pageHeader_ = &b; break;
            case BandKind::ColumnHeader: columnHeader_ = &b; break;
            case BandKind::Detail: detail_ = &b; break;
            case BandKind::SubDetail: subDetails_.append(&b); break;
            case BandKind::GroupHeader: groupHeaders_.append(&b); break;
            case BandKind::GroupFooter: groupFooters_.append(&b); break;
            case BandKind::Summary: summary_ = &b; break;
            case BandKind::PageFooter: pageFooter_ = &b; break;
            }
        }
        for (const ReportBand &b : layout.bands)
            for (const ReportItem &i : b.items)
                if (i.kind == ItemKind::ComputedText)
                    expressions_.emplace(&i, Expression(i.expression));
        check();
    }

    PreparedReport run()
    {
        out_.name = layout_.name;
        out_.caption = layout_.caption;
        out_.pageSize = layout_.pageSize;
        out_.orientation = layout_.orientation;
        out_.pageSizeUnits = page_;

        newPage();
        if (title_)
            printBand(*title_);
        if (columnHeader_)
            printBand(*columnHeader_);
        DataSource *rows = detail_ ? sourceOf(*detail_) : nullptr;
        if (detail_ && !rows) {
            // A detail band without a source prints once.
            printDetail();
        } else if (rows) {
            rows->first();
            QList<QVariant> groupValues;
            bool firstRow = true;
            while (!rows->eof()) {
                QList<QVariant> values;
                for (const ReportBand *g : groupHeaders_)
                    values.append(groupValue(*g));
                qsizetype changed = firstRow ? 0 : groupHeaders_.size();
                for (qsizetype k = 0; !firstRow && k < groupHeaders_.size(); ++k)
                    if (values[k] != groupValues[k]) {
                        changed = k;
                        break;
                    }
                if (!firstRow)
                    for (qsizetype k = groupHeaders_.size() - 1; k >= changed; --k)
                        printGroupFooter(*groupHeaders_[k]);
                for (qsizetype k = changed; k < groupHeaders_.size(); ++k)
                    printBand(*groupHeaders_[k]);
                groupValues = values;
                firstRow = false;
                printDetail();
                rows->next();
            }
            if (!firstRow)
                for (qsizetype k = groupHeaders_.size() - 1; k >= 0; --k)
                    printGroupFooter(*groupHeaders_[k]);
        }
        if (summary_)
            printBand(*summary_);
        finishPage();
        for (DataSource *s : sources_)
            if (s)
                s->finish();
        fillPageCounts();
        return std::move(out_);
    }

private:
    // Every source and field the layout names must be there, so that a wrong layout is
    // reported instead of printing blanks.
    void check() const
    {
        const auto need = [&](const QString &source, const QString &field, const QString &itemName) {
            const DataSource *s = sources_.value(source);
            if (!s)
                throw ReportError(u"Sestava "_s + layout_.name + u": zdroj dat "_s + source + u" položky "_s + itemName
                                  + u" není k dispozici."_s);
            if (!field.isEmpty() && !s->hasField(field))
                throw ReportError(u"Sestava "_s + layout_.name + u": pole "_s + source + u'.' + field + u" položky "_s
                                  + itemName + u" neexistuje."_s);
        };
        for (const ReportBand &b : layout_.bands) {
            if (!b.source.isEmpty())
                need(b.source, {}, b.name);
            for (const ReportItem &i : b.items) {
                if (i.kind == ItemKind::DataText)
                    need(i.source, i.field, i.name);
                if (i.kind == ItemKind::ComputedText)
                    for (const QString &s : expressions_.at(&i).sourceNames())
                        need(s, {}, i.name);
            }
        }
    }

    DataSource *sourceOf(const ReportBand &band) const
    {
        return band.source.isEmpty() ? nullptr : sources_.value(band.source);
    }

    QVariant groupValue(const ReportBand &header) const
    {
        const qsizetype dot = header.group.indexOf(u'.');
        const DataSource *s = sources_.value(header.group.left(dot));
        return s && dot > 0 ? s->value(header.group.mid(dot + 1)) : QVariant();
    }

    void printDetail()
    {
        ++detailNumber_;
        for (auto &[item, expression] : expressions_)
            expression.accumulate(sources_);
        printBand(*detail_);
        for (const ReportBand *sub : subDetails_) {
            DataSource *s = sourceOf(*sub);
            if (!s) {
                printBand(*sub);
                continue;
            }
            for (s->first(); !s->eof(); s->next())
                printBand(*sub);
        }
    }

    void printGroupFooter(const ReportBand &header)
    {
        for (const ReportBand *f : groupFooters_) {
            if (f->group.compare(header.group, Qt::CaseInsensitive) != 0)
                continue;
            printBand(*f);
            for (const ReportItem &i : f->items)
                if (i.kind == ItemKind::ComputedText)
                    expressions_.at(&i).resetAggregates();
        }
    }

    void newPage()
    {
        out_.pages.append(PreparedPage());
        ++pageNumber_;
        y_ = top_;
        footerTop_ = bottom_ - (pageFooter_ ? pageFooter_->height : 0);
        if (pageHeader_)
            placeWhole(*pageHeader_);
        if (columnHeader_ && pageNumber_ > 1)
            placeWhole(*columnHeader_);
        pageHasContent_ = false;
    }

    void finishPage()
    {
        if (pageFooter_) {
            y_ = footerTop_;
            placeWhole(*pageFooter_);
        }
    }

    void breakPage()
    {
        finishPage();
        newPage();
    }

    QString textOf(const ReportItem &i) const
    {
        switch (i.kind) {
        case ItemKind::Label:
        case ItemKind::Memo: return i.text;
        case ItemKind::DataText: {
            const DataSource *s = sources_.value(i.source);
            if (!s)
                return {};
            return formatValue(s->value(i.field), i.format.isEmpty() ? s->displayFormat(i.field) : i.format,
                               i.trueText, i.falseText);
        }
        case ItemKind::ComputedText: return expressions_.at(&i).evaluate(sources_, i.format);
        case ItemKind::SystemData: {
            const QDateTime now = QDateTime::currentDateTime();
            switch (i.system) {
            case SystemDataKind::PageNumber: return i.text + QString::number(pageNumber_);
            case SystemDataKind::PageCount: return i.text + QChar(kPageCountMark);
            case SystemDataKind::Date: return i.text + now.toString(u"dd.MM.yyyy"_s);
            case SystemDataKind::Time: return i.text + now.toString(u"HH:mm:ss"_s);
            case SystemDataKind::DateTime: return i.text + now.toString(u"dd.MM.yyyy HH:mm:ss"_s);
            case SystemDataKind::DetailNumber: return i.text + QString::number(detailNumber_);
            }
            return {};
        }
        case ItemKind::Shape: break;
        }
        return {};
    }

    static double heightOf(const ReportItem &i)
    {
        return i.height > 0 ? i.height : std::ceil(lineHeight(i.font));
    }

    static double memoLineHeight(const ReportItem &i)
    {
        return i.lineSpacing > 0 ? double(i.lineSpacing) : lineHeight(i.font);
    }

    // The lines a memo shows: wrapped to its width, all of them when it grows, else as many
    // as its height holds.
    static QStringList memoLines(const ReportItem &i, const QString &text)
    {
        QStringList lines = i.wordWrap ? wrapLines(i.font, text, i.width) : text.split(u'\n');
        if (!i.stretch) {
            const int fit = qMax(1, int(std::floor(heightOf(i) / memoLineHeight(i) + 1e-9)));
            if (lines.size() > fit)
                lines = lines.mid(0, fit);
        }
        return lines;
    }

    GrowthInfo growthOf(const ReportBand &band) const
    {
        GrowthInfo g;
        for (const ReportItem &i : band.items) {
            if (!i.visible || i.kind != ItemKind::Memo || !i.stretch)
                continue;
            const QStringList lines = memoLines(i, textOf(i));
            const double grow = qMax(0.0, double(lines.size()) * memoLineHeight(i) - heightOf(i));
            if (!g.memo) {
                g.memo = &i;
                g.memoLines = lines;
            }
            g.growth = qMax(g.growth, grow);
            g.grown.append({&i, grow});
        }
        return g;
    }

    // How far an item moves down because a growing memo above it grew.
    static double shiftOf(const GrowthInfo &g, const ReportItem &item)
    {
        double shift = 0;
        for (const auto &[memo, growth] : g.grown)
            if (memo != &item && item.top >= memo->top + heightOf(*memo))
                shift = qMax(shift, growth);
        return shift;
    }

    void place(const ReportItem &i, double x, double y, const QString &text, const QStringList *lines = nullptr)
    {
        PlacedItem p;
        p.name = i.name;
        p.font = i.font;
        p.alignment = i.alignment;
        QRectF rect(x, y, i.width, heightOf(i));
        if (i.kind == ItemKind::Shape) {
            p.kind = PlacedItem::Kind::Shape;
            p.shape = i.shape;
            p.penWidth = i.penWidth;
            p.brush = i.brush;
        } else if (i.kind == ItemKind::Memo) {
            const QStringList shown = lines ? *lines : memoLines(i, text);
            p.text = shown.join(u'\n');
            p.lineHeight = memoLineHeight(i);
            if (i.stretch)
                rect.setHeight(qMax(lines ? 0.0 : rect.height(), shown.size() * p.lineHeight));
        } else {
            p.text = text;
            if (i.autoSize)
                rect = fitted(rect, i.alignment, textWidth(i.font, text));
        }
        p.rect = rect;
        if (p.text.contains(QChar(kPageCountMark)))
            pendingCounts_.append({int(out_.pages.size()) - 1, int(out_.pages.last().items.size()), QRectF(x, y, i.width, rect.height()), i.autoSize});
        out_.pages.last().items.append(p);
    }

    static QRectF fitted(QRectF rect, Qt::Alignment alignment, double width)
    {
        if (alignment & Qt::AlignRight)
            rect.setLeft(rect.right() - width);
        else if (alignment & Qt::AlignHCenter)
            rect = QRectF(rect.center().x() - width / 2, rect.top(), width, rect.height());
        else
            rect.setWidth(width);
        return rect;
    }

    void background(const ReportBand &band, double height)
    {
        if (!band.color.isValid() || band.color == QColor(Qt::white) || height <= 0)
            return;
        PlacedItem p;
        p.kind = PlacedItem::Kind::Shape;
        p.name = band.name;
        p.rect = QRectF(margin_, y_, band.width > 0 ? band.width : page_.width(), height);
        p.penWidth = 0;
        p.brush = band.color;
        out_.pages.last().items.append(p);
    }

    // The band at the current position, grown with its memos, without breaking it.
    void placeWhole(const ReportBand &band)
    {
        const GrowthInfo g = growthOf(band);
        background(band, band.height + g.growth);
        for (const ReportItem &i : band.items)
            if (i.visible)
                place(i, margin_ + i.left, y_ + i.top + shiftOf(g, i), textOf(i));
        y_ += band.height + g.growth;
    }

    void printBand(const ReportBand &band)
    {
        const GrowthInfo g = growthOf(band);
        const double height = band.height + g.growth;
        if (y_ + height > footerTop_ + 1e-6) {
            const bool canBreak = g.memo && g.memoLines.size() > 1;
            if (canBreak && y_ + g.memo->top + memoLineHeight(*g.memo) <= footerTop_) {
                placeBroken(band, g);
                return;
            }
            if (pageHasContent_)
                breakPage();
            if (y_ + height > footerTop_ + 1e-6 && canBreak) {
                placeBroken(band, g);
                pageHasContent_ = true;
                return;
            }
        }
        placeWhole(band);
        pageHasContent_ = true;
    }

    // A band whose growing memo continues on the following pages: the items beside and above
    // the memo stay with its first lines, the items below it follow its last line.
    void placeBroken(const ReportBand &band, const GrowthInfo &g)
    {
        const ReportItem &memo = *g.memo;
        const double memoBottom = memo.top + heightOf(memo);
        const double lh = memoLineHeight(memo);
        for (const ReportItem &i : band.items)
            if (i.visible && &i != &memo && i.top < memoBottom)
                place(i, margin_ + i.left, y_ + i.top, textOf(i));
        const QStringList &lines = g.memoLines;
        double top = y_ + memo.top;
        bool freshPage = !pageHasContent_;
        qsizetype done = 0;
        while (true) {
            qsizetype fit = qMax<qsizetype>(0, qsizetype(std::floor((footerTop_ - top) / lh + 1e-9)));
            if (fit == 0 && freshPage)
                fit = 1;  // a line higher than the whole page is printed anyway
            if (fit > 0) {
                const QStringList part = lines.mid(done, fit);
                place(memo, margin_ + memo.left, top, QString(), &part);
                done += part.size();
                top += double(part.size()) * lh;
                if (done >= lines.size())
                    break;
            }
            breakPage();
            top = y_;
            freshPage = true;
        }
        // What lies below the memo keeps its distance from the memo's last line.
        const double below = band.height - memoBottom;
        if (top + below > footerTop_ + 1e-6 && below > 0) {
            breakPage();
            top = y_;
        }
        for (const ReportItem &i : band.items)
            if (i.visible && &i != &memo && i.top >= memoBottom)
                place(i, margin_ + i.left, top + (i.top - memoBottom), textOf(i));
        y_ = top + qMax(0.0, below);
        pageHasContent_ = true;
    }

    void fillPageCounts()
    {
        const QString count = QString::number(out_.pages.size());
        for (const Pending &p : std::as_const(pendingCounts_)) {
            PlacedItem &item = out_.pages[p.page].items[p.index];
            item.text.replace(QChar(kPageCountMark), count);
            if (p.autoSize)
                item.rect = fitted(p.declared, item.alignment, textWidth(item.font, item.text));
        }
    }

    struct Pending {
        int page;
        int index;
        QRectF declared;
        bool autoSize;
    };

    const ReportLayout &layout_;
    const QMap<QString, DataSource *> &sources_;
    std::map<const ReportItem *, Expression> expressions_;
    const ReportBand *title_ = nullptr, *pageHeader_ = nullptr, *columnHeader_ = nullptr, *detail_ = nullptr,
                     *summary_ = nullptr, *pageFooter_ = nullptr;
    QList<const ReportBand *> subDetails_, groupHeaders_, groupFooters_;
    PreparedReport out_;
    QSizeF page_;
    double margin_ = 0, top_ = 0, bottom_ = 0, footerTop_ = 0, y_ = 0;
    int pageNumber_ = 0;
    int detailNumber_ = 0;
    bool pageHasContent_ = false;
    QList<Pending> pendingCounts_;
};

}  // namespace

PreparedReport layOut(const ReportLayout &layout, const QMap<QString, DataSource *> &sources)
{
    Layouter layouter(layout, sources);
    return layouter.run();
}

}  // namespace rur::report
