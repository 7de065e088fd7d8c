// The filing file DPHDP3 (form version 01.02): one element per record of the return, each
// attribute taken from one field of the taxpayer row or the return tables.
#include "print/FilingFile.h"

#include "app/DataSetRecords.h"
#include "app/Directories.h"
#include "app/Paths.h"
#include "app/Startup.h"
#include "data/DataM1.h"
#include "engine/NumberFormat.h"
#include "engine/Table.h"
#include "engine/TableFile.h"
#include "platform/Cp1250.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "print/XmlText.h"

#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace rur::print {

namespace {

enum class Format {
    Whole,     // "0": rounded, halves away from zero
    Decimal2,  // "0.##" with '.'
    Date,      // dd.mm.yyyy
    Upper,     // text in capitals
    Text,      // text as stored
    First,     // the first n characters
    FP,        // "F" for true, "P" for false
};

struct Attribute {
    const char *name;
    const char16_t *field;
    Format format = Format::Text;
    int first = 0;
};

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

// Amount elements: attribute and field, every value a whole number.
constexpr Attribute kVeta1[] = {
    {"dan23", u"C210a"},      {"dan5", u"C215a"},        {"dan_dzb23", u"C260a"},   {"dan_dzb5", u"C265a"},
    {"dan_pdop_nrg", u"C255a"}, {"dan_psl23_e", u"C230a"}, {"dan_psl23_z", u"C270a"}, {"dan_psl5_e", u"C235a"},
    {"dan_psl5_z", u"C275a"}, {"dan_pzb23", u"C220a"},   {"dan_pzb5", u"C225a"},    {"dan_rpren23", u"C110a"},
    {"dan_rpren5", u"C111a"}, {"dov_zb23", u"C260"},     {"dov_zb5", u"C265"},      {"obrat23", u"C210"},
    {"obrat5", u"C215"},      {"p_dop_nrg", u"C255"},    {"p_sl23_e", u"C230"},     {"p_sl23_z", u"C270"},
    {"p_sl5_e", u"C235"},     {"p_sl5_z", u"C275"},      {"p_zb23", u"C220"},       {"p_zb5", u"C225"},
    {"rez_pren23", u"C110"},  {"rez_pren5", u"C111"},
};
constexpr Attribute kVeta2[] = {
    {"dod_dop_nrg", u"C425"}, {"dod_zb", u"C410"},       {"pln_ost", u"C440"},   {"pln_rez_pren", u"C25"},
    {"pln_sluzby", u"C21"},   {"pln_vyvoz", u"C430"},    {"pln_zaslani", u"C24"},
};
constexpr Attribute kVeta3[] = {
    {"dov_osv", u"C32"}, {"opr_dluz", u"C34"}, {"opr_verit", u"C33"}, {"tri_dozb", u"C815"}, {"tri_pozb", u"C810"},
};
constexpr Attribute kVeta4[] = {
    {"dov_cu", u"C340"},        {"nar_maj", u"C48"},          {"nar_zdp23", u"C320"},   {"nar_zdp5", u"C325"},
    {"od_maj", u"C48a"},        {"od_zdp23", u"C320a"},       {"od_zdp5", u"C325a"},    {"odkr_maj", u"C48b"},
    {"odkr_zdp23", u"C320b"},   {"odkr_zdp5", u"C325b"},      {"odp_cu", u"C340b"},     {"odp_cu_nar", u"C340a"},
    {"odp_rez_nar", u"C370a"},  {"odp_rezim", u"C370b"},      {"odp_sum_kr", u"C380"},  {"odp_sum_nar", u"C390"},
    {"odp_tuz23", u"C310b"},    {"odp_tuz23_nar", u"C310a"},  {"odp_tuz5", u"C315b"},   {"odp_tuz5_nar", u"C315a"},
    {"pln23", u"C310"},         {"pln5", u"C315"},
};

QString str(const char16_t *s)
{
    return QString::fromUtf16(s);
}

// A field of the current row; null when the table is closed or has no row.
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

// The value as windows-1250 text, before escaping; empty for an empty field.
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

// Kind of return: B regular, D supplementary, O corrective, E supplementary corrective.
const char *formLetter(engine::Table &prp)
{
    const bool supplementary = flag(prp, u"Dpdd1"), corrective = flag(prp, u"Dpdo1");
    const char *letter = "B";
    if (supplementary)
        letter = "D";
    if (corrective)
        letter = "O";
    if (supplementary && corrective && !flag(prp, u"Dpdr1"))
        letter = "E";
    return letter;
}

// Taxpayer type: P payer, S group, I identified person; the last rule that applies wins.
const char *payerLetter(engine::Table &prp)
{
    const char *letter = "P";
    if (flag(prp, u"P3s"))
        letter = "S";
    if (flag(prp, u"P2"))
        letter = "I";
    if (flag(prp, u"P1"))
        letter = "P";
    return letter;
}

class Writer {
public:
    Writer(int kodovani, bool radky) : kodovani_(kodovani), radky_(radky) {}

