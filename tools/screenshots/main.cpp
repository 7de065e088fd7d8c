// rur_screenshots: renders every window of the program over a demo data set into PNG files,
// one per window class (TEtab1Form.png, ...), so that all of them can be looked at without
// clicking through the program. Usage: rur_screenshots [OUTPUT-FOLDER]
#include "WindowGallery.h"
#include "app/forms/RurApplication.h"
#include "engine/EngineError.h"
#include "report/ReportError.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <QWidget>
#include <cstdio>

using namespace Qt::StringLiterals;
using namespace rur;

namespace {

// The window as painted, under a strip with its caption (offscreen windows have no frame).
QImage withTitle(QWidget &window)
{
    const QPixmap body = window.grab();
    const int strip = window.fontMetrics().height() + 10;
    QImage image(body.width(), body.height() + strip, QImage::Format_RGB32);
    image.fill(QColor(0x3c, 0x5a, 0x82));
    QPainter painter(&image);
    painter.setPen(Qt::white);
    painter.setFont(window.font());
    painter.drawText(QRect(8, 0, body.width() - 16, strip), Qt::AlignVCenter | Qt::AlignLeft, window.windowTitle());
    painter.drawPixmap(0, strip, body);
    return image;
}

class Shots {
public:
    explicit Shots(QString folder) : folder_(std::move(folder)) {}

    // Shows the window offscreen, paints it and saves it under its class name (and the
    // suffix, for further pages of one window).
    void take(QWidget &window, const QString &suffix)
    {
        window.show();
        QTest::qWait(50);
        QString name = QString::fromLatin1(window.metaObject()->className());
        name = name.mid(name.lastIndexOf(u':') + 1);
        save(withTitle(window), name + suffix);
        window.hide();
    }
    // A printout's page as the printer gets it, under the report's class name.
    void save(const QImage &image, const QString &name)
    {
        const QString path = folder_ + u'/' + name + u".png"_s;
        if (!image.save(path)) {
            std::fprintf(stderr, "Nelze zapsat %s\n", qPrintable(path));
            failed_ = true;
        } else {
            std::printf("%s\n", qPrintable(path));
        }
    }
    bool failed() const { return failed_; }

private:
    QString folder_;
    bool failed_ = false;
};

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The program's own application object: its translations and its rules for every window.
    app::RurApplication application(argc, argv);
    // Absolute: opening a data set changes the current directory.
    const QString folder = QDir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : u"screenshots"_s).absolutePath();
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "Nelze vytvořit složku %s\n", qPrintable(folder));
        return 1;
    }
    Shots shots(folder);
    try {
        screenshots::visitEveryWindow({[&](QWidget &window, const QString &suffix) { shots.take(window, suffix); },
                                       [&](const QImage &page, const QString &name) { shots.save(page, name); }});
    } catch (const engine::EngineError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    } catch (const report::ReportError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    return shots.failed() ? 1 : 0;
}
