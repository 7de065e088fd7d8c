#pragma once

// The text rules of the ini files: what counts as blank, as a comment, as the same name, and
// which names and values a line can hold.

#include <QString>
#include <QStringView>

namespace rur::platform::ini {

bool isBlank(QChar c);
// Only spaces and tabs count, as in the Windows reader; QString::trimmed would also eat
// no-break spaces, which can be part of a value.
QString trimBlanks(QStringView s);
bool isBlankLine(const QString &text);
bool isCommentLine(const QString &text);
bool sameName(const QString &a, const QString &b);
bool hasLineBreak(const QString &s);
// Names that would read back as something else once written into a line.
bool storableSection(const QString &section);
bool storableKey(const QString &key);
// Sign and leading digits, the rest ignored; false when there are no digits or the number
// doesn't fit an int.
bool parseLeadingInteger(const QString &text, int &result);

}  // namespace rur::platform::ini