    void declaration()
    {
        out_ += "<?xml version=\"1.0\" encoding=\"" + declarationEncoding(kodovani_).toLatin1() + "\"?>\r\n";
    }
    // A tag on a line of its own when the line layout is on.
    void tag(int depth, const QByteArray &text)
    {
        indent(depth);
        out_ += text;
        lineEnd();
    }
    void begin(const char *element)
    {
        indent(2);
        out_ += '<';
        out_ += element;
    }
    void end()
    {
        out_ += "/>";
        lineEnd();
    }
    // Constants and letters of the program: plain ASCII, not escaped.
    void constant(const char *name, const QByteArray &value) { write(name, value); }
    void value(const char *name, const QByteArray &cp1250) { write(name, escapeAttribute(cp1250)); }
    void field(engine::Table &t, const Attribute &a) { value(a.name, formatted(t, a)); }
    // The closing tag of the file always ends its line.
    void finish()
    {
        out_ += "</Pisemnost>\r\n";
    }
    QByteArray bytes() const { return out_; }

private:
    void write(const char *name, const QByteArray &cp1250)
    {
        out_ += ' ';
        out_ += name;
        out_ += "=\"";
        out_ += attributeValue(cp1250, kodovani_, qsizetype(qstrlen(name)));
        out_ += '"';
    }
    void indent(int depth)
    {
        if (radky_)
            out_ += QByteArray(depth, '\t');
    }
    void lineEnd()
    {
        if (radky_)
            out_ += "\r\n";
    }

