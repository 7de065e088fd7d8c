#include "platform/Cp1250.h"
#include "support/printers.h"

#include <gtest/gtest.h>
#include <ostream>

using namespace Qt::StringLiterals;
using rur::platform::fromCp1250;
using rur::platform::representableInCp1250;
using rur::platform::toCp1250;

namespace {

const QByteArray kUndefinedBytes = "\x81\x83\x88\x90\x98"_ba;

TEST(Cp1250, CzechTextBothWays)
{
    const QString text = u"Příliš žluťoučký kůň úpěl ďábelské ódy"_s;
    const QByteArray bytes = "\x50\xF8\xED\x6C\x69\x9A\x20\x9E\x6C\x75\x9D\x6F\x75\xE8\x6B\xFD\x20\x6B\xF9\xF2"
                             "\x20\xFA\x70\xEC\x6C\x20\xEF\xE1\x62\x65\x6C\x73\x6B\xE9\x20\xF3\x64\x79"_ba;
    EXPECT_EQ(toCp1250(text), bytes);
    EXPECT_EQ(fromCp1250(bytes), text);
    // Capitals and the signs most likely to appear in documents.
    EXPECT_EQ(toCp1250(u"ŘŠČŽŤĎŇŮ€„“–™§"_s), "\xD8\x8A\xC8\x8E\x8D\xCF\xD2\xD9\x80\x84\x93\x96\x99\xA7"_ba);
    EXPECT_EQ(toCp1250(u"ő ł Ł"_s), "\xF5 \xB3 \xA3"_ba);
}

TEST(Cp1250, EveryDefinedByteRoundTrips)
{
    for (int b = 0; b < 256; ++b) {
        const QByteArray one(1, static_cast<char>(b));
        if (kUndefinedBytes.contains(one.at(0)))
            continue;
        const QString decoded = fromCp1250(one);
        ASSERT_EQ(decoded.size(), 1) << "byte " << b;
        EXPECT_NE(decoded.at(0), QChar(QChar::ReplacementCharacter)) << "byte " << b;
        EXPECT_TRUE(representableInCp1250(decoded.at(0))) << "byte " << b;
        EXPECT_EQ(toCp1250(decoded), one) << "byte " << b;
    }
}

TEST(Cp1250, ExactlyTheTableIsRepresentable)
{
    // 256 bytes minus the 5 undefined ones; any extra character would mean a wrong reverse table.
    int representable = 0;
    for (int u = 0; u <= 0xFFFF; ++u) {
        const QChar c(static_cast<char16_t>(u));
        if (!representableInCp1250(c))
            continue;
        ++representable;
        EXPECT_EQ(fromCp1250(toCp1250(QString(c))), QString(c)) << "U+" << std::hex << u;
    }
    EXPECT_EQ(representable, 251);
}

TEST(Cp1250, UndefinedBytesDecodeToReplacementCharacter)
{
    const QString decoded = fromCp1250("a"_ba + kUndefinedBytes + "b"_ba);
    EXPECT_EQ(decoded, u"a\uFFFD\uFFFD\uFFFD\uFFFD\uFFFDb"_s);
    EXPECT_EQ(toCp1250(decoded), "a?????b"_ba);
}

TEST(Cp1250, CharactersOutsideBecomeOneQuestionMarkEach)
{
    EXPECT_EQ(toCp1250(u"中文"_s), "??"_ba);
    EXPECT_EQ(toCp1250(u"ñ"_s), "?"_ba);  // Latin-1, but 0xF1 is ń here
    // A character beyond the BMP takes two UTF-16 units but is one character.
    EXPECT_EQ(toCp1250(u"a\U0001F600b"_s), "a?b"_ba);
    // Lone surrogates are broken text; each unit is replaced without reading past the end.
    EXPECT_EQ(toCp1250(QString(QChar(0xD800)) + u"x"_s + QChar(0xDC00)), "?x?"_ba);
    EXPECT_EQ(toCp1250(QString(QChar(0xD800))), "?"_ba);
    EXPECT_FALSE(representableInCp1250(QChar(0x4E2D)));
    EXPECT_FALSE(representableInCp1250(QChar(QChar::ReplacementCharacter)));
}

TEST(Cp1250, AsciiAndNulPassThrough)
{
    const QByteArray ascii = "A\0z~\x7F"_ba;
    EXPECT_EQ(fromCp1250(ascii), QString::fromLatin1(ascii));
    EXPECT_EQ(toCp1250(QString::fromLatin1(ascii)), ascii);
    EXPECT_TRUE(fromCp1250(QByteArray()).isEmpty());
    EXPECT_TRUE(toCp1250(QString()).isEmpty());
}

}  // namespace
