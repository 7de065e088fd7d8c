// The filing file DPHDP3 (form version 01.02): one element per record of the return, each
// attribute taken from one field of the taxpayer row or the return tables.
#include "print/FilingFile.h"

#include "base/DataSetRecords.h"
#include "base/Directories.h"
#include "base/Paths.h"
#include "base/UserSettings.h"
#include "data/DataM1.h"
#include "data/FileStem.h"
#include "engine/Table.h"
#include "platform/Cp1250.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "print/FilingWriter.h"
#include "print/XmlText.h"

#include <QDir>
#include <QFileInfo>
#include <QList>

using namespace Qt::StringLiterals;

namespace rur::print {

namespace {

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

void writeVetaD(FilingWriter &w, engine::Table &prp)
{
    w.begin("VetaD");
    w.constant("dokument", "DP3");
    w.constant("k_uladis", "DPH");  // the tax type code the schema fixes
    w.field(prp, {"c_okec", u"Hp1c", Format::Whole});
    if (isFilled(prp, u"Q"))
        w.field(prp, kQuarterAttribute);
    w.field(prp, kFilingDateAttribute);
    w.field(prp, {"d_zjist", u"D", Format::Date});
    w.constant("dapdph_forma", formLetter(prp));
    w.field(prp, {"kod_zo", u"P6", Format::First, 3});
    if (isFilled(prp, u"M"))
        w.field(prp, kMonthAttribute);
    w.field(prp, kYearAttribute);
    w.constant("trans", flag(prp, u"X") ? "N" : "A");
    w.constant("typ_platce", payerLetter(prp));
    w.field(prp, kPeriodToAttribute);
    w.field(prp, kPeriodFromAttribute);
    w.end();
}

template <std::size_t N>
void writeAmounts(FilingWriter &w, const char *element, engine::Table &t, const Attribute (&attributes)[N])
{
    w.begin(element);
    for (const Attribute &a : attributes)
        w.field(t, {a.name, a.field, Format::Whole});
    w.end();
}

// Lines 53 and 60 and the settlement coefficient appear in the last return of the year, and
// in any other return only when they are not 0.
void writeYearEnd(FilingWriter &w, engine::Table &t, const Attribute &a, bool yearEnd)
{
    if (yearEnd || valueOf(t, a.field).toDouble() != 0.0)
        w.field(t, a);
}

void writeAttachment(FilingWriter &w, engine::Table &prppz, engine::Table &prp)
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

}  // namespace

const char *returnFormLetter(engine::Table &prp)
{
    return formLetter(prp);
}

QString returnKey(data::TDM1 &dm)
{
    engine::Table &prp = *dm.Prp;
    if (!prp.isActive())
        return {};
    const auto text = [&prp](const QString &field) { return prp.field(field).asString().trimmed(); };
    return QStringList{text(u"R"_s), text(u"M"_s), text(u"Q"_s), QString::fromLatin1(returnFormLetter(prp))}.join(u'|');
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

    FilingWriter w(kodovani, radky);
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

void refreshFilingTables(data::TDM1 &dm)
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

bool storeFilingFile(const QString &path, const std::function<QByteArray()> &build, platform::Prompter &prompter)
{
    platform::BusyGuard busy(prompter);
    // A folder that can't be made shows as the file that can't be created.
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo(folder).isDir())
        QDir().mkpath(folder);
    if (!writeFilingFile(path, build())) {
        prompter.error(cannotCreateMessage(path));
        return false;
    }
    prompter.information(QString::fromUtf16(kSavedMessage));
    return true;
}

bool DphXml1(data::TDM1 &dm, const QString &path, int kodovani, bool radky, platform::Prompter &prompter)
{
    refreshFilingTables(dm);
    return storeFilingFile(path, [&] { return buildDphdp3(dm, kodovani, radky); }, prompter);
}

QString defaultXmlTemplate(data::TDM1 &dm, const base::Directories &dirs, int type, bool firmName)
{
    const QString stem = firmName ? data::NazevSb1(dm, dirs) : dirs.dataSetDir;
    return base::CestyTyp1(dirs, type, base::KindXml, u"DPHDP3 - "_s, stem);
}

void VychXml1(data::TDM1 &dm, const base::Directories &dirs, XmlPathSettings &xml)
{
    if (xml.pathTemplate.isEmpty())
        xml.pathTemplate = defaultXmlTemplate(dm, dirs, 1, xml.firmName);
}

QString filingFilePath(FilingContext &ctx)
{
    VychXml1(ctx.dm, ctx.dirs, ctx.xml);
    const QString path = base::CestyTyp2(ctx.dirs, ctx.xml.pathTemplate, base::KindXml);
    for (const QString &message : {QString::fromUtf16(kSetPathMessage), u"Nastavte písmeno disku (např. F:)."_s}) {
        if (path.compare(message, Qt::CaseInsensitive) == 0) {
            ctx.prompter.information(QString::fromUtf16(kSetPathMessage));
            return {};
        }
    }
    return path;
}

QString saveFilingFile(FilingContext &ctx)
{
    const QString path = filingFilePath(ctx);
    if (path.isEmpty() || !DphXml1(ctx.dm, path, ctx.user.kodovani, ctx.user.radky, ctx.prompter))
        return {};
    base::recordFilingFile(ctx.dirs.dataSetIni(), {path, returnKey(ctx.dm), QDateTime::currentDateTime()});
    if (ctx.afterWrite)
        ctx.afterWrite(path);
    return path;
}

}  // namespace rur::print