    int kodovani_;
    bool radky_;
    QByteArray out_;
};

void writeVetaD(Writer &w, engine::Table &prp)
{
    w.begin("VetaD");
    w.constant("dokument", "DP3");
    w.constant("k_uladis", "DPH");  // the tax type code the schema fixes
    w.field(prp, {"c_okec", u"Hp1c", Format::Whole});
    if (isFilled(prp, u"Q"))
        w.field(prp, {"ctvrt", u"Cislo", Format::Whole});
    w.field(prp, {"d_poddp", u"Ddp", Format::Date});
    w.field(prp, {"d_zjist", u"D", Format::Date});
    w.constant("dapdph_forma", formLetter(prp));
    w.field(prp, {"kod_zo", u"P6", Format::First, 3});
    if (isFilled(prp, u"M"))
        w.field(prp, {"mesic", u"Cislo", Format::Whole});
    w.field(prp, {"rok", u"R"});
    w.constant("trans", flag(prp, u"X") ? "N" : "A");
    w.constant("typ_platce", payerLetter(prp));
    w.field(prp, {"zdobd_do", u"Do1", Format::Date});
    w.field(prp, {"zdobd_od", u"Od1", Format::Date});
    w.end();
}

void writeVetaP(Writer &w, engine::Table &prp)
{
    w.begin("VetaP");
    const bool representative = isFilled(prp, u"Kzs");
    for (const Attribute &a : kVetaP)
        if (representative || qstrcmp(a.name, "zast_typ") != 0)
            w.field(prp, a);
    w.end();
}

template <std::size_t N>
void writeAmounts(Writer &w, const char *element, engine::Table &t, const Attribute (&attributes)[N])
{
    w.begin(element);
    for (const Attribute &a : attributes)
        w.field(t, {a.name, a.field, Format::Whole});
    w.end();
}

// Lines 53 and 60 and the settlement coefficient appear in the last return of the year, and
// in any other return only when they are not 0.
void writeYearEnd(Writer &w, engine::Table &t, const Attribute &a, bool yearEnd)
{
    if (yearEnd || valueOf(t, a.field).toDouble() != 0.0)
        w.field(t, a);
}

void writeAttachment(Writer &w, engine::Table &prppz, engine::Table &prp)
{
    const QStringList lines = memoLines(valueOf(prppz, u"Poz").toString());
    const QByteArray section = formatted(prp, {"kod_sekce", u"Poznod"});
    for (qsizetype i = 0; i < qMin<qsizetype>(lines.size(), 999); ++i) {
        QString line = lines[i];
        qsizetype keep = line.size();
        while (keep > 0 && line.at(keep - 1).unicode() <= u' ')
            --keep;
        line.truncate(keep);
        w.begin("VetaR");
        w.constant("poradi", QByteArray::number(i + 1));
        w.value("t_prilohy", platform::toCp1250(line).left(72));
        w.value("kod_sekce", section);
        w.end();
    }
}

bool writeAtomically(const QString &path, const QByteArray &bytes)
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

// Posts and reopens the print settings and the taxpayer row, and re-reads the return, so
// that every calculated field is computed from what is stored now.
void refreshTables(data::TDM1 &dm)
{
    for (engine::Table *t : {dm.Dmt.get(), dm.Prp.get()}) {
        if (t->isEditing())
            t->post();
        t->close();
        t->open();
    }
    for (engine::Table *t : {dm.Prppz.get(), dm.Dtabn1.get(), dm.Dtabn2.get(), dm.Dtabn3.get()}) {
        if (!t->isActive())
            t->open();
        else if (!t->isEditing())
            t->refresh();
    }
}

}  // namespace

const char *returnFormLetter(engine::Table &prp)
{
    return formLetter(prp);
}

XmlPathSettings readXmlPathSettings(const platform::IniFile &dataSetIni)
{
    return {dataSetIni.readString(u"XML"_s, u"Dph"_s), dataSetIni.readBool(u"XML"_s, u"Nazev"_s, false)};
}

bool writeXmlPathSettings(platform::IniFile &dataSetIni, const XmlPathSettings &settings)
{
    const bool nazev = dataSetIni.writeBool(u"XML"_s, u"Nazev"_s, settings.firmName);
    return dataSetIni.writeString(u"XML"_s, u"Dph"_s, settings.pathTemplate) && nazev;
}

QString cannotCreateMessage(const QString &path)
{
    return u"Soubor "_s + path + u" nelze vytvořit."_s;
}

