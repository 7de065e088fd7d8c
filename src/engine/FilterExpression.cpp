#include "engine/FilterExpression.h"

#include "engine/EngineError.h"
#include "engine/Sqlite.h"

using namespace Qt::StringLiterals;

namespace rur::engine {

QString filterToSql(const QString &expr, const TableDef &def)
{
    auto fail = [&]() -> void { RUR_THROW(ErrSql, u"Neplatný výraz filtru: "_s + expr); };
    QString out;
    int depth = 0;
    const int n = int(expr.size());
    for (int i = 0; i < n;) {
        const QChar c = expr[i];
        if (c.isSpace()) {
            ++i;
            continue;
        }
        if (c == u'(' || c == u')') {
            depth += c == u'(' ? 1 : -1;
            if (depth < 0)
                fail();
            out += c;
            ++i;
        } else if (c == u'\'' || c == u'"') {
            int j = i + 1;
            QString text;
            while (j < n && expr[j] != c)
                text += expr[j++];
            if (j >= n)
                fail();
            text.replace(u"'"_s, u"''"_s);
            out += u" '"_s + text + u"' "_s;
            i = j + 1;
        } else if (c == u'=' || c == u'<' || c == u'>') {
            QString op(c);
            if (i + 1 < n && (expr[i + 1] == u'=' || expr[i + 1] == u'>'))
                op += expr[++i];
            ++i;
            if (op != u"="_s && op != u"<>"_s && op != u"<"_s && op != u">"_s && op != u"<="_s && op != u">="_s)
                fail();
            out += u' ' + op + u' ';
        } else if (c.isDigit() || c == u'-' || c == u'.') {
            int j = i + 1;
            while (j < n && (expr[j].isDigit() || expr[j] == u'.'))
                ++j;
            out += u' ' + expr.mid(i, j - i) + u' ';
            i = j;
        } else if (c.isLetter() || c == u'_') {
            int j = i + 1;
            while (j < n && (expr[j].isLetterOrNumber() || expr[j] == u'_'))
                ++j;
            const QString word = expr.mid(i, j - i);
            i = j;
            const QString lower = word.toLower();
            if (lower == u"and"_s || lower == u"or"_s || lower == u"not"_s)
                out += u' ' + word.toUpper() + u' ';
            else if (lower == u"true"_s)
                out += u" 1 "_s;
            else if (lower == u"false"_s)
                out += u" 0 "_s;
            else if (const FieldDef *f = def.field(word); f && !f->calculated)
                out += u' ' + quoteIdentifier(f->name) + u' ';
            else
                fail();
        } else {
            fail();
        }
    }
    if (depth != 0)
        fail();
    return out.simplified();
}

}  // namespace rur::engine
