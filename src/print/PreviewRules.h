#pragma once

// What the preview window does, apart from drawing: its paging in normal and browse mode,
// the zoom box and the zoom kept per data set.

#include <QSizeF>
#include <QString>
#include <functional>

namespace rur::print {

// Page browsing of the return pages, shared by the print centre and the preview window for
// one "Náhled" command: the preview's paging buttons change the current page and close the
// window, and the print centre previews the new current page.
struct BrowseState {
    bool on = false;
    int first = 1;
    int last = 2;
    int current = 0;
    int previous = 0;
    int next = 0;
    int offset = 0;  // subtracted from the current page in the page panel
    int shown = 0;   // the current page when the window was shown
};

// The print centre's loop: starting at `page`, previews the current page while it lies
// between the first and the last page. Ends also when a preview leaves the current page as
// it was (one that could not be shown), so that a failure can't loop forever.
void browsePages(BrowseState &state, int page, const std::function<void(int page)> &preview);

struct PagingButtons {
    bool first = false;  // "|<"
    bool prior = false;  // "<"
    bool next = false;   // ">"
    bool last = false;   // ">|"
    bool operator==(const PagingButtons &) const = default;
};

class PreviewPaging {
public:
    enum class Step { First, Prior, Next, Last };

    // Showing the window: a report of pageCount pages, or the browse state of the print centre.
    void start(int pageCount, BrowseState *browse);

    int pageCount() const { return count_; }
    // The page of the report on screen (0-based): in browse mode the report has one page.
    int reportPage() const { return browse_ ? 0 : page_ - 1; }
    QString pagePanel() const;  // "Strana 1 z 2"
    PagingButtons buttons() const { return buttons_; }
    bool commandsEnabled() const { return commands_; }

    // A paging button or key. Normal mode moves the page; browse mode changes the print
    // centre's current page and returns true when it did: the window then closes.
    bool go(Step step);
    // "Zavřít": browsing ends.
    void closeButton();
    // The window hides: a current page still equal to the shown one ends browsing.
    void hidden();

private:
    void enableNormal();

    BrowseState *browse_ = nullptr;
    int count_ = 1;
    int page_ = 1;
    PagingButtons buttons_;
    bool commands_ = false;
};

// The zoom box: the largest zoom, its message, and what a typed text means.
inline constexpr int kMaxZoom = 500;
inline constexpr char16_t kZoomTooLarge[] = u"Číslo může být maximálně 500.";
struct ZoomInput {
    enum Kind { Ignored, TooLarge, Valid } kind = Ignored;
    int percent = 0;
};
// A trailing "%" is dropped; a text that is no whole number, or below 1, is ignored.
ZoomInput parseZoom(const QString &text);
// Zoom that shows the whole page in the viewport, or its width only; from 1 to 500.
int fitWindowZoom(const QSizeF &viewport, const QSizeF &page);
int fitWidthZoom(const QSizeF &viewport, const QSizeF &page);

// [Tisk] Nahled of the data-set ini, 100 when absent or out of range.
int readPreviewZoom(const QString &dataSetIni);
bool writePreviewZoom(const QString &dataSetIni, int percent);

}  // namespace rur::print
