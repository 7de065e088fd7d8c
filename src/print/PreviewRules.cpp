#include "print/PreviewRules.h"

#include "platform/IniFile.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace rur::print {

void browsePages(BrowseState &state, int page, const std::function<void(int)> &preview)
{
    state.on = true;
    state.first = 1;
    state.last = 2;
    state.offset = 0;
    state.current = page;
    while (state.current >= state.first && state.current <= state.last) {
        const int before = state.current;
        state.previous = state.current - 1;
        state.next = state.current + 1;
        preview(state.current);
        if (state.current == before)
            break;
    }
    state.on = false;
}

void PreviewPaging::start(int pageCount, BrowseState *browse)
{
    browse_ = browse && browse->on ? browse : nullptr;
    page_ = 1;
    if (browse_) {
        count_ = browse_->last - browse_->offset;
        commands_ = true;
        const int c = browse_->current;
        buttons_ = {c > browse_->first, c > browse_->first, c < browse_->last, c < browse_->last};
        browse_->shown = c;
        return;
    }
    count_ = qMax(1, pageCount);
    commands_ = count_ > 1;
    enableNormal();
}

void PreviewPaging::enableNormal()
{
    if (count_ <= 1) {
        buttons_ = {};
        return;
    }
    buttons_ = {page_ > 1, page_ > 1, page_ < count_, page_ < count_};
}

QString PreviewPaging::pagePanel() const
{
    const int shown = browse_ ? browse_->current - browse_->offset : page_;
    return u"Strana "_s + QString::number(shown) + u" z "_s + QString::number(count_);
}

bool PreviewPaging::go(Step step)
{
    if (!commands_)
        return false;
    if (browse_) {
        BrowseState &b = *browse_;
        const int before = b.current;
        switch (step) {
        case Step::First:
            if (b.current > b.first)
                b.current = b.first;
            break;
        case Step::Prior:
            if (b.current > b.first)
                b.current = b.previous;
            break;
        case Step::Next:
            if (b.current < b.last)
                b.current = b.next;
            break;
        case Step::Last:
            if (b.current < b.last)
                b.current = b.last;
            break;
        }
        return b.current != before;
    }
    switch (step) {
    case Step::First: page_ = 1; break;
    case Step::Prior: page_ = qMax(1, page_ - 1); break;
    case Step::Next: page_ = qMin(count_, page_ + 1); break;
    case Step::Last: page_ = count_; break;
    }
    enableNormal();
    return false;
}

void PreviewPaging::closeButton()
{
    if (browse_)
        browse_->current = 0;
}

void PreviewPaging::hidden()
{
    if (browse_ && browse_->current == browse_->shown)
        browse_->current = 0;
}

ZoomInput parseZoom(const QString &text)
{
    QString t = text.trimmed();
    if (t.endsWith(u'%'))
        t.chop(1);
    bool ok = false;
    const int value = t.trimmed().toInt(&ok);
    if (!ok || value < 1)
        return {};
    if (value > kMaxZoom)
        return {ZoomInput::TooLarge, value};
    return {ZoomInput::Valid, value};
}

namespace {

int clampZoom(double percent)
{
    return std::clamp(int(std::floor(percent)), 1, kMaxZoom);
}

}  // namespace

int fitWindowZoom(const QSizeF &viewport, const QSizeF &page)
{
    if (page.isEmpty())
        return 100;
    return clampZoom(qMin(viewport.width() / page.width(), viewport.height() / page.height()) * 100.0);
}

int fitWidthZoom(const QSizeF &viewport, const QSizeF &page)
{
    if (page.isEmpty())
        return 100;
    return clampZoom(viewport.width() / page.width() * 100.0);
}

int readPreviewZoom(const QString &dataSetIni)
{
    if (dataSetIni.isEmpty())
        return 100;
    const int zoom = platform::IniFile(dataSetIni).readInteger(u"Tisk"_s, u"Nahled"_s, 100);
    return zoom >= 1 && zoom <= kMaxZoom ? zoom : 100;
}

bool writePreviewZoom(const QString &dataSetIni, int percent)
{
    if (dataSetIni.isEmpty())
        return false;
    platform::IniFile ini(dataSetIni);
    return ini.writeInteger(u"Tisk"_s, u"Nahled"_s, percent);
}

}  // namespace rur::print
