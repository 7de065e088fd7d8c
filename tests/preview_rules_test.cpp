// The preview's rules without a window: the zoom box's reading of typed text, the fitting
// zooms, and the print centre's browsing loop.
#include "print/PreviewRules.h"

#include <QList>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace rur::print;

TEST(PreviewRules, ZoomBoxReadsWholePercentagesUpTo500)
{
    const struct {
        QString text;
        ZoomInput::Kind kind;
        int percent;
    } cases[] = {
        {u"75"_s, ZoomInput::Valid, 75},        {u"75%"_s, ZoomInput::Valid, 75},   {u" 150 % "_s, ZoomInput::Valid, 150},
        {u"500"_s, ZoomInput::Valid, 500},      {u"501"_s, ZoomInput::TooLarge, 501}, {u"600%"_s, ZoomInput::TooLarge, 600},
        {u"0"_s, ZoomInput::Ignored, 0},        {u"-5"_s, ZoomInput::Ignored, 0},   {u"7,5"_s, ZoomInput::Ignored, 0},
        {u"%"_s, ZoomInput::Ignored, 0},        {u"sto"_s, ZoomInput::Ignored, 0},
    };
    for (const auto &c : cases) {
        const ZoomInput z = parseZoom(c.text);
        EXPECT_EQ(z.kind, c.kind) << c.text.toStdString();
        if (c.kind != ZoomInput::Ignored) {
            EXPECT_EQ(z.percent, c.percent) << c.text.toStdString();
        }
    }
    // A4 (794 x 1123 units) in a viewport of 600 x 400 and of 3000 x 9000 pixels.
    const QSizeF a4(793.7, 1122.5);
    EXPECT_EQ(fitWindowZoom(QSizeF(600, 400), a4), 35);
    EXPECT_EQ(fitWidthZoom(QSizeF(600, 400), a4), 75);
    EXPECT_EQ(fitWidthZoom(QSizeF(30000, 400), a4), 500);
    EXPECT_EQ(fitWindowZoom(QSizeF(0, 0), a4), 1);
}

TEST(PreviewRules, BrowsingFollowsThePreviewAndEndsWhenThePageStaysPut)
{
    BrowseState state;
    QList<int> shown;
    // The user pages ">" on page 1, ">" again on page 2 (nothing: the last page), then closes.
    PreviewPaging paging;
    browsePages(state, 1, [&](int page) {
        shown.append(page);
        paging.start(1, &state);
        if (shown.size() == 1) {
            EXPECT_EQ(paging.buttons(), (PagingButtons{false, false, true, true}));
            EXPECT_TRUE(paging.go(PreviewPaging::Step::Next));
        } else {
            EXPECT_EQ(paging.buttons(), (PagingButtons{true, true, false, false}));
            EXPECT_EQ(paging.pagePanel(), u"Strana 2 z 2"_s);
            EXPECT_FALSE(paging.go(PreviewPaging::Step::Next));
            paging.hidden();
        }
    });
    EXPECT_EQ(shown, (QList<int>{1, 2}));
    EXPECT_EQ(state.current, 0);
    EXPECT_FALSE(state.on);
    // A preview that could not be shown leaves the page as it was: the loop still ends.
    shown.clear();
    browsePages(state, 2, [&](int page) { shown.append(page); });
    EXPECT_EQ(shown, QList<int>{2});
    // Normal mode over three pages.
    PreviewPaging normal;
    normal.start(3, nullptr);
    EXPECT_TRUE(normal.commandsEnabled());
    EXPECT_FALSE(normal.go(PreviewPaging::Step::Last));
    EXPECT_EQ(normal.reportPage(), 2);
    EXPECT_EQ(normal.buttons(), (PagingButtons{true, true, false, false}));
    normal.start(1, nullptr);
    EXPECT_FALSE(normal.commandsEnabled());
    EXPECT_EQ(normal.buttons(), PagingButtons{});
}
