#include "x11/x11_support.h"

#include "data/Templates.h"
#include "datasets/Catalogue.h"
#include "datasets/forms/Auto1Form.h"

#include <QGuiApplication>
#include <QHash>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace rur::testing {

void OpenedDataSet::SetUp()
{
    data::installDataRoot(tmp.path() + u"/common/Tervik/RUR 2018/"_s);
    const app::TMainForm::Environment env{tmp.path() + u"/prg"_s, tmp.path() + u"/common"_s, tmp.path() + u"/docs"_s,
                                          QSize(1024, 768)};
    form = std::make_unique<app::TMainForm>(env, prompter);
    form->catalogue()->beginNew();
    ASSERT_TRUE(form->catalogue()->finishNew(u"Firma"_s));
    form->selectionRunner = [] { return int(datasets::TAuto1Form::ResultOpen); };
    form->VyberDanoveho();
    ASSERT_TRUE(form->dataSetOpen());
    // The creation's question is no test's.
    prompter.messages.clear();
}

void OpenedDataSet::TearDown()
{
    form.reset();
    QDir::setCurrent(savedCwd);
}

vat::WindowContext OpenedDataSet::ctx()
{
    vat::WindowContext c{form->dataModule(), prompter};
    c.dataSetIni = form->directories().dataSetIni();
    c.section = form->directories().dataSetDir;
    c.screenWidth = 1024;
    return c;
}

namespace {

// A property of the window as xprop prints it: what follows " = ".
QString windowProperty(const QWidget &window, const QString &name)
{
    QProcess xprop;
    xprop.start(u"xprop"_s, {u"-id"_s, QString::number(window.winId()), name});
    if (!xprop.waitForFinished(5000))
        return u"(xprop hangs)"_s;
    const QString out = QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
    const qsizetype at = out.indexOf(u" = "_s);
    return at < 0 ? QString() : out.mid(at + 3);
}

}  // namespace

QMargins frameExtents(const QWidget &window)
{
    const QStringList parts = windowProperty(window, u"_NET_FRAME_EXTENTS"_s).split(u", "_s);
    if (parts.size() != 4)
        return {};
    return {parts[0].toInt(), parts[2].toInt(), parts[1].toInt(), parts[3].toInt()};
}

QRect frameRect(const QWidget &window)
{
    return window.geometry().marginsAdded(frameExtents(window));
}

void showFramed(QWidget &window)
{
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !frameExtents(window).isNull(); }, 5000)) << "no frame";
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    // Under load the window manager may still be placing the frame: wait until it has stood
    // still for a moment.
    QRect last;
    int still = 0;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const QRect now = frameRect(window);
            still = now == last ? still + 1 : 0;
            last = now;
            return still >= 3;
        },
        5000))
        << "the frame does not settle";
    QTest::qWait(300);
}

QString wmTitle(const QWidget &window)
{
    const QString quoted = windowProperty(window, u"_NET_WM_NAME"_s);
    return quoted.startsWith(u'"') ? quoted.mid(1).chopped(1) : quoted;
}

QImage titleBar(const QWidget &window)
{
    // Of a window wider than the screen, what the screen shows.
    const QRect frame = frameRect(window);
    const QRect bar = QRect(frame.left(), frame.top(), frame.width(), window.geometry().top() - frame.top())
                          .intersected(QGuiApplication::primaryScreen()->geometry());
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, bar.x(), bar.y(), bar.width(), bar.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

namespace {

bool differs(QRgb a, QRgb b, int by)
{
    return std::abs(qRed(a) - qRed(b)) > by || std::abs(qGreen(a) - qGreen(b)) > by || std::abs(qBlue(a) - qBlue(b)) > by;
}

struct Span {
    int from, to;
};

// Runs of columns with something drawn on the bar's background (the colour most of each row
// has), split where at least `gap` columns are empty; the bar's outer columns are its border.
QList<Span> drawnSpans(const QImage &bar, int gap)
{
    QList<QRgb> background;
    for (int y = 0; y < bar.height(); ++y) {
        QHash<QRgb, int> counts;
        for (int x = 0; x < bar.width(); ++x)
            ++counts[bar.pixel(x, y)];
        QRgb most = 0;
        int best = -1;
        for (auto it = counts.cbegin(); it != counts.cend(); ++it)
            if (it.value() > best) {
                best = it.value();
                most = it.key();
            }
        background.append(most);
    }
    QList<Span> spans;
    int empty = gap;
    for (int x = 3; x < bar.width() - 3; ++x) {
        bool drawn = false;
        for (int y = 2; y < bar.height() - 2 && !drawn; ++y)
            drawn = differs(bar.pixel(x, y), background[y], 40);
        if (!drawn) {
            ++empty;
            continue;
        }
        if (empty >= gap || spans.isEmpty())
            spans.append({x, x});
        spans.last().to = x;
        empty = 0;
    }
    return spans;
}

// Whether `part` appears in `image` at some column, row for row.
bool containsColumns(const QImage &image, const QImage &part)
{
    if (image.height() != part.height())
        return false;
    for (int x = 0; x + part.width() <= image.width(); ++x) {
        int wrong = 0;
        const int allowed = part.width() * part.height() / 50;
        for (int px = 0; px < part.width() && wrong <= allowed; ++px)
            for (int y = 0; y < part.height() && wrong <= allowed; ++y)
                if (differs(image.pixel(x + px, y), part.pixel(px, y), 24))
                    ++wrong;
        if (wrong <= allowed)
            return true;
    }
    return false;
}

// The same, where the bar may be a row or two lower than the part's (a maximized window's bar
// has no border above): every way of laying the rows over each other.
bool containsTitle(const QImage &bar, const QImage &title)
{
    const int rows = std::min(bar.height(), title.height());
    if (rows < title.height() - 2)
        return false;
    for (int barTop = 0; barTop + rows <= bar.height(); ++barTop)
        for (int titleTop = 0; titleTop + rows <= title.height(); ++titleTop)
            if (containsColumns(bar.copy(0, barTop, bar.width(), rows), title.copy(0, titleTop, title.width(), rows)))
                return true;
    return false;
}

}  // namespace

bool titleShownWhole(QWidget &window, QString *why)
{
    // The same title on a window far wider than any title needs: the whole title, as the
    // window manager draws it.
    QWidget wide;
    wide.setWindowTitle(window.windowTitle());
    wide.resize(900, 40);
    showFramed(wide);
    const QImage reference = titleBar(wide);
    wide.close();
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window)) {
        *why = u"the window does not become active again"_s;
        return false;
    }
    QTest::qWait(200);
    // On the wide bar: the icon, the title, and the buttons.
    const QList<Span> spans = drawnSpans(reference, 24);
    if (spans.size() < 3) {
        *why = u"no title found on the wide window's bar"_s;
        return false;
    }
    const int from = spans[1].from, to = spans[spans.size() - 2].to;
    const QImage title = reference.copy(from, 0, to - from + 1, reference.height());
    if (!containsTitle(titleBar(window), title)) {
        *why = u"the bar shows less than the title's %1 pixels"_s.arg(title.width());
        return false;
    }
    return true;
}

}  // namespace rur::testing
