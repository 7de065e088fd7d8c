#include "app/Overview.h"

#include "base/DataSetRecords.h"
#include "check/ReturnCheck.h"
#include "data/DataM1.h"
#include "engine/JsonRows.h"
#include "engine/NumberFormat.h"
#include "engine/Table.h"
#include "print/FilingFile.h"
#include "vat/FilingDeadline.h"
#include "vat/Saving.h"

#include <QFileInfo>
#include <QLocale>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace rur::app {

namespace {

QString kindText(const char *letter)
{
    switch (letter[0]) {
    case 'O': return u"opravné"_s;
    case 'D': return u"dodatečné"_s;
    case 'E': return u"dodatečné opravné"_s;
    default: return u"řádné"_s;
    }
}

// The end of the period, or of its part (za obd. od – do) when that lies inside it, as the
// check takes it.
QDate periodEnd(const vat::ReturnPeriod &period, const QDate &from, const QDate &to)
{
    const QDate a = from.isValid() ? from : period.first, b = to.isValid() ? to : period.last;
    if (to.isValid() && a <= b && a >= period.first && b <= period.last)
        return to;
    return period.last;
}

QString amountText(double value)
{
    return engine::formatFloat(value, u"#,##0"_s) + u" Kč"_s;
}

// Czech plurals: one, two to four, five and more.
QString counted(int n, const QString &one, const QString &few, const QString &many)
{
    const int a = n < 0 ? -n : n;
    return QString::number(n) + u' ' + (a == 1 ? one : (a >= 2 && a <= 4) ? few : many);
}

QString jsonText(const QString &text)
{
    return text.isEmpty() ? u"null"_s : engine::jsonString(text);
}

}  // namespace

Overview computeOverview(data::TDM1 &dm, const QString &dataSetIni, int kodovani, const QDateTime &now)
{
    Overview o;
    o.today = now.date();
    // The check re-reads the taxpayer row and the return, so the lines below are fresh too.
    const QList<check::Finding> findings = check::KontrolaRur(dm, kodovani, o.today);
    o.errors = check::countOf(findings, check::Severity::Error);
    o.warnings = check::countOf(findings, check::Severity::Warning);

    engine::Table &prp = *dm.Prp, &tax = *dm.Dtabn3;
    const auto text = [&prp](const char16_t *field) { return prp.field(QString::fromUtf16(field)).asString(); };
    const auto date = [&prp](const char16_t *field) { return prp.field(QString::fromUtf16(field)).value().toDate(); };
    o.taxpayer = dm.taxpayerName();
    o.dic = text(u"Dic").trimmed();
    o.kind = kindText(print::returnFormLetter(prp));
    o.supplementary = prp.field(u"Dpdd1"_s).value().toBool();
    const std::optional<vat::ReturnPeriod> period = vat::returnPeriod(text(u"M"), text(u"Q"), text(u"R"));
    if (period) {
        o.period = period->name;
        o.lastOfYear = period->lastOfYear();
    }
    const auto line = [&tax](const char16_t *field) { return tax.field(QString::fromUtf16(field)).value().toDouble(); };
    o.r62 = line(u"C730");
    o.r63 = line(u"C750");
    o.r64 = line(u"C753");
    o.r65 = line(u"C754");
    o.r66 = line(u"C780");

    if (o.supplementary)
        o.deadline = vat::supplementaryDeadline(date(u"D"));
    else if (period)
        o.deadline = vat::filingDeadline(periodEnd(*period, date(u"Od1"), date(u"Do1")));
    o.daysLeft = o.deadline.isValid() ? int(o.today.daysTo(o.deadline)) : 0;
    o.saved = vat::isPeriodSaved(dm, prp.field(u"Cislo"_s).value().toInt());

    const base::FilingFileRecord file = base::readFilingFileRecord(dataSetIni);
    if (!file.path.isEmpty() && file.returnKey == print::returnKey(dm) && QFileInfo(file.path).isFile())
        o.filingFileWritten = file.written;
    o.lastBackup = base::readBackupRecord(dataSetIni).made.date();
    return o;
}

