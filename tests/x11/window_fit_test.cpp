// Every window of the program on a real desktop: each edit as wide as the longest value of its
// field in the window's font, and each title whole on the window manager's title bar.
#include "WindowGallery.h"
#include "app/forms/QtPrompter.h"
#include "engine/NumberFormat.h"
#include "engine/Table.h"
#include "ui/forms/DBEditz.h"
#include "x11/x11_support.h"

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QComboBox>
#include <QDate>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTest>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace rur;

namespace {

QString className(const QWidget &w)
{
    const QString name = QString::fromLatin1(w.metaObject()->className());
    return name.mid(name.lastIndexOf(u':') + 1);
}

// The pixels an edit gives its text: the contents the style leaves inside the frame, less the
// text margins and the two pixels QLineEdit keeps on each side of its text.
int textRoom(const QLineEdit &edit)
{
    QStyleOptionFrame option;
    option.initFrom(&edit);
    option.rect = edit.rect();
    option.lineWidth = edit.hasFrame() ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit) : 0;
    const QRect contents = edit.style()->subElementRect(QStyle::SE_LineEditContents, &option, &edit);
    const QMargins margins = edit.textMargins();
    return contents.width() - margins.left() - margins.right() - 2 * 2;
}

// The pixels a text takes in the edit: its advance, the cursor after it, and how far its
// glyphs reach beyond their advance.
int textPixels(const QLineEdit &edit, const QString &text)
{
    const QFontMetrics m = edit.fontMetrics();
    int left = 0, right = 0;
    for (const QChar c : text) {
        left = std::max(left, -m.leftBearing(c));
        right = std::max(right, -m.rightBearing(c));
    }
    return m.horizontalAdvance(text) + 1 + left + right;
}

// Ordinary Czech text: capitals, diacritics, digits and blanks as names and addresses have.
const QString kCzechText =
    u"Stavební společnost Horní Bříza, Na Pankráci 1623/63, Žďár nad Sázavou, Příliš žluťoučký kůň"_s;
// Ordinary text is shown whole up to this many characters; longer text scrolls in its edit.
constexpr int kWholeText = 22;

// The longest value the edit shows, as the user would see it, and what kind it is; empty when
// the edit has no length of its own (a path, a search of any length).
QString longestValue(const QLineEdit &edit, QString *kind)
{
    const auto *bound = qobject_cast<const ui::TDBEditz *>(&edit);
    if (!bound || !bound->table()) {
        *kind = u"text"_s;
        return edit.maxLength() < 32767 ? kCzechText.left(std::min(edit.maxLength(), kWholeText)) : QString();
    }
    const engine::TableDef &table = bound->table()->def();
    const engine::FieldDef &f = table.fields.at(table.indexOf(bound->fieldName()));
    switch (f.type) {
    case engine::FieldType::Date:
        *kind = u"date"_s;
        return QDate(2018, 12, 28).toString(u"dd.MM.yyyy"_s);
    case engine::FieldType::Char:
        *kind = f.digits ? u"digits"_s : u"text"_s;
        // A digit is as wide as any other in the fonts here.
        return f.digits ? QString(f.size, u'0') : kCzechText.left(std::min(f.size, kWholeText));
    case engine::FieldType::Float:
    case engine::FieldType::Smallint:
    case engine::FieldType::Integer: {
        *kind = u"number"_s;
        // Its bounds as the field shows them; a whole number without one has its type's.
        const bool whole = f.type != engine::FieldType::Float;
        const double typeLow = f.type == engine::FieldType::Smallint ? -32768 : -2147483648.0;
        if (!whole && (!f.minValue || !f.maxValue))
            return u"(no bounds)"_s;
        const QString low = engine::formatFloat(f.minValue.value_or(typeLow), f.displayFormat);
        const QString high = engine::formatFloat(f.maxValue.value_or(-typeLow - 1), f.displayFormat);
        return low.size() > high.size() ? low : high;
    }
    default: return {};
    }
}

TEST(WindowFit, EveryEditShowsTheLongestValueOfItsField)
{
    int measured = 0;
    screenshots::visitEveryWindow({[&](QWidget &window, const QString &suffix) {
        if (!suffix.isEmpty())
            return;
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        for (QLineEdit *edit : window.findChildren<QLineEdit *>()) {
            // The edits of lists and spin boxes show their entries.
            if (qobject_cast<QComboBox *>(edit->parentWidget()) || qobject_cast<QAbstractSpinBox *>(edit->parentWidget()))
                continue;
            QString kind;
            const QString longest = longestValue(*edit, &kind);
            if (longest.isEmpty())
                continue;
            ++measured;
            SCOPED_TRACE((className(window) + u' ' + edit->objectName() + u" ("_s + kind + u"): "_s + longest).toStdString());
            EXPECT_NE(longest, u"(no bounds)"_s);
            EXPECT_LE(textPixels(*edit, longest), textRoom(*edit));
        }
        window.hide();
    }});
    // The gallery reached the windows: the return's alone have over a hundred edits.
    EXPECT_GT(measured, 200);
}

// The frame's bottom edge is as thin as its sides: the window manager drew no resize handle.
bool withoutResizeHandle(const QWidget &window)
{
    const QMargins frame = rur::testing::frameExtents(window);
    return frame.bottom() == frame.left();
}

TEST(WindowFit, DialogsWithoutAListKeepTheirSize)
{
    QStringList fixed;
    screenshots::visitEveryWindow({[&](QWidget &window, const QString &suffix) {
        // A list, table or text area of the window itself (a list box's popup is a window of
        // its own) is worth a larger window.
        bool list = false;
        for (const QAbstractScrollArea *area : window.findChildren<QAbstractScrollArea *>())
            list = list || area->window() == &window;
        if (!suffix.isEmpty() || !qobject_cast<QDialog *>(&window) || list)
            return;
        fixed.append(className(window));
        rur::testing::showFramed(window);
        EXPECT_TRUE(withoutResizeHandle(window)) << className(window).toStdString();
        window.hide();
    }});
    // The message boxes of the program.
    app::QtPrompter prompter;
    bool boxSeen = false;
    QTimer::singleShot(0, [&] {
        ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }, 3000));
        QWidget *box = QApplication::activeModalWidget();
        boxSeen = QTest::qWaitFor([box] { return !rur::testing::frameExtents(*box).isNull(); }, 5000);
        QTest::qWait(200);
        EXPECT_TRUE(withoutResizeHandle(*box));
        box->close();
    });
    prompter.information(u"Data byla zazálohována."_s);
    EXPECT_TRUE(boxSeen);
    EXPECT_GT(fixed.size(), 20) << fixed.join(u' ').toStdString();
}

TEST(WindowFit, EveryTitleIsShownWhole)
{
    QStringList seen;
    screenshots::visitEveryWindow({[&](QWidget &window, const QString &suffix) {
        // The splash has no frame.
        if (!suffix.isEmpty() || window.windowFlags().testFlag(Qt::FramelessWindowHint))
            return;
        seen.append(className(window));
        rur::testing::showFramed(window);
        QString why;
        EXPECT_TRUE(rur::testing::titleShownWhole(window, &why))
            << className(window).toStdString() << " \"" << window.windowTitle().toStdString() << "\": " << why.toStdString();
        window.hide();
    }});
    EXPECT_GT(seen.size(), 40);
}

}  // namespace
