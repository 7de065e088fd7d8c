#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace rur::print {

// Character encodings of the filing file, by their index in Dph.ini [Dph] Kodovani. The two
// "(L2)" entries write the same bytes as their plain twins.
enum Kodovani { KodUtf8 = 0, KodCp1250 = 1, KodIso88592 = 2, KodUtf8L2 = 3, KodCp1250L2 = 4 };

// The labels of the settings list, in index order.
QStringList encodingLabels();
// The encoding name of the XML declaration; an index outside the list counts as UTF-8.
QString declarationEncoding(int kodovani);

// Longest text of one conversion and of one attribute value.
inline constexpr qsizetype kXmlTextLimit = 16384;

// Texts are handled as windows-1250 bytes, one byte per character, the way the filing file
// has always been built; toCp1250 turns a character the code page lacks into '?'.

// Escapes an attribute value: every '^' goes, then '&', '"', '<' and '>' become entities, in
// that order; the apostrophe stays. An entity that would make the text longer than the limit
// is not inserted, and that occurrence and every later one of the same character are removed.
QByteArray escapeAttribute(const QByteArray &cp1250, qsizetype limit = kXmlTextLimit);

// Converts windows-1250 bytes to the chosen encoding. UTF-8 gets the proper form of every
// character; ISO 8859-2 gets the fifteen letters that sit elsewhere in it moved and every other
// byte copied. At most `limit` bytes: a character that would pass the limit is dropped.
QByteArray convertFromCp1250(const QByteArray &cp1250, int kodovani, qsizetype limit = kXmlTextLimit);

// The first `limit` bytes of converted text, never ending inside a UTF-8 character.
QByteArray cutConverted(const QByteArray &converted, qsizetype limit, int kodovani);

// The text in upper case as windows-1250 bytes; a letter whose capital the code page lacks
// keeps its case.
QByteArray upperCp1250(const QString &text);

// Lines of a memo as a list box shows them: CR LF, LF or CR end a line, and a line break at
// the very end adds no empty line. An empty memo has no lines.
QStringList memoLines(const QString &memo);

}  // namespace rur::print