QByteArray buildDphdp3(data::TDM1 &dm, int kodovani, bool radky)
{
    engine::Table &prp = *dm.Prp, &out = *dm.Dtabn1, &ded = *dm.Dtabn2, &tax = *dm.Dtabn3;
    const int cislo = valueOf(prp, u"Cislo").toInt();
    const bool yearEnd = (isFilled(prp, u"Q") && cislo == 4) || (isFilled(prp, u"M") && cislo == 12);

    Writer w(kodovani, radky);
    w.declaration();
    w.tag(0, "<Pisemnost>");
    w.tag(1, "<DPHDP3 verzePis=\"01.02\">");
    writeVetaD(w, prp);
    writeVetaP(w, prp);
    writeAmounts(w, "Veta1", out, kVeta1);
    writeAmounts(w, "Veta2", out, kVeta2);
    writeAmounts(w, "Veta3", out, kVeta3);
    writeAmounts(w, "Veta4", ded, kVeta4);

    w.begin("Veta5");
    w.field(ded, {"koef_p20_nov", u"C550k", Format::Decimal2});
    writeYearEnd(w, tax, {"koef_p20_vypor", u"C560k", Format::Decimal2}, yearEnd);
    w.field(ded, {"odp_uprav_kf", u"C550a", Format::Whole});
    w.field(out, {"pln_nkf", u"C520", Format::Whole});
    w.field(out, {"plnosv_kf", u"C530", Format::Whole});
    w.field(out, {"plnosv_nkf", u"C540", Format::Whole});
    writeYearEnd(w, tax, {"vypor_odp", u"C560a", Format::Whole}, yearEnd);
    w.end();

    w.begin("Veta6");
    w.field(out, {"dan_vrac", u"C600", Format::Whole});
    w.field(tax, {"dan_zocelk", u"C730", Format::Whole});
    w.field(tax, {"dano", u"C780", Format::Whole});
    w.field(tax, {"dano_da", u"C753", Format::Whole});
    w.field(tax, {"dano_no", u"C754", Format::Whole});
    w.field(tax, {"odp_zocelk", u"C750", Format::Whole});
    writeYearEnd(w, tax, {"uprav_odp", u"C570", Format::Whole}, yearEnd);
    w.end();

    writeAttachment(w, *dm.Prppz, prp);
    w.tag(1, "</DPHDP3>");
    w.finish();
    return w.bytes();
}

bool DphXml1(data::TDM1 &dm, const QString &path, int kodovani, bool radky, platform::Prompter &prompter)
{
    refreshTables(dm);
    platform::BusyGuard busy(prompter);
    // A folder that can't be made shows as the file that can't be created.
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo(folder).isDir())
        QDir().mkpath(folder);
    if (!writeAtomically(path, buildDphdp3(dm, kodovani, radky))) {
        prompter.error(cannotCreateMessage(path));
        return false;
    }
    prompter.information(QString::fromUtf16(kSavedMessage));
    return true;
}

QString defaultXmlTemplate(data::TDM1 &dm, const app::Directories &dirs, int type, bool firmName)
{
    const QString stem = firmName ? app::NazevSb1(dm, dirs) : dirs.dataSetDir;
    return app::CestyTyp1(dirs, type, app::KindXml, u"DPHDP3 - "_s, stem);
}

void VychXml1(data::TDM1 &dm, const app::Directories &dirs, XmlPathSettings &xml)
{
    if (xml.pathTemplate.isEmpty())
        xml.pathTemplate = defaultXmlTemplate(dm, dirs, 1, xml.firmName);
}

QString saveFilingFile(FilingContext &ctx)
{
    VychXml1(ctx.dm, ctx.dirs, ctx.xml);
    const QString path = app::CestyTyp2(ctx.dirs, ctx.xml.pathTemplate, app::KindXml);
    for (const QString &message : {QString::fromUtf16(kSetPathMessage), u"Nastavte písmeno disku (např. F:)."_s}) {
        if (path.compare(message, Qt::CaseInsensitive) == 0) {
            ctx.prompter.information(QString::fromUtf16(kSetPathMessage));
            return {};
        }
    }
    if (!DphXml1(ctx.dm, path, ctx.user.kodovani, ctx.user.radky, ctx.prompter))
        return {};
    app::recordFilingFile(ctx.dirs.dataSetIni(), {path, app::returnKey(ctx.dm), QDateTime::currentDateTime()});
    if (ctx.afterWrite)
        ctx.afterWrite(path);
    return path;
}

}  // namespace rur::print
