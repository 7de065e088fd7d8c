#include "kh/StatementFile.h"

#include "base/Paths.h"
#include "base/UserSettings.h"
#include "data/DataM1.h"
#include "engine/Table.h"
#include "kh/StatementSums.h"
#include "platform/Cp1250.h"
#include "platform/IniFile.h"
#include "print/FilingFile.h"
#include "print/FilingWriter.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace rur::kh {

namespace {

using print::FilingWriter;

const QString kSection = u"KH"_s;

// dd.mm.yyyy, written by hand: a large statement has a date on every row.
QByteArray dateText(const QDate &date)
{
    if (!date.isValid() || date.year() < 1000 || date.year() > 9999)
        return date.isValid() ? date.toString(u"dd.MM.yyyy"_s).toLatin1() : QByteArray();
    char text[10];
    const auto two = [](char *at, int n) {
        at[0] = char('0' + n / 10);
        at[1] = char('0' + n % 10);
    };
    two(text, date.day());
    text[2] = '.';
    two(text + 3, date.month());
    text[5] = '.';
    two(text + 6, date.year() / 100);
    two(text + 8, date.year() % 100);
    return QByteArray(text, 10);
}

void writeVetaD(FilingWriter &w, engine::Table &prp, const StatementOptions &options)
{
    w.begin("VetaD");
    w.constant("dokument", "KH1");
    w.constant("k_uladis", "DPH");
    if (print::isFilled(prp, u"Q"))
        w.field(prp, print::kQuarterAttribute);
    if (print::isFilled(prp, u"M"))
        w.field(prp, print::kMonthAttribute);
    w.field(prp, print::kYearAttribute);
    w.field(prp, print::kPeriodFromAttribute);
    w.field(prp, print::kPeriodToAttribute);
    w.field(prp, print::kFilingDateAttribute);
    w.constant("khdph_forma", QByteArray(1, char(options.form.toLatin1())));
    if (options.form == u'N')
        w.constant("d_zjist", dateText(options.found));
    w.end();
}

void writeText(FilingWriter &w, const char *name, const QString &text)
{
    w.value(name, platform::toCp1250(text));
}

// The amounts a row carries: every base and tax that is not 0.
void writeAmounts(FilingWriter &w, const std::array<qint64, 3> &base, const std::array<qint64, 3> &tax)
{
    static const char *const bases[] = {"zakl_dane1", "zakl_dane2", "zakl_dane3"};
    static const char *const taxes[] = {"dan1", "dan2", "dan3"};
    for (int i = 0; i < 3; ++i) {
        if (base[i] != 0)
            w.constant(bases[i], decimalText(base[i]));
        if (tax[i] != 0)
            w.constant(taxes[i], decimalText(tax[i]));
    }
}

void writeRow(FilingWriter &w, const Document &d, Section section, int line)
{
    switch (section) {
    case Section::A1: w.begin("VetaA1"); break;
    case Section::A2: w.begin("VetaA2"); break;
    case Section::A3: w.begin("VetaA3"); break;
    case Section::A4: w.begin("VetaA4"); break;
    case Section::B1: w.begin("VetaB1"); break;
    case Section::B2: w.begin("VetaB2"); break;
    case Section::A5:
    case Section::B3: return;
    }
    w.constant("c_radku", QByteArray::number(line));
    const bool sales = section == Section::A1 || section == Section::A4;
    const bool purchases = section == Section::B1 || section == Section::B2;
    if (sales || purchases)
        writeText(w, sales ? "dic_odb" : "dic_dod", d.dic);
    if (section == Section::A2 || section == Section::A3) {
        writeText(w, "k_stat", d.stat);
        writeText(w, section == Section::A2 ? "vatid_dod" : "vatid_odb", d.vatid);
    }
    writeText(w, "c_evid_dd", d.doklad);
    // The date is the supply's for A1 and B1, the exempt supply's for A3, else the day the
    // tax is to be declared.
    const char *date = section == Section::A1 || section == Section::B1 ? "duzp" : section == Section::A3 ? "dup" : "dppd";
    w.constant(date, dateText(d.datum));
    if (section == Section::A1) {
        w.constant("zakl_dane1", decimalText(d.baseTotal()));
        writeText(w, "kod_pred_pl", d.kod);
    } else if (section == Section::A3) {
        w.constant("osv_plneni", decimalText(d.baseTotal()));
    } else {
        writeAmounts(w, d.base, d.tax);
    }
    if (section == Section::B1)
        writeText(w, "kod_pred_pl", d.kod);
    // The codes the form requires, with the plain case where the register leaves them empty.
    if (section == Section::A4)
        writeText(w, "kod_rezim_pl", d.rezim.isEmpty() ? u"0"_s : d.rezim);
    if (section == Section::B2)
        writeText(w, "pomer", d.pomer.isEmpty() ? u"N"_s : d.pomer);
    if (section == Section::A4 || section == Section::B2)
        writeText(w, "zdph_44", d.oprava.isEmpty() ? u"N"_s : d.oprava);
    w.end();
}

void writeSums(FilingWriter &w, const char *element, const SectionSums &sums)
{
    if (sums.rows == 0)
        return;
    w.begin(element);
    writeAmounts(w, sums.base, sums.tax);
    w.end();
}

}  // namespace

