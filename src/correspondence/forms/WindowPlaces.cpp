#include "correspondence/forms/WindowPlaces.h"

#include "platform/IniFile.h"
#include "ui/forms/WindowPlacer.h"
#include "vat/forms/WindowContext.h"

#include <QWidget>

using namespace Qt::StringLiterals;

namespace rur::correspondence {

void placeWindow(QWidget &window, const vat::WindowContext &ctx, const QString &stem, QPoint fallback)
{
    QPoint place = fallback;
    if (!ctx.dataSetIni.isEmpty() && !ctx.section.isEmpty()) {
        const platform::IniFile ini(ctx.dataSetIni);
        place = {ini.readInteger(ctx.section, stem + u"Left"_s, fallback.x()),
                 ini.readInteger(ctx.section, stem + u"Top"_s, fallback.y())};
    }
    ui::placeFrameAt(window, place);
}

void storeWindowPlace(const QWidget &window, const vat::WindowContext &ctx, const QString &stem)
{
    // A maximised or minimised window keeps the place it had before.
    if (ctx.dataSetIni.isEmpty() || ctx.section.isEmpty() || (window.windowState() & (Qt::WindowMaximized | Qt::WindowMinimized)))
        return;
    platform::IniFile ini(ctx.dataSetIni);
    const QPoint place = ui::framePlace(window);
    ini.writeInteger(ctx.section, stem + u"Top"_s, place.y());
    ini.writeInteger(ctx.section, stem + u"Left"_s, place.x());
}

}  // namespace rur::correspondence
