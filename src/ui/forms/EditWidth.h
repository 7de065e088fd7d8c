#pragma once

#include <QString>

class QLineEdit;

namespace rur::engine {
struct FieldDef;
}

namespace rur::ui {

class TDBEditz;

// How wide the program's edits are, from what they hold: numbers, dates and digit codes are
// measured in digits (the widest characters they hold), ordinary text in "x", as wide as an
// average letter of names and addresses with their capitals and accents. An edit shows at
// least kShownTextChars characters of ordinary text whole; longer text scrolls in it (the
// taxpayer's window, with the most fields, still fits a 1024-pixel screen).
inline constexpr int kShownTextChars = 22;

// The longest value of a field as the windows show it, with every digit written as "0": a
// number within its bounds (its type's where it has none) in its display format
// ("-00000000000", "-00,00"), a date "00.00.0000", a digit code its size in digits. Empty for
// text and memo fields.
QString longestDigits(const engine::FieldDef &field);

// The width of the edit, frame included, that shows a text of this many pixels whole.
int editWidthForText(const QLineEdit &edit, int textPixels);
// The width that shows `chars` characters of ordinary text, or `chars` digits.
int textEditWidth(const QLineEdit &edit, int chars);
int digitsEditWidth(const QLineEdit &edit, int chars);
// The width that shows the longest value of the edit's field (ordinary text: its size, at
// most kShownTextChars characters); 0 while the edit is unbound.
int fieldEditWidth(const TDBEditz &edit);
// At least as wide as the edit's longest text (its maximum length, at most kShownTextChars
// characters of ordinary text): for edits not bound to a field.
void fitMaxLength(QLineEdit &edit);
// A fixed width of `chars` characters of ordinary text (the window's choice), and at least
// the width of the field's longest value.
void setEditWidth(TDBEditz &edit, int chars);

}  // namespace rur::ui