StatementOptions readStatementOptions(const platform::IniFile &dataSetIni)
{
    StatementOptions o;
    const QString form = dataSetIni.readString(kSection, u"Forma"_s);
    if (isStatementForm(form))
        o.form = form.at(0);
    o.found = QDate::fromString(dataSetIni.readString(kSection, u"Zjisteno"_s), u"dd.MM.yyyy"_s);
    return o;
}

bool writeStatementOptions(platform::IniFile &dataSetIni, const StatementOptions &options)
{
    const bool form = dataSetIni.writeString(kSection, u"Forma"_s, QString(options.form));
    return dataSetIni.writeString(kSection, u"Zjisteno"_s, options.found.toString(u"dd.MM.yyyy"_s)) && form;
}

bool isStatementForm(const QString &letter)
{
    return letter == u"B"_s || letter == u"O"_s || letter == u"N"_s;
}

QString formCaption(QChar form)
{
    if (form == u'O')
        return u"opravné"_s;
    if (form == u'N')
        return u"následné"_s;
    return u"řádné"_s;
}

QList<Document> loadRegister(data::TDM1 &dm)
{
    engine::Table &dkh = *dm.Dkh;
    if (!dkh.isActive())
        dkh.open();
    else if (!dkh.isEditing())
        dkh.refreshIfChanged();  // a large register is read again only when someone wrote it
    return readRegister(dkh);
}

QByteArray buildDphkh1(data::TDM1 &dm, const QList<Document> &documents, const StatementOptions &options,
                       int kodovani, bool radky)
{
    engine::Table &prp = *dm.Prp;
    FilingWriter w(kodovani, radky);
    w.reserve(4096 + documents.size() * 200);
    w.declaration();
    w.tag(0, "<Pisemnost>");
    w.tag(1, "<DPHKH1 verzePis=\"03.01\">");
    writeVetaD(w, prp, options);
    print::writeVetaP(w, prp);

    // The sections in the order of the form, each row numbered within its section.
    QList<const Document *> bySection[8];
    for (const Document &d : documents)
        bySection[int(reportedIn(d))].append(&d);
    const RegisterSums sums = sumRegister(documents);
    for (Section s : kSections) {
        if (s == Section::A5 || s == Section::B3) {
            writeSums(w, s == Section::A5 ? "VetaA5" : "VetaB3", sums.of(s));
            continue;
        }
        int line = 0;
        for (const Document *d : std::as_const(bySection[int(s)]))
            writeRow(w, *d, s, ++line);
    }

    w.begin("VetaC");
    for (const ControlLine &l : controlLines(dm, sums))
        w.constant(l.attribute, decimalText(toHellers(l.returnValue)));
    w.end();
    w.tag(1, "</DPHKH1>");
    w.finish();
    return w.bytes();
}

QString statementPathFor(const QString &returnFilePath)
{
    const QFileInfo info(returnFilePath);
    QString name = info.fileName();
    const qsizetype at = name.indexOf(u"DP3"_s, 0, Qt::CaseInsensitive);
    name = at >= 0 ? name.replace(at, 3, u"KH"_s) : u"DPHKH - "_s + name;
    const QString folder = returnFilePath.left(returnFilePath.size() - info.fileName().size());
    return folder + name;
}

bool writeStatementFile(data::TDM1 &dm, const QString &path, const StatementOptions &options, int kodovani,
                        bool radky, platform::Prompter &prompter)
{
    print::refreshFilingTables(dm);
    const QList<Document> documents = loadRegister(dm);
    return print::storeFilingFile(path, [&] { return buildDphkh1(dm, documents, options, kodovani, radky); }, prompter);
}

QString saveStatementFile(print::FilingContext &ctx, const StatementOptions &options)
{
    const QString returnPath = print::filingFilePath(ctx);
    if (returnPath.isEmpty())
        return {};
    const QString path = statementPathFor(returnPath);
    if (!writeStatementFile(ctx.dm, path, options, ctx.user.kodovani, ctx.user.radky, ctx.prompter))
        return {};
    return path;
}

}  // namespace rur::kh
