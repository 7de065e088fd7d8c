#include "platform/Cp1250.h"

#include <array>
#include <cstddef>

namespace rur::platform {

namespace {

constexpr char16_t kUndefined = 0xFFFD;

// Unicode of the bytes 0x80..0xFF.
constexpr std::array<char16_t, 128> kUpperHalf = {
    0x20AC, 0xFFFD, 0x201A, 0xFFFD, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0xFFFD, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,  // 0x88
    0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0xFFFD, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,  // 0x98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,  // 0xA0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,  // 0xA8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  // 0xB0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,  // 0xB8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,  // 0xC0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,  // 0xC8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,  // 0xD0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,  // 0xD8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,  // 0xE0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,  // 0xE8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,  // 0xF0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,  // 0xF8
};

// Every character of the upper half lies below U+2123 (the highest is the trade mark
// sign), so the reverse mapping is a direct table indexed by the UTF-16 unit, built at
// compile time; 0 marks a character the code page lacks.
constexpr char16_t kReverseLimit = 0x2123;

constexpr std::array<unsigned char, kReverseLimit> buildReverse()
{
    std::array<unsigned char, kReverseLimit> reverse{};
    for (std::size_t i = 0; i < kUpperHalf.size(); ++i) {
        const char16_t u = kUpperHalf[i];
        if (u != kUndefined && u < kReverseLimit)
            reverse[u] = static_cast<unsigned char>(0x80 + i);
    }
    return reverse;
}

constexpr std::array<unsigned char, kReverseLimit> kReverse = buildReverse();

// 0 when the unit has no byte (0 itself is ASCII and never looked up here).
unsigned char upperByteFor(char16_t u)
{
    return u < kReverseLimit ? kReverse[u] : 0;
}

}  // namespace

bool representableInCp1250(QChar c)
{
    const char16_t u = c.unicode();
    return u < 0x80 || upperByteFor(u) != 0;
}

QByteArray toCp1250(const QString &text)
{
    QByteArray out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = text.at(i).unicode();
        if (u < 0x80) {
            out.append(static_cast<char>(u));
            continue;
        }
        if (const unsigned char b = upperByteFor(u)) {
            out.append(static_cast<char>(b));
            continue;
        }
        // A surrogate pair is one character, so it gets one '?'.
        if (QChar::isHighSurrogate(u) && i + 1 < n && text.at(i + 1).isLowSurrogate())
            ++i;
        out.append('?');
    }
    return out;
}

QString fromCp1250(const QByteArray &bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    QChar *dst = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes.at(i));
        dst[i] = QChar(b < 0x80 ? static_cast<char16_t>(b) : kUpperHalf[b - 0x80]);
    }
    return out;
}

}  // namespace rur::platform
