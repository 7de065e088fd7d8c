#include "print/FilingWriter.h"

#include "engine/NumberFormat.h"
#include "engine/Table.h"
#include "engine/TableFile.h"
#include "platform/Cp1250.h"
#include "print/XmlText.h"

#include <QDate>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace rur::print {

namespace {

QString str(const char16_t *s)
{
    return QString::fromUtf16(s);
}

// Printable ASCII without a character the file escapes, far below the length limit: the same
// bytes in every encoding, escaped or not, so they go into the file as they are (the rows of a
// large control statement are mostly such numbers, dates and codes).
bool plainAscii(const QByteArray &text)
{
    if (text.size() > 1024)
        return false;
    for (const char c : text)
        if (c < 0x20 || c > 0x7e || c == '^' || c == '&' || c == '"' || c == '<' || c == '>')
            return false;
    return true;
}

// Taxpayer and representative (Prp), in the order of the element.
constexpr Attribute kVetaP[] = {
    {"c_orient", u"Cpoco"},         {"c_pop", u"Cpocp"},
    {"c_pracufo", u"Fuz", Format::Whole},
    {"c_telef", u"Tel"},
    {"c_ufo", u"Fuc", Format::Whole},
    {"dic", u"Dick"},               {"email", u"Emlx"},
    {"jmeno", u"Jmb"},              {"naz_obce", u"Ob", Format::Upper},
    {"opr_jmeno", u"Zjvjm"},        {"opr_postaveni", u"Zjvpo"},
    {"opr_prijmeni", u"Zjvpr"},     {"prijmeni", u"Pra"},
    {"psc", u"Psc"},                {"sest_jmeno", u"Sesjm"},
    {"sest_prijmeni", u"Sespr"},    {"sest_telef", u"Tes", Format::First, 14},
    {"stat", u"Sta2", Format::Upper},
    {"titul", u"Tia"},              {"typ_ds", u"Tds", Format::FP},
    {"ulice", u"Ul"},               {"zast_dat_nar", u"Zdedn", Format::Date},
    {"zast_ev_cislo", u"Zdece"},    {"zast_ic", u"Zdeic"},
    {"zast_jmeno", u"Zjmjm"},       {"zast_kod", u"Kzs"},
    {"zast_nazev", u"Zjmpo"},       {"zast_prijmeni", u"Zjmpr"},
    {"zast_typ", u"Tzs", Format::FP},  // only with a representative's code (Kzs)
    {"zkrobchjm", u"Ojp3"},
};

}  // namespace

QVariant valueOf(engine::Table &t, const char16_t *field)
{
    return t.isActive() ? t.field(str(field)).value() : QVariant();
}

bool isFilled(engine::Table &t, const char16_t *field)
{
    return !valueOf(t, field).isNull();
}

bool flag(engine::Table &t, const char16_t *field)
{
    return valueOf(t, field).toBool();
}

QByteArray formatted(engine::Table &t, const Attribute &a)
{
    const QVariant v = valueOf(t, a.field);
    if (v.isNull())
        return {};
    const engine::Field f = t.field(str(a.field));
    switch (a.format) {
    case Format::Whole: return engine::formatFloat(f.asFloat(), u"0"_s, u'.').toLatin1();
    case Format::Decimal2: return engine::formatFloat(f.asFloat(), u"0.##"_s, u'.').toLatin1();
    case Format::Date: return f.asDate().isValid() ? f.asDate().toString(u"dd.MM.yyyy"_s).toLatin1() : QByteArray();
    case Format::Upper: return upperCp1250(f.asString());
    case Format::First: return platform::toCp1250(f.asString()).left(a.first);
    case Format::FP: return f.asBoolean() ? "F" : "P";
    case Format::Text: break;
    }
    return platform::toCp1250(f.asString());
}

void FilingWriter::declaration()
{
    out_ += "<?xml version=\"1.0\" encoding=\"" + declarationEncoding(kodovani_).toLatin1().toStdString() + "\"?>\r\n";
}

void FilingWriter::tag(int depth, const QByteArray &text)
{
    indent(depth);
    out_.append(text.constData(), size_t(text.size()));
    lineEnd();
}

void FilingWriter::begin(const char *element)
{
    indent(2);
    out_ += '<';
    out_ += element;
}

void FilingWriter::end()
{
    out_ += "/>";
    lineEnd();
}

void FilingWriter::value(const char *name, const QByteArray &cp1250)
{
    write(name, plainAscii(cp1250) ? cp1250 : escapeAttribute(cp1250));
}

void FilingWriter::write(const char *name, const QByteArray &cp1250)
{
    const QByteArray value = plainAscii(cp1250) ? cp1250 : attributeValue(cp1250, kodovani_, qsizetype(qstrlen(name)));
    out_ += ' ';
    out_ += name;
    out_ += "=\"";
    out_.append(value.constData(), size_t(value.size()));
    out_ += '"';
}

void FilingWriter::indent(int depth)
{
    if (radky_)
        out_.append(size_t(depth), '\t');
}

void FilingWriter::lineEnd()
{
    if (radky_)
        out_ += "\r\n";
}

void writeVetaP(FilingWriter &w, engine::Table &prp)
{
    w.begin("VetaP");
    const bool representative = isFilled(prp, u"Kzs");
    for (const Attribute &a : kVetaP)
        if (representative || qstrcmp(a.name, "zast_typ") != 0)
            w.field(prp, a);
    w.end();
}

bool writeFilingFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    engine::crashPoint("filing:before-commit");
    return file.commit();
}

}  // namespace rur::print
