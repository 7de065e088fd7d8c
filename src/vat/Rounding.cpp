#include "vat/Rounding.h"

#include "engine/NumberFormat.h"

#include <QString>
#include <cmath>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace rur::vat {

namespace {

double computedRound(long double value, int decimals, const QString &pattern)
{
    // A sum beyond what a double holds stays infinite, so that the field it goes into
    // refuses it; written out it would read back as 0.
    if (const double asDouble = static_cast<double>(value); !std::isfinite(asDouble))
        return asDouble;
    // 15 significant digits, as the value is first written out.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15Lg", value);
    QString text = QString::fromLatin1(buffer);
    double written = text.toDouble();
    const qsizetype point = text.indexOf(u'.');
    const bool exponent = text.contains(u'e') || text.contains(u'E');
    if (point >= 0 && !exponent) {
        const qsizetype places = text.size() - point - 1;
        // The nudge: one place past the kept ones decides, so a written half goes away
        // from zero even when the binary value lies just below it.
        if (places == decimals + 1) {
            const double step = std::pow(10.0, -(decimals + 2));
            written += written < 0 ? -step : step;
        }
    }
    return engine::textRound(written, pattern);
}

}  // namespace

double Zaokr0(long double value)
{
    return computedRound(value, 0, u"0"_s);
}

double Zaokr2(long double value)
{
    return computedRound(value, 2, u"0.00"_s);
}

double Zaokr4(long double value)
{
    return computedRound(value, 4, u"0.0000"_s);
}

double storeRound0(double value)
{
    return engine::textRound(value, u"0"_s);
}

double storeRound2(double value)
{
    return engine::textRound(value, u"0.00"_s);
}

}  // namespace rur::vat
