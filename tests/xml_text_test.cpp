// Escaping and the encodings of the filing file.
#include "platform/Cp1250.h"
#include "print/XmlText.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace rur;
using print::convertFromCp1250;

namespace {

QByteArray byte(int b)
{
    return QByteArray(1, static_cast<char>(b));
}

}  // namespace

TEST(XmlText, Utf8WritesEveryCharacterOfTheCodePageProperly)
{
    QByteArray all;
    for (int b = 0x80; b <= 0xFF; ++b) {
        const QString c = platform::fromCp1250(byte(b));
        if (c == QString(QChar(QChar::ReplacementCharacter)))
            continue;  // undefined in the code page
        all += byte(b);
        EXPECT_EQ(convertFromCp1250(byte(b), print::KodUtf8), c.toUtf8()) << std::hex << b;
    }
    // Quotes, dashes, the euro sign and the no-break space included: the text is valid UTF-8.
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString decoded = utf8(convertFromCp1250(all, print::KodUtf8L2));
    EXPECT_FALSE(utf8.hasError());
    EXPECT_EQ(decoded, platform::fromCp1250(all));
    EXPECT_EQ(convertFromCp1250("\x8A\x84\x93\x96\x80\xA0", print::KodUtf8),
              QByteArray("\xC5\xA0\xE2\x80\x9E\xE2\x80\x9C\xE2\x80\x93\xE2\x82\xAC\xC2\xA0"));
}

TEST(XmlText, SingleByteEncodings)
{
    QByteArray all;
    for (int b = 0; b <= 0xFF; ++b)
        all += byte(b);
    EXPECT_EQ(convertFromCp1250(all, print::KodCp1250), all);
    EXPECT_EQ(convertFromCp1250(all, print::KodCp1250L2), all);

    // ISO 8859-2: each letter the two code pages share lands on its ISO byte; the rest (quotes,
    // dashes, the euro sign) becomes '?': copied, it would read as another letter or a control.
    const QByteArray iso = convertFromCp1250(all, print::KodIso88592);
    ASSERT_EQ(iso.size(), 256);
    EXPECT_EQ(iso.left(0x80), all.left(0x80));
    EXPECT_EQ(iso.at(0x8A), '\xA9');  // Š
    EXPECT_EQ(iso.at(0x9E), '\xBE');  // ž
    EXPECT_EQ(iso.at(0x94), '?');  // ” is not in ISO 8859-2
    EXPECT_EQ(convertFromCp1250(platform::toCp1250(u"µ©„x“–®"_s), print::KodIso88592), QByteArray("???x???"));
    QStringEncoder toIso("ISO-8859-2");
    if (!toIso.isValid())
        GTEST_SKIP() << "no ISO 8859-2 converter in this Qt";
    int moved = 0;
    for (int b = 0x80; b <= 0xFF; ++b) {
        const QString c = platform::fromCp1250(byte(b));
        QStringEncoder encoder("ISO-8859-2", QStringConverter::Flag::Stateless);
        const QByteArray expected = encoder(c);
        const bool inIso = !encoder.hasError() && expected != "?" && c != QString(QChar(QChar::ReplacementCharacter));
        EXPECT_EQ(iso.mid(b, 1), inIso ? expected : QByteArray("?")) << std::hex << b;
        moved += inIso && expected != byte(b);
    }
    EXPECT_EQ(moved, 15);
}

TEST(XmlText, EscapingAndItsLimit)
{
    EXPECT_EQ(print::escapeAttribute("A&B <Praha> \"x\" a^b 'c' &lt;"),
              QByteArray("A&amp;B &lt;Praha&gt; &quot;x&quot; ab 'c' &amp;lt;"));
    // An entity that would pass the limit is left out, with every later one of its character;
    // the other characters still get theirs while they fit.
    EXPECT_EQ(print::escapeAttribute("a&b&c<d", 10), QByteArray("abc&lt;d"));
    EXPECT_EQ(print::escapeAttribute(QByteArray("a\x01" "b\x1f" "\tc", 6)), QByteArray("a?b?\tc"));
    EXPECT_EQ(print::escapeAttribute("a&b<c&d", 12), QByteArray("a&amp;bcd"));
    const QByteArray nearLimit(16378, 'a');
    EXPECT_EQ(print::escapeAttribute(nearLimit + "&&"), nearLimit + "&amp;");
    EXPECT_EQ(print::escapeAttribute(nearLimit + "\"").size(), 16384);  // exactly at the limit
}

TEST(XmlText, ConversionAndCutLimits)
{
    // A character that doesn't fit is dropped; a shorter one after it still goes in.
    EXPECT_EQ(convertFromCp1250("\x8A\x8A" "a", print::KodUtf8, 3), QByteArray("\xC5\xA0" "a"));
    EXPECT_EQ(convertFromCp1250("abc", print::KodCp1250, 2), QByteArray("ab"));
    // Cutting never leaves half a UTF-8 character.
    EXPECT_EQ(print::cutConverted("a\xC5\xA0" "b", 2, print::KodUtf8), QByteArray("a"));
    EXPECT_EQ(print::cutConverted("a\xE2\x82\xAC", 3, print::KodUtf8), QByteArray("a"));
    EXPECT_EQ(print::cutConverted("a\x8A" "b", 2, print::KodCp1250), QByteArray("a\x8A"));
    EXPECT_EQ(print::cutConverted("ab", 5, print::KodUtf8), QByteArray("ab"));
}

TEST(XmlText, UpperCaseAndMemoLines)
{
    EXPECT_EQ(print::upperCp1250(u"česká ťava žluťoučká µ 😀"_s),
              platform::toCp1250(u"ČESKÁ ŤAVA ŽLUŤOUČKÁ µ ?"_s));

    EXPECT_EQ(print::memoLines(QString()), QStringList());
    EXPECT_EQ(print::memoLines(u"\r\n"_s), QStringList{QString()});
    EXPECT_EQ(print::memoLines(u"a\r\n"_s), QStringList{u"a"_s});
    EXPECT_EQ(print::memoLines(u"a\r\n\r\nb"_s), (QStringList{u"a"_s, QString(), u"b"_s}));
    EXPECT_EQ(print::memoLines(u"a\rb\nc\n\n"_s), (QStringList{u"a"_s, u"b"_s, u"c"_s, QString()}));
}

TEST(XmlText, AnAttributeAtTheLimitIsNeverCutInsideAnEntity)
{
    // Escaped text that just fits, until letters of two UTF-8 bytes push the cut into the
    // entities; and the same shifted by one to four bytes, so that every place in an entity is hit.
    for (int shift = 0; shift < 5; ++shift) {
        const QString text = QString(16 + shift, u'č') + QString(3300, u'&') + u"<\"konec\">"_s;
        for (const int kod : {print::KodUtf8, print::KodCp1250, print::KodIso88592}) {
            const QByteArray value =
                print::attributeValue(print::escapeAttribute(platform::toCp1250(text)), kod, qsizetype(qstrlen("t_prilohy")));
            EXPECT_LE(value.size(), print::kXmlTextLimit - 9);
            const qsizetype amp = value.lastIndexOf('&');
            ASSERT_GE(amp, 0);
            EXPECT_GT(value.indexOf(';', amp), amp) << "shift " << shift << " encoding " << kod;
            if (kod != print::KodUtf8)
                continue;
            const QByteArray xml = "<a v=\"" + value + "\"/>";
            QXmlStreamReader reader(xml);
            while (!reader.atEnd())
                reader.readNext();
            EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
        }
    }
}
