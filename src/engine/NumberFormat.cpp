#include "engine/NumberFormat.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

using namespace Qt::StringLiterals;

namespace rur::engine {

namespace {

struct Pattern {
    int minIntDigits = 1;
    int requiredDecimals = 0;
    int optionalDecimals = 0;
    bool grouping = false;
};

Pattern parsePattern(const QString &pattern)
{
    Pattern p;
    const int dot = pattern.indexOf(u'.');
    const QString intPart = dot < 0 ? pattern : pattern.left(dot);
    p.minIntDigits = int(intPart.count(u'0'));
    p.grouping = intPart.contains(u',');
    if (dot >= 0) {
        // Every place up to the last '0' is required; '#' places after it are optional.
        const QString dec = pattern.mid(dot + 1);
        const int places = int(dec.count(u'0') + dec.count(u'#'));
        p.requiredDecimals = int(dec.lastIndexOf(u'0')) + 1;
        p.optionalDecimals = places - p.requiredDecimals;
    }
    return p;
}

// Number of binary digits after the point in the exact value of x (0 for integers).
int fractionalBits(double x)
{
    int exp = 0;
    const double f = std::frexp(std::fabs(x), &exp);
    if (f == 0.0)
        return 0;
    auto mant = static_cast<std::uint64_t>(std::ldexp(f, 53));
    int e = exp - 53;
    while (mant != 0 && (mant & 1U) == 0) {
        mant >>= 1;
        ++e;
    }
    return e < 0 ? -e : 0;
}

std::string fixed(double x, int decimals)
{
    char buf[512];
    auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, decimals);
    return std::string(buf, res.ptr);
}

// Adds one unit in the last place to a decimal digit string (no sign), carrying leftwards.
void incrementLastDigit(std::string &s)
{
    int i = int(s.size()) - 1;
    for (; i >= 0; --i) {
        if (s[i] == '.')
            continue;
        if (s[i] == '9') {
            s[i] = '0';
        } else {
            ++s[i];
            return;
        }
    }
    s.insert(s.begin(), '1');
}

// Fixed text of |x| with the given decimals, halves away from zero on the exact value.
std::string roundedMagnitude(double x, int decimals)
{
    const double a = std::fabs(x);
    // An exact tie needs exactly decimals+1 fractional bits: only then does the decimal
    // expansion end in a 5 right after the last kept digit.
    if (fractionalBits(a) == decimals + 1) {
        std::string s = fixed(a, decimals + 1);  // exact, ends in '5'
        s.pop_back();
        if (!s.empty() && s.back() == '.')
            s.pop_back();
        incrementLastDigit(s);
        return s;
    }
    return fixed(a, decimals);
}

}  // namespace

QString formatFloat(double value, const QString &pattern, QChar decimalSeparator)
{
    if (std::isnan(value) || std::isinf(value))
        return QString();
    if (pattern.isEmpty()) {
        QString s = QString::number(value, 'g', 15);
        if (decimalSeparator != u'.')
            s.replace(u'.', decimalSeparator);
        return s;
    }
    const Pattern p = parsePattern(pattern);
    const int decimals = p.requiredDecimals + p.optionalDecimals;
    std::string mag = roundedMagnitude(value, decimals);
    std::string intDigits = mag, frac;
    if (const auto dot = mag.find('.'); dot != std::string::npos) {
        intDigits = mag.substr(0, dot);
        frac = mag.substr(dot + 1);
    }
    while (int(frac.size()) > p.requiredDecimals && !frac.empty() && frac.back() == '0')
        frac.pop_back();
    // Leading zeros beyond the pattern's minimum go away ("#.##" of 0.5 gives ",5").
    while (int(intDigits.size()) > p.minIntDigits && !intDigits.empty() && intDigits.front() == '0')
        intDigits.erase(intDigits.begin());
    while (int(intDigits.size()) < p.minIntDigits)
        intDigits.insert(intDigits.begin(), '0');
    if (p.grouping && intDigits.size() > 3) {
        std::string g;
        const int n = int(intDigits.size());
        for (int i = 0; i < n; ++i) {
            if (i > 0 && (n - i) % 3 == 0)
                g.push_back('\x01');
            g.push_back(intDigits[i]);
        }
        intDigits = g;
    }
    const bool zero = (intDigits + frac).find_first_not_of("0\x01") == std::string::npos;
    QString out;
    if (value < 0 && !zero)
        out += u'-';
    out += QString::fromLatin1(intDigits.data(), qsizetype(intDigits.size())).replace(QChar(1), QChar(0xA0));
    if (!frac.empty()) {
        out += decimalSeparator;
        out += QString::fromLatin1(frac.data(), qsizetype(frac.size()));
    }
    return out;
}

double textRound(double value, const QString &pattern)
{
    // Infinity and NaN have no text: they go on as they are, for the field to refuse them,
    // rather than turning into a plausible 0.
    if (!std::isfinite(value))
        return value;
    return parseNumber(formatFloat(value, pattern, u'.')).value_or(0.0);
}

std::optional<double> parseNumber(const QString &text)
{
    QString t = text.trimmed();
    t.remove(u' ');
    t.remove(QChar(0xA0));
    t.replace(u',', u'.');
    if (t.isEmpty())
        return std::nullopt;
    const QByteArray bytes = t.toLatin1();
    const char *begin = bytes.constData();
    const char *end = begin + bytes.size();
    if (*begin == '+')
        ++begin;
    double v = 0;
    auto res = std::from_chars(begin, end, v, std::chars_format::general);
    if (res.ec != std::errc() || res.ptr != end || std::isnan(v) || std::isinf(v))
        return std::nullopt;
    return v;
}

QString shortestText(double value)
{
    char buf[64];
    // Fixed notation: scripts reading the figures expect 100000, not 1e+05. The largest
    // amount (eleven digits) and the smallest fraction fit the buffer.
    char big[400];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    if (res.ec != std::errc()) {
        res = std::to_chars(big, big + sizeof big, value, std::chars_format::fixed);
        return QString::fromLatin1(big, res.ptr - big);
    }
    return QString::fromLatin1(buf, res.ptr - buf);
}

}  // namespace rur::engine
