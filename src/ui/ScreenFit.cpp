#include "ui/ScreenFit.h"

#include <algorithm>

namespace rur::ui {

QPoint keepOnScreen(const QRect &frame, const QRect &available)
{
    if (!available.isValid())
        return frame.topLeft();
    const auto fit = [](int pos, int length, int start, int areaLength) {
        return std::max(start, std::min(pos, start + areaLength - length));
    };
    return {fit(frame.x(), frame.width(), available.x(), available.width()),
            fit(frame.y(), frame.height(), available.y(), available.height())};
}

}  // namespace rur::ui
