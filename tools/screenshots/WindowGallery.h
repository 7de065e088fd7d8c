#pragma once

#include <QString>
#include <functional>

class QImage;
class QWidget;

namespace rur::screenshots {

// What is done with each window of the gallery and, when given, with each printout's page.
struct GalleryVisitor {
    // The window, not shown yet; suffix "" for the window as it opens, "-page2" and the like
    // for its further pages. The visitor shows and hides it.
    std::function<void(QWidget &window, const QString &suffix)> window;
    // A printout's page at 150 dpi under its report's class name; printouts are not laid out
    // when this is empty.
    std::function<void(const QImage &page, const QString &name)> page = {};
};

// Builds every window of the program over a demo data set in a temporary data root, one
// after another, and hands each to the visitor before destroying it. Throws EngineError
// and ReportError.
void visitEveryWindow(const GalleryVisitor &visit);

}  // namespace rur::screenshots