QString overviewJson(const Overview &o)
{
    const auto number = [](double v) { return engine::shortestText(v); };
    const bool dated = o.deadline.isValid();
    const QList<std::pair<QString, QString>> members = {
        {u"poplatnik"_s, jsonText(o.taxpayer)},
        {u"dic"_s, jsonText(o.dic)},
        {u"obdobi"_s, jsonText(o.period)},
        {u"druh"_s, jsonText(o.kind)},
        {u"r62"_s, number(o.r62)},
        {u"r63"_s, number(o.r63)},
        {u"r64"_s, number(o.r64)},
        {u"r65"_s, number(o.r65)},
        {u"r66"_s, number(o.r66)},
        {u"termin"_s, dated ? jsonText(o.deadline.toString(Qt::ISODate)) : u"null"_s},
        {u"dni"_s, dated ? QString::number(o.daysLeft) : u"null"_s},
        {u"ulozeno"_s, o.saved ? u"true"_s : u"false"_s},
        {u"soubor"_s, o.filingFileWritten.isValid() ? jsonText(o.filingFileWritten.toString(Qt::ISODate)) : u"null"_s},
        {u"chyby"_s, QString::number(o.errors)},
        {u"varovani"_s, QString::number(o.warnings)},
        {u"zaloha"_s, o.lastBackup.isValid() ? jsonText(o.lastBackup.toString(Qt::ISODate)) : u"null"_s},
    };
    QStringList lines;
    for (const auto &[key, value] : members)
        lines.append(u"  "_s + engine::jsonString(key) + u": "_s + value);
    return u"{\n"_s + lines.join(u",\n"_s) + u"\n}"_s;
}

QString daysLeftText(int days)
{
    if (days == 0)
        return u"dnes je poslední den"_s;
    if (days < 0)
        return u"uplynula před "_s + (days == -1 ? u"1 dnem"_s : QString::number(-days) + u" dny"_s);
    return (days >= 2 && days <= 4 ? u"zbývají "_s : u"zbývá "_s) + counted(days, u"den"_s, u"dny"_s, u"dní"_s);
}

FactText factText(const Overview &o, Fact fact)
{
    const QString none = u"nevyplněno"_s;
    switch (fact) {
    case Fact::Taxpayer:
        return {u"Poplatník"_s, o.taxpayer.isEmpty() ? none : o.taxpayer};
    case Fact::Dic:
        return {u"DIČ"_s, o.dic.isEmpty() ? none : o.dic};
    case Fact::Period:
        return {u"Období"_s, o.period.isEmpty() ? u"není správně vyplněno"_s : o.period, o.period.isEmpty()};
    case Fact::Kind:
        return {u"Druh přiznání"_s, o.kind};
    case Fact::Line62:
        return {u"ř. 62 Daň na výstupu"_s, amountText(o.r62)};
    case Fact::Line63:
        return {u"ř. 63 Odpočet daně"_s, amountText(o.r63)};
    case Fact::Result:
        if (o.supplementary)
            return {u"ř. 66 Rozdíl proti poslední známé dani"_s, amountText(o.r66)};
        if (o.r65 != 0.0)
            return {u"ř. 65 Nadměrný odpočet"_s, amountText(o.r65)};
        return {u"ř. 64 Vlastní daň – k zaplacení"_s, amountText(o.r64)};
    case Fact::Deadline: {
        const QString caption = u"Podat a zaplatit do"_s;
        if (!o.deadline.isValid())
            return {caption, o.supplementary ? u"vyplňte, kdy byly zjištěny důvody dodatečného přiznání"_s
                                             : u"není známa, období není vyplněno"_s};
        const QString day = QLocale(QLocale::Czech).toString(o.deadline, u"ddd dd.MM.yyyy"_s);
        return {caption, day + u", "_s + (o.daysLeft < 0 ? u"lhůta "_s : QString()) + daysLeftText(o.daysLeft),
                o.overdue()};
    }
    case Fact::Saved:
        return {u"Uložení RUR"_s, o.saved ? u"uloženo mezi hotovými přiznáními"_s : u"zatím neuloženo"_s};
    case Fact::FilingFile:
        return {u"Soubor pro el. podání"_s,
                o.filingFileWritten.isValid() ? u"zapsán "_s + o.filingFileWritten.toString(u"dd.MM.yyyy HH:mm"_s)
                                              : u"pro toto přiznání zatím nezapsán"_s};
    case Fact::Check: {
        QString value = u"bez chyb a upozornění"_s;
        if (o.errors != 0 || o.warnings != 0)
            value = counted(o.errors, u"chyba"_s, u"chyby"_s, u"chyb"_s) + u", "_s + QString::number(o.warnings)
                    + u" upozornění"_s;
        return {u"Kontrola"_s, value, o.errors != 0};
    }
    case Fact::Backup: {
        const QString caption = u"Poslední záloha"_s;
        if (!o.lastBackup.isValid())
            return {caption, u"data tohoto RUR zatím nebyla zálohována"_s, true};
        const QString last = u"poslední záloha "_s + o.lastBackup.toString(u"dd.MM.yyyy"_s);
        if (o.backupDue())
            return {caption, last + u" je starší než 30 dní"_s, true};
        return {caption, last};
    }
    }
    return {};
}

}  // namespace rur::app
