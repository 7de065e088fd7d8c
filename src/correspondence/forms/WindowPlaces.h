#pragma once

// Where the correspondence windows stand: two keys in the data set's section of its ini
// ("AdresarTop", "AdresarLeft"), read when a window opens and written when it closes in its
// normal state.

#include <QPoint>
#include <QString>

class QWidget;

namespace rur::vat {
struct WindowContext;
}

namespace rur::correspondence {

void placeWindow(QWidget &window, const vat::WindowContext &ctx, const QString &stem, QPoint fallback);
void storeWindowPlace(const QWidget &window, const vat::WindowContext &ctx, const QString &stem);

}  // namespace rur::correspondence
