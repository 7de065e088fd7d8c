#include "ui/forms/EditWidth.h"

#include "engine/Table.h"
#include "engine/TableDef.h"
#include "ui/forms/DBEditz.h"

#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>
#include <cmath>

using namespace Qt::StringLiterals;

namespace rur::ui {

namespace {

// The bound of a number that its field does not set: its type's.
double typeBound(engine::FieldType type, bool lower)
{
    switch (type) {
    case engine::FieldType::Smallint: return lower ? -32768 : 32767;
    case engine::FieldType::Integer:
    case engine::FieldType::AutoInc: return lower ? -2147483648.0 : 2147483647.0;
    default: return lower ? -99999999999.0 : 99999999999.0;  // the program's amounts
    }
}

int decimalsOf(const QString &format)
{
    const qsizetype point = format.indexOf(u'.');
    return point < 0 ? 0 : int(format.size() - point - 1);
}

// The letters, digits and signs of the values the edits hold: names and addresses in Czech,
// numbers, dates, codes, e-mail addresses.
const QString kValueCharacters = u"aábcčdďeéěfghiíjklmnňoópqrřsštťuúůvwxyýzž"
                                 u"AÁBCČDĎEÉĚFGHIÍJKLMNŇOÓPQRŘSŠTŤUÚŮVWXYÝZŽ0123456789 -+,.:;/@&()"_s;

// How far the glyphs of those characters reach beyond their advance, left and right. Not the
// font's own extremes: those come from glyphs no value holds (combining accents reach a dozen
// pixels back) and would widen every edit by twenty pixels.
QMargins valueOverhang(const QFontMetrics &metrics)
{
    QMargins overhang;
    for (const QChar c : kValueCharacters) {
        overhang.setLeft(std::max(overhang.left(), -metrics.leftBearing(c)));
        overhang.setRight(std::max(overhang.right(), -metrics.rightBearing(c)));
    }
    return overhang;
}

}  // namespace

QString longestDigits(const engine::FieldDef &field)
{
    using engine::FieldType;
    switch (field.type) {
    case FieldType::Date: return u"00.00.0000"_s;
    case FieldType::Char: return field.digits ? QString(field.size, u'0') : QString();
    case FieldType::Float:
    case FieldType::Smallint:
    case FieldType::Integer:
    case FieldType::AutoInc: {
        const double low = field.minValue.value_or(typeBound(field.type, true));
        const double high = field.maxValue.value_or(typeBound(field.type, false));
        const double largest = std::max(std::fabs(low), std::fabs(high));
        const int digits = std::max(1, int(QString::number(std::floor(largest), 'f', 0).size()));
        const bool negative = low < 0;
        const int decimals = decimalsOf(field.displayFormat);
        QString text = (negative ? u"-"_s : QString()) + QString(digits, u'0');
        if (decimals > 0)
            text += u',' + QString(decimals, u'0');
        return text;
    }
    default: return {};
    }
}

int editWidthForText(const QLineEdit &edit, int textPixels)
{
    const QFontMetrics metrics = edit.fontMetrics();
    const QMargins text = edit.textMargins(), contents = edit.contentsMargins();
    // QLineEdit keeps two pixels beside its text on each side, one for the cursor after it,
    // and room for glyphs that reach beyond their advance.
    const QMargins overhang = valueOverhang(metrics);
    const int inner = textPixels + 2 * 2 + 1 + overhang.left() + overhang.right() + text.left() + text.right()
                      + contents.left() + contents.right();
    QStyleOptionFrame option;
    option.initFrom(&edit);
    option.lineWidth = edit.hasFrame() ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit) : 0;
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    option.features = QStyleOptionFrame::None;
    return edit.style()->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(inner, metrics.height()), &edit).width();
}

int textEditWidth(const QLineEdit &edit, int chars)
{
    return editWidthForText(edit, chars * edit.fontMetrics().horizontalAdvance(u'x'));
}

int digitsEditWidth(const QLineEdit &edit, int chars)
{
    return editWidthForText(edit, edit.fontMetrics().horizontalAdvance(QString(chars, u'0')));
}

int fieldEditWidth(const TDBEditz &edit)
{
    const engine::Table *table = edit.table();
    if (!table)
        return 0;
    const engine::TableDef &def = table->def();
    const int index = def.indexOf(edit.fieldName());
    if (index < 0)
        return 0;
    const engine::FieldDef &field = def.fields.at(index);
    if (const QString digits = longestDigits(field); !digits.isEmpty())
        return editWidthForText(edit, edit.fontMetrics().horizontalAdvance(digits));
    return field.type == engine::FieldType::Char ? textEditWidth(edit, std::min(field.size, kShownTextChars)) : 0;
}

void fitMaxLength(QLineEdit &edit)
{
    edit.setMinimumWidth(textEditWidth(edit, std::min(edit.maxLength(), kShownTextChars)));
}

void setEditWidth(TDBEditz &edit, int chars)
{
    edit.setFixedWidth(std::max(textEditWidth(edit, chars), fieldEditWidth(edit)));
}

}  // namespace rur::ui
