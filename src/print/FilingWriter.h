#pragma once

// What the electronic filing files share (the return's DPHDP3 and the control statement's
// DPHKH1): the writer of elements and attributes in the chosen encoding and line layout, the
// attributes taken from fields of the current rows, the taxpayer's record VetaP, and the
// write of a finished file beside its target.

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <string>

namespace rur::engine {
class Table;
}

namespace rur::print {

enum class Format {
    Whole,     // "0": rounded, halves away from zero
    Decimal2,  // "0.##" with '.'
    Date,      // dd.mm.yyyy
    Upper,     // text in capitals
    Text,      // text as stored
    First,     // the first n characters
    FP,        // "F" for true, "P" for false
};

// An attribute and the field of the current row it is taken from.
struct Attribute {
    const char *name;
    const char16_t *field;
    Format format = Format::Text;
    int first = 0;
};

// The period of the current return in Prp, as both files' VetaD carry it: the quarter or the
// month (each only when the return is of that kind), the year, the part of the period, the
// filing date.
inline constexpr Attribute kQuarterAttribute{"ctvrt", u"Cislo", Format::Whole};
inline constexpr Attribute kMonthAttribute{"mesic", u"Cislo", Format::Whole};
inline constexpr Attribute kYearAttribute{"rok", u"R"};
inline constexpr Attribute kPeriodFromAttribute{"zdobd_od", u"Od1", Format::Date};
inline constexpr Attribute kPeriodToAttribute{"zdobd_do", u"Do1", Format::Date};
inline constexpr Attribute kFilingDateAttribute{"d_poddp", u"Ddp", Format::Date};

// A field of the current row; null when the table is closed or has no row.
QVariant valueOf(engine::Table &t, const char16_t *field);
bool isFilled(engine::Table &t, const char16_t *field);
bool flag(engine::Table &t, const char16_t *field);
// The field's value as windows-1250 text in the attribute's format, before escaping; empty
// for an empty field.
QByteArray formatted(engine::Table &t, const Attribute &a);

// The bytes of a filing file: the declaration, tags on lines of their own (with the line
// layout on, indented by tabs), elements of attributes at depth 2, every value escaped and
// converted to the encoding (Dph.ini Kodovani) and cut to the attribute's limit.
class FilingWriter {
public:
    FilingWriter(int kodovani, bool radky) : kodovani_(kodovani), radky_(radky) {}

    void declaration();
    void tag(int depth, const QByteArray &text);
    void begin(const char *element);
    void end();
    // Constants and letters of the program: plain ASCII, not escaped.
    void constant(const char *name, const QByteArray &value) { write(name, value); }
    void value(const char *name, const QByteArray &cp1250);
    void field(engine::Table &t, const Attribute &a) { value(a.name, formatted(t, a)); }
    // The closing tag of the file always ends its line.
    void finish() { out_ += "</Pisemnost>\r\n"; }
    QByteArray bytes() const { return QByteArray(out_.data(), qsizetype(out_.size())); }
    void reserve(qsizetype bytes) { out_.reserve(size_t(bytes)); }

private:
    void write(const char *name, const QByteArray &cp1250);
    void indent(int depth);
    void lineEnd();

    int kodovani_;
    bool radky_;
    // Many small pieces go in one after another: a plain buffer takes them fastest.
    std::string out_;
};

// VetaP: the taxpayer and the representative (Prp), in the order of the element; zast_typ
// only with a representative's code (Kzs).
void writeVetaP(FilingWriter &w, engine::Table &prp);

// Writes the file beside its target and renames it into place, so that a failure leaves the
// previous file whole; false when it could not be written.
bool writeFilingFile(const QString &path, const QByteArray &bytes);

}  // namespace rur::print
