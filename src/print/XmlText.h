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

// Converts windows-1250 bytes to the chosen encoding. UTF-8 and ISO 8859-2 get the proper
// form of every character, ISO 8859-2 a '?' for a character it lacks. At most `limit` bytes:
// a character that would pass the limit is dropped.
QByteArray convertFromCp1250(const QByteArray &cp1250, int kodovani, qsizetype limit = kXmlTextLimit);

// The first `limit` bytes of converted, escaped text, never ending inside a UTF-8 character
// or an entity.
QByteArray cutConverted(const QByteArray &converted, qsizetype limit, int kodovani);

// One attribute value as the file holds it: escaped windows-1250 text converted to the
// encoding and cut to the limit less the attribute name's length, never inside a character
// or an entity, so the file stays well-formed whatever the text.
QByteArray attributeValue(const QByteArray &escapedCp1250, int kodovani, qsizetype nameLength);

// The text in upper case as windows-1250 bytes; a letter whose capital the code page lacks
// keeps its case.
QByteArray upperCp1250(const QString &text);

// Lines of a memo as a list box shows them: CR LF, LF or CR end a line, and a line break at
// the very end adds no empty line. An empty memo has no lines.
QStringList memoLines(const QString &memo);

}  // namespace rur::print
