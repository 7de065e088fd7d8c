#include "kh/Register.h"

#include "datasets/Periods.h"
#include "engine/Table.h"

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace rur::kh {

namespace {

struct ColumnDef {
    const char16_t *csv;
    const char16_t *field;
    const char16_t *caption;
};

constexpr ColumnDef kColumns[kColumnCount] = {
    {u"oddil", u"Oddil", u"oddíl"},
    {u"dic", u"Dic", u"DIČ"},
    {u"stat", u"Stat", u"kód státu"},
    {u"vatid", u"Vatid", u"VAT ID"},
    {u"doklad", u"Doklad", u"číslo dokladu"},
    {u"datum", u"Datum", u"datum"},
    {u"zaklad1", u"Zaklad1", u"základ daně 1"},
    {u"dan1", u"Dan1", u"daň 1"},
    {u"zaklad2", u"Zaklad2", u"základ daně 2"},
    {u"dan2", u"Dan2", u"daň 2"},
    {u"zaklad3", u"Zaklad3", u"základ daně 3"},
    {u"dan3", u"Dan3", u"daň 3"},
    {u"kod", u"Kod", u"kód předmětu plnění"},
    {u"rezim", u"Rezim", u"kód režimu plnění"},
    {u"oprava", u"Oprava", u"příznak opravy"},
    {u"pomer", u"Pomer", u"poměrný odpočet"},
    {u"radek", u"Radek", u"řádek přiznání"},
};

const ColumnDef &def(Column column)
{
    return kColumns[int(column)];
}

bool isAmount(Column c)
{
    return c >= Column::Zaklad1 && c <= Column::Dan3;
}

// Amounts of a document: the largest the register's fields hold.
constexpr qint64 kLargestAmount = 999999999999;  // 9 999 999 999,99 Kč

CellValue fault(const char16_t *problem)
{
    return {QVariant(), QString::fromUtf16(problem)};
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isSpace(QChar c)
{
    return c == u' ' || c == QChar(0x00A0) || c == QChar(0x202F);
}

// A number read by hand, not by a regular expression: an import reads hundreds of thousands.
// "-1 234,5" (blanks between digits, a decimal comma or point, at most two decimals).
CellValue readAmount(QStringView text)
{
    const CellValue bad = fault(u"musí být částka s nejvýše dvěma desetinnými místy");
    qsizetype i = 0;
    const bool negative = text.startsWith(u'-');
    if (negative)
        ++i;
    qint64 whole = 0, fraction = 0;
    int digits = 0, decimals = -1;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (isDigit(c)) {
            if (decimals >= 0) {
                if (++decimals > 2)
                    return bad;
                fraction = fraction * 10 + c.digitValue();
            } else {
                if (++digits > 10)
                    return bad;
                whole = whole * 10 + c.digitValue();
            }
        } else if (isSpace(c) && decimals < 0 && digits > 0) {
            continue;
        } else if ((c == u',' || c == u'.') && decimals < 0 && digits > 0) {
            decimals = 0;
        } else {
            return bad;
        }
    }
    if (digits == 0 || decimals == 0)
        return bad;
    qint64 hellers = whole * 100 + (decimals == 1 ? fraction * 10 : fraction);
    if (hellers > kLargestAmount)
        return fault(u"je větší než 9 999 999 999,99 Kč");
    return {toCrowns(negative ? -hellers : hellers), {}};
}

// d.m.rrrr: one or two digits of the day and month, four of the year.
QDate readDate(QStringView text)
{
    int parts[3] = {0, 0, 0}, lengths[3] = {0, 0, 0}, part = 0;
    for (QChar c : text) {
        if (c == u'.') {
            if (++part > 2)
                return {};
        } else if (isDigit(c)) {
            parts[part] = parts[part] * 10 + c.digitValue();
            ++lengths[part];
        } else {
            return {};
        }
    }
    if (part != 2 || lengths[0] < 1 || lengths[0] > 2 || lengths[1] < 1 || lengths[1] > 2 || lengths[2] != 4)
        return {};
    return QDate(parts[2], parts[1], parts[0]);
}

bool allDigits(QStringView text, qsizetype most)
{
    if (text.isEmpty() || text.size() > most)
        return false;
    for (QChar c : text)
        if (!isDigit(c))
            return false;
    return true;
}

// The text without its blanks (also those between groups of digits).
QString withoutBlanks(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (!c.isSpace() && !isSpace(c))
            out.append(c);
    return out;
}

}  // namespace

QString sectionName(Section section)
{
    // Literals, which a copy shares: every row of a large register names its section.
    static const QString names[] = {u"A1"_s, u"A2"_s, u"A3"_s, u"A4"_s, u"A5"_s, u"B1"_s, u"B2"_s, u"B3"_s};
    return names[int(section)];
}

std::optional<Section> sectionNamed(const QString &text)
{
    const QStringView name = QStringView(text).trimmed();
    if (name.size() != 2)
        return std::nullopt;
    const QChar letter = name[0].toUpper(), digit = name[1];
    if (letter == u'A' && digit >= u'1' && digit <= u'5')
        return Section(digit.unicode() - u'1');
    if (letter == u'B' && digit >= u'1' && digit <= u'3')
        return Section(int(Section::B1) + digit.unicode() - u'1');
    return std::nullopt;
}

QString sectionCaption(Section section)
{
    switch (section) {
    case Section::A1: return u"A.1. Uskutečněná plnění v režimu přenesení daňové povinnosti"_s;
    case Section::A2: return u"A.2. Přijatá plnění, u kterých přiznává daň příjemce (§ 108 odst. 1 písm. b) a c))"_s;
    case Section::A3: return u"A.3. Uskutečněná plnění podle § 101c odst. 1 písm. c) bod 1 (investiční zlato)"_s;
    case Section::A4: return u"A.4. Uskutečněná zdanitelná plnění nad 10 000 Kč včetně daně"_s;
    case Section::A5: return u"A.5. Ostatní uskutečněná zdanitelná plnění do 10 000 Kč včetně daně"_s;
    case Section::B1: return u"B.1. Přijatá plnění v režimu přenesení daňové povinnosti"_s;
    case Section::B2: return u"B.2. Přijatá zdanitelná plnění nad 10 000 Kč včetně daně"_s;
    case Section::B3: return u"B.3. Přijatá zdanitelná plnění do 10 000 Kč včetně daně"_s;
    }
    return {};
}

QString columnName(Column column)
{
    return QString::fromUtf16(def(column).csv);
}

QString fieldName(Column column)
{
    return QString::fromUtf16(def(column).field);
}

QString columnCaption(Column column)
{
    return QString::fromUtf16(def(column).caption);
}

bool sectionHas(Section s, Column c)
{
    using enum Section;
    const bool taxed = s != A1 && s != A3;
    switch (c) {
    case Column::Oddil:
    case Column::Doklad:
    case Column::Datum:
    case Column::Zaklad1: return true;
    case Column::Dic: return s != A2 && s != A3;
    case Column::Stat:
    case Column::Vatid: return s == A2 || s == A3;
    case Column::Dan1:
    case Column::Zaklad2:
    case Column::Dan2:
    case Column::Zaklad3:
    case Column::Dan3: return taxed;
    case Column::Kod: return s == A1 || s == B1;
    case Column::Rezim: return s == A4;
    case Column::Oprava: return s == A4 || s == B2;
    case Column::Pomer: return s == B2;
    case Column::Radek: return s == A2;
    }
    return false;
}

bool isA2Line(int line)
{
    return isBasicRateLine(line) || isReducedRateLine(line) || line == 9;
}

bool isBasicRateLine(int line)
{
    return line == 3 || line == 5 || line == 12;
}

bool isReducedRateLine(int line)
{
    return line == 4 || line == 6 || line == 13;
}

bool Document::hasAmount() const
{
    for (int i = 0; i < 3; ++i)
        if (base[i] != 0 || tax[i] != 0)
            return true;
    return false;
}

Section reportedIn(const Document &d)
{
    if (d.section != Section::A4 && d.section != Section::B2)
        return d.section;
    if (d.oprava == u"P"_s || d.oprava == u"A"_s)
        return d.section;
    const bool small = std::llabs(d.total()) <= kThreshold;
    if (small || d.dic.isEmpty())
        return d.section == Section::A4 ? Section::A5 : Section::B3;
    return d.section;
}

qint64 toHellers(double crowns)
{
    return std::llround(crowns * 100.0);
}

double toCrowns(qint64 hellers)
{
    return double(hellers) / 100.0;
}

QList<Document> readRegister(const engine::Table &dkh)
{
    int index[kColumnCount];
    for (int c = 0; c < kColumnCount; ++c)
        index[c] = dkh.def().indexOf(fieldName(Column(c)));
    const int id = dkh.def().indexOf(u"ID"_s);
    const auto text = [&](int row, Column c) { return dkh.storedValue(row, index[int(c)]).toString(); };
    const auto hellers = [&](int row, Column c) { return toHellers(dkh.storedValue(row, index[int(c)]).toDouble()); };
    QList<Document> out;
    out.reserve(dkh.recordCount());
    for (int row = 0; row < dkh.recordCount(); ++row) {
        Document d;
        d.id = dkh.storedValue(row, id).toLongLong();
        d.section = sectionNamed(text(row, Column::Oddil)).value_or(Section::A4);
        d.dic = text(row, Column::Dic);
        d.stat = text(row, Column::Stat);
        d.vatid = text(row, Column::Vatid);
        d.doklad = text(row, Column::Doklad);
        d.datum = dkh.storedValue(row, index[int(Column::Datum)]).toDate();
        for (int i = 0; i < 3; ++i) {
            d.base[i] = hellers(row, Column(int(Column::Zaklad1) + 2 * i));
            d.tax[i] = hellers(row, Column(int(Column::Dan1) + 2 * i));
        }
        d.kod = text(row, Column::Kod);
        d.rezim = text(row, Column::Rezim);
        d.oprava = text(row, Column::Oprava);
        d.pomer = text(row, Column::Pomer);
        d.radek = dkh.storedValue(row, index[int(Column::Radek)]).toInt();
        out.append(std::move(d));
    }
    return out;
}

Document currentDocument(engine::Table &dkh)
{
    Document d;
    const auto text = [&](Column c) { return dkh.field(fieldName(c)).asString(); };
    d.id = dkh.field(u"ID"_s).value().toLongLong();
    d.section = sectionNamed(text(Column::Oddil)).value_or(Section::A4);
    d.dic = text(Column::Dic);
    d.oprava = text(Column::Oprava);
    for (int i = 0; i < 3; ++i) {
        d.base[i] = toHellers(dkh.field(fieldName(Column(int(Column::Zaklad1) + 2 * i))).asFloat());
        d.tax[i] = toHellers(dkh.field(fieldName(Column(int(Column::Dan1) + 2 * i))).asFloat());
    }
    return d;
}

CellValue readCell(Column column, QStringView text)
{
    const QStringView view = text.trimmed();
    if (view.isEmpty())
        return {};
    // Amounts and dates are read from the view; the other columns keep a text.
    if (isAmount(column))
        return readAmount(view);
    if (column == Column::Datum) {
        const QDate date = readDate(view);
        if (!date.isValid())
            return fault(u"musí být datum ve tvaru d.m.rrrr");
        return {date, {}};
    }
    const QString t = view.toString();
    switch (column) {
    case Column::Oddil:
        if (const std::optional<Section> s = sectionNamed(t))
            return {sectionName(*s), {}};
        return fault(u"musí být A1, A2, A3, A4, A5, B1, B2 nebo B3");
    case Column::Dic: {
        QString digits = withoutBlanks(t);
        if (digits.startsWith(u"CZ"_s, Qt::CaseInsensitive))
            digits = digits.mid(2);
        if (!allDigits(digits, 10))
            return fault(u"musí být číselná část DIČ (nejvýše 10 číslic)");
        return {digits, {}};
    }
    case Column::Stat: {
        const QString code = t.toUpper();
        if (code.size() != 2 || code[0] < u'A' || code[0] > u'Z' || code[1] < u'A' || code[1] > u'Z')
            return fault(u"musí být dvoupísmenný kód státu (např. DE)");
        return {code, {}};
    }
    case Column::Vatid: {
        const QString id = withoutBlanks(t.toUpper());
        const auto allowed = [](QChar c) { return (c >= u'A' && c <= u'Z') || isDigit(c) || c == u'+' || c == u'*'; };
        if (id.isEmpty() || id.size() > 12 || !std::all_of(id.begin(), id.end(), allowed))
            return fault(u"musí mít nejvýše 12 písmen a číslic, bez kódu státu");
        return {id, {}};
    }
    case Column::Doklad:
        if (t.size() > 60)
            return fault(u"je delší než 60 znaků");
        return {t, {}};
    case Column::Kod:
        if (!allDigits(t, 3))
            return fault(u"musí být kód předmětu plnění (nejvýše 3 číslice)");
        return {t, {}};
    case Column::Rezim:
        if (t != u"0"_s && t != u"1"_s && t != u"2"_s)
            return fault(u"musí být 0 (běžné plnění), 1 (§ 89) nebo 2 (§ 90)");
        return {t, {}};
    case Column::Oprava: {
        const QString u = t.toUpper();
        if (u != u"N"_s && u != u"P"_s && u != u"A"_s)
            return fault(u"musí být N, P nebo A");
        return {u, {}};
    }
    case Column::Pomer: {
        const QString u = t.toUpper();
        if (u == u"A"_s || u == u"ANO"_s)
            return {u"A"_s, {}};
        if (u == u"N"_s || u == u"NE"_s)
            return {u"N"_s, {}};
        return fault(u"musí být A (ano) nebo N (ne)");
    }
    case Column::Radek: {
        bool ok = false;
        const int line = t.toInt(&ok);
        if (!ok || !isA2Line(line))
            return fault(u"musí být řádek přiznání 3, 4, 5, 6, 9, 12 nebo 13");
        return {line, {}};
    }
    default: break;
    }
    return {t, {}};
}

std::optional<Period> statementPeriod(engine::Table &prp)
{
    if (!prp.isActive() || prp.isEmpty())
        return std::nullopt;
    const QString month = prp.field(u"M"_s).asString().trimmed(), quarter = prp.field(u"Q"_s).asString().trimmed();
    if (month.isEmpty() == quarter.isEmpty())
        return std::nullopt;
    Period p;
    p.quarterly = month.isEmpty();
    p.number = int((p.quarterly ? datasets::quarterNames() : datasets::monthNames()).indexOf(p.quarterly ? quarter : month)) + 1;
    bool numeric = false;
    p.year = prp.field(u"R"_s).asString().trimmed().toInt(&numeric);
    if (p.number == 0 || !numeric || p.year < 1900 || p.year > 9999)
        return std::nullopt;
    p.first = QDate(p.year, p.quarterly ? 3 * p.number - 2 : p.number, 1);
    p.last = p.first.addMonths(p.quarterly ? 3 : 1).addDays(-1);
    const QDate from = prp.field(u"Od1"_s).asDate(), to = prp.field(u"Do1"_s).asDate();
    if (from.isValid() && from > p.first && from <= p.last)
        p.first = from;
    if (to.isValid() && to < p.last && to >= p.first)
        p.last = to;
    return p;
}

std::array<double, 3> columnRates(engine::Table &dcis)
{
    const bool rates = dcis.isActive() && !dcis.isEmpty();
    return {rates ? dcis.field(u"Hd"_s).asFloat() : 0.0, rates ? dcis.field(u"Dd"_s).asFloat() : 0.0, 10.0};
}

int findRow(const engine::Table &dkh, const QString &text, int from)
{
    const QString wanted = text.trimmed();
    const int count = dkh.recordCount();
    if (wanted.isEmpty() || count == 0)
        return -1;
    const int doklad = dkh.def().indexOf(u"Doklad"_s), dic = dkh.def().indexOf(u"Dic"_s);
    // A DIČ is searched without its "CZ", as the register keeps it.
    QString digits = wanted;
    if (digits.startsWith(u"CZ"_s, Qt::CaseInsensitive))
        digits = digits.mid(2);
    const int start = std::clamp(from, 0, count - 1);
    for (int i = 0; i < count; ++i) {
        const int row = (start + i) % count;
        if (dkh.storedValue(row, doklad).toString().contains(wanted, Qt::CaseInsensitive)
            || (!digits.isEmpty() && dkh.storedValue(row, dic).toString().contains(digits)))
            return row;
    }
    return -1;
}

}  // namespace rur::kh
