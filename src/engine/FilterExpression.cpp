#include "engine/FilterExpression.h"

#include "engine/EngineError.h"
#include "engine/Sqlite.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace rur::engine {

namespace {

// Reads the expression token by token and writes its SQL form, accepting only
//   expr    := and ("or" and)*        and  := not ("and" not)*
//   not     := "not" not | primary    primary := "(" expr ")" | operand [compare operand]
//   operand := field | number | 'text' | "text" | True | False
// so that whatever is accepted is one well-formed where-clause of this table.
class FilterParser {
public:
    FilterParser(const QString &expression, const TableDef &def) : text_(expression), def_(def) { next(); }

    QString parse()
    {
        // A NUL character would end the SQL text in the middle of a literal.
        if (text_.contains(QChar(0)))
            fail();
        const QString sql = orExpression();
        if (kind_ != End)
            fail();
        return sql.simplified();
    }

private:
    enum Kind { End, Open, Close, Compare, And, Or, Not, Operand };

    [[noreturn]] void fail() const { RUR_THROW(ErrSql, u"Neplatný výraz filtru: "_s + text_); }

    QString orExpression()
    {
        QString sql = andExpression();
        while (kind_ == Or) {
            next();
            sql += u" OR "_s + andExpression();
        }
        return sql;
    }
    QString andExpression()
    {
        QString sql = notExpression();
        while (kind_ == And) {
            next();
            sql += u" AND "_s + notExpression();
        }
        return sql;
    }
    QString notExpression()
    {
        if (kind_ == Not) {
            next();
            return u"NOT "_s + notExpression();
        }
        return primary();
    }
    QString primary()
    {
        if (kind_ == Open) {
            if (++depth_ > 64)
                fail();
            next();
            const QString inner = orExpression();
            if (kind_ != Close)
                fail();
            --depth_;
            next();
            return u'(' + inner + u')';
        }
        QString sql = operand();
        if (kind_ == Compare) {
            sql += u' ' + token_ + u' ';
            next();
            sql += operand();
        }
        return sql;
    }
    QString operand()
    {
        if (kind_ != Operand)
            fail();
        const QString sql = token_;
        next();
        return sql;
    }

    void next()
    {
        while (pos_ < text_.size() && text_[pos_].isSpace())
            ++pos_;
        if (pos_ >= text_.size()) {
            kind_ = End;
            return;
        }
        const QChar c = text_[pos_];
        if (c == u'(' || c == u')') {
            kind_ = c == u'(' ? Open : Close;
            ++pos_;
        } else if (c == u'\'' || c == u'"') {
            // A doubled quote inside the text stands for the quote itself.
            QString value;
            qsizetype j = pos_ + 1;
            for (;; ++j) {
                if (j >= text_.size())
                    fail();
                if (text_[j] == c) {
                    if (j + 1 < text_.size() && text_[j + 1] == c) {
                        value += c;
                        ++j;
                        continue;
                    }
                    break;
                }
                value += text_[j];
            }
            pos_ = j + 1;
            kind_ = Operand;
            token_ = u'\'' + value.replace(u"'"_s, u"''"_s) + u'\'';
        } else if (c == u'=' || c == u'<' || c == u'>') {
            QString op(c);
            if (pos_ + 1 < text_.size() && (text_[pos_ + 1] == u'=' || text_[pos_ + 1] == u'>'))
                op += text_[++pos_];
            ++pos_;
            if (op != u"="_s && op != u"<>"_s && op != u"<"_s && op != u">"_s && op != u"<="_s && op != u">="_s)
                fail();
            kind_ = Compare;
            token_ = op;
        } else if (c.isDigit() || c == u'-' || c == u'.') {
            static const QRegularExpression number(uR"(-?(\d+(\.\d*)?|\.\d+))"_s);
            const auto m = number.match(text_, pos_, QRegularExpression::NormalMatch,
                                        QRegularExpression::AnchorAtOffsetMatchOption);
            if (!m.hasMatch())
                fail();
            pos_ = m.capturedEnd();
            if (pos_ < text_.size() && (text_[pos_].isLetterOrNumber() || text_[pos_] == u'.' || text_[pos_] == u'_'))
                fail();
            kind_ = Operand;
            token_ = m.captured();
        } else if (c.isLetter() || c == u'_') {
            qsizetype j = pos_ + 1;
            while (j < text_.size() && (text_[j].isLetterOrNumber() || text_[j] == u'_'))
                ++j;
            const QString word = text_.mid(pos_, j - pos_);
            pos_ = j;
            const QString lower = word.toLower();
            if (lower == u"and"_s || lower == u"or"_s || lower == u"not"_s) {
                kind_ = lower == u"and"_s ? And : (lower == u"or"_s ? Or : Not);
            } else if (lower == u"true"_s || lower == u"false"_s) {
                kind_ = Operand;
                token_ = lower == u"true"_s ? u"1"_s : u"0"_s;
            } else if (const FieldDef *f = def_.field(word); f && !f->calculated) {
                kind_ = Operand;
                token_ = quoteIdentifier(f->name);
            } else {
                fail();
            }
        } else {
            fail();
        }
    }

    const QString &text_;
    const TableDef &def_;
    qsizetype pos_ = 0;
    int depth_ = 0;
    Kind kind_ = End;
    QString token_;
};

}  // namespace

QString filterToSql(const QString &expr, const TableDef &def)
{
    return FilterParser(expr, def).parse();
}

}  // namespace rur::engine
