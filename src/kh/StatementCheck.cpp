#include "kh/StatementCheck.h"

#include "check/TaxNumber.h"
#include "data/DataM1.h"
#include "engine/NumberFormat.h"
#include "engine/Table.h"
#include "kh/StatementFile.h"
#include "kh/StatementSums.h"
#include "print/FilingFile.h"

#include <QHash>
#include <QSet>
#include <cmath>
#include <future>
#include <system_error>

using namespace Qt::StringLiterals;

namespace rur::kh {

namespace {

using check::Finding;
using check::Severity;

const QString kDkh = u"Dkh"_s;

QString dicProblem(check::DicFault fault)
{
    switch (fault) {
    case check::DicFault::None: return {};
    case check::DicFault::Empty:
    case check::DicFault::Format: return u"nemá 8 až 10 číslic"_s;
    case check::DicFault::NineDigitYear: return u"devítimístné rodné číslo mají jen lidé narození před rokem 1954"_s;
    case check::DicFault::BirthDate: return u"rodné číslo neobsahuje platné datum narození"_s;
    case check::DicFault::CheckDigit: return u"rodné číslo nemá správnou kontrolní číslici"_s;
    case check::DicFault::CompanyCheckDigit: return u"IČO v něm nemá správnou kontrolní číslici"_s;
    }
    return {};
}

class StatementCheck {
public:
    StatementCheck(data::TDM1 &dm, const StatementOptions &options, const QDate &today)
        : dm_(dm), options_(options), today_(today)
    {
    }

    QList<Finding> run(const QList<Document> &documents)
    {
        engine::Table &prp = *dm_.Prp;
        ownDic_ = prp.isActive() && !prp.isEmpty() ? prp.field(u"Dick"_s).asString() : QString();
        period_ = statementPeriod(prp);
        rates_ = columnRates(*dm_.Dcis);
        seen_.reserve(documents.size() * 2);
        checkHeader(prp);
        checkControlLines(documents);
        for (const Document &d : documents)
            checkRow(d);
        return out_;
    }

private:
    void add(Severity severity, const QString &where, const QString &problem, const QString &table = {},
             const QString &field = {})
    {
        out_.append({severity, where, where + u": "_s + problem, table, field});
    }
    void rowError(const Document &d, const QString &problem, Column column)
    {
        add(Severity::Error, rowName(d), problem, kDkh, fieldName(column));
    }

    static QString rowName(const Document &d)
    {
        return sectionName(d.section) + u' '
               + (d.doklad.isEmpty() ? u"(řádek rejstříku %1)"_s.arg(d.id) : d.doklad);
    }

    void checkHeader(engine::Table &prp)
    {
        if (!period_) {
            add(Severity::Error, u"Období"_s, u"v údajích o poplatníkovi není platný měsíc nebo čtvrtletí a rok."_s,
                u"Prp"_s, u"M"_s);
        } else if (period_->quarterly && prp.isActive() && !prp.isEmpty() && !prp.field(u"Tds"_s).asBoolean()) {
            add(Severity::Error, u"Období"_s,
                u"právnická osoba podává kontrolní hlášení za každý měsíc, i když podává přiznání čtvrtletně."_s,
                u"Prp"_s, u"Q"_s);
        }
        if (options_.form == u'N' && !options_.found.isValid())
            add(Severity::Error, u"Následné kontrolní hlášení"_s, u"chybí den, kdy byly zjištěny důvody pro jeho podání."_s);
    }

    void checkControlLines(const QList<Document> &documents)
    {
        for (const ControlLine &l : controlLines(dm_, sumRegister(documents))) {
            const qint64 figure = toHellers(l.returnValue);
            if (std::llabs(figure - l.registerSum) > kTolerance)
                add(Severity::Error, l.where,
                    u"přiznání "_s + crownsText(figure) + u", kontrolní hlášení "_s + crownsText(l.registerSum) + u'.',
                    l.table, l.fields.first());
        }
    }

    void checkRow(const Document &d)
    {
        const Section reported = reportedIn(d);
        if (!d.hasAmount())
            rowError(d, u"řádek nemá žádnou částku."_s, Column::Zaklad1);
        for (int c = 0; c < kColumnCount; ++c) {
            const Column column = Column(c);
            if (!sectionHas(d.section, column) && isFilled(d, column))
                rowError(d, u"oddíl "_s + sectionName(d.section) + u" nemá údaj „"_s + columnCaption(column) + u"“."_s,
                         column);
        }
        checkPartner(d, reported);
        checkRequired(d, reported);
        checkDate(d, reported);
        checkDuplicates(d, reported);
        checkTaxes(d);
    }

    static bool isFilled(const Document &d, Column c)
    {
        switch (c) {
        case Column::Dic: return !d.dic.isEmpty();
        case Column::Stat: return !d.stat.isEmpty();
        case Column::Vatid: return !d.vatid.isEmpty();
        case Column::Dan1: return d.tax[0] != 0;
        case Column::Zaklad2: return d.base[1] != 0;
        case Column::Dan2: return d.tax[1] != 0;
        case Column::Zaklad3: return d.base[2] != 0;
        case Column::Dan3: return d.tax[2] != 0;
        case Column::Kod: return !d.kod.isEmpty();
        case Column::Rezim: return !d.rezim.isEmpty();
        case Column::Oprava: return !d.oprava.isEmpty();
        case Column::Pomer: return !d.pomer.isEmpty();
        case Column::Radek: return d.radek != 0;
        default: return false;
        }
    }

    void checkPartner(const Document &d, Section reported)
    {
        if (d.dic.isEmpty()) {
            if (reported == Section::A1 || reported == Section::B1 || reported == Section::A4 || reported == Section::B2)
                rowError(d, reported == Section::A1 || reported == Section::A4 ? u"chybí DIČ odběratele."_s
                                                                               : u"chybí DIČ dodavatele."_s,
                         Column::Dic);
            return;
        }
        if (d.dic == ownDic_) {
            rowError(d, u"DIČ "_s + d.dic + u" je vlastní DIČ plátce."_s, Column::Dic);
            return;
        }
        auto known = dicFaults_.constFind(d.dic);
        if (known == dicFaults_.constEnd())
            known = dicFaults_.insert(d.dic, check::checkDic(u"CZ"_s + d.dic, today_));
        if (*known != check::DicFault::None)
            rowError(d, u"DIČ CZ"_s + d.dic + u" není platné: "_s + dicProblem(*known) + u'.', Column::Dic);
    }

    void checkRequired(const Document &d, Section reported)
    {
        const bool listed = reported != Section::A5 && reported != Section::B3;
        if (listed && reported != Section::A2 && d.doklad.isEmpty())
            rowError(d, u"chybí číslo dokladu."_s, Column::Doklad);
        if (listed && !d.datum.isValid())
            rowError(d, u"chybí datum."_s, Column::Datum);
        if ((d.section == Section::A1 || d.section == Section::B1) && d.kod.isEmpty())
            rowError(d, u"chybí kód předmětu plnění."_s, Column::Kod);
        if (d.section == Section::A3 && (d.stat.isEmpty() || d.vatid.isEmpty()))
            rowError(d, u"chybí kód státu a VAT ID odběratele (odběratele bez nich rejstřík nevede)."_s, Column::Vatid);
        if (d.section == Section::A2) {
            if (!isA2Line(d.radek)) {
                rowError(d, u"chybí řádek přiznání (3, 4, 5, 6, 9, 12 nebo 13)."_s, Column::Radek);
            } else if (isBasicRateLine(d.radek) && (d.base[1] || d.base[2] || d.tax[1] || d.tax[2])) {
                rowError(d, u"ř. %1 je pro základní sazbu, řádek má částky ve snížené sazbě."_s.arg(d.radek), Column::Radek);
            } else if (isReducedRateLine(d.radek) && (d.base[0] || d.tax[0])) {
                rowError(d, u"ř. %1 je pro sníženou sazbu, řádek má částky v základní sazbě."_s.arg(d.radek), Column::Radek);
            }
        }
    }

    // A date after the period never belongs to it; one before it only in B.2 and B.3, where a
    // deduction may be claimed in a later period than the supplier's.
    void checkDate(const Document &d, Section reported)
    {
        if (!period_ || !d.datum.isValid())
            return;
        const bool earlierAllowed = reported == Section::B2 || reported == Section::B3;
        const auto range = [this] { return engine::formatDate(period_->first) + u" – "_s + engine::formatDate(period_->last); };
        if (d.datum > period_->last)
            rowError(d, u"datum "_s + engine::formatDate(d.datum) + u" je po konci období "_s + range() + u'.', Column::Datum);
        else if (d.datum < period_->first && !earlierAllowed)
            rowError(d, u"datum "_s + engine::formatDate(d.datum) + u" je před začátkem období "_s + range() + u'.',
                     Column::Datum);
    }

    // The repeats the form forbids, each reported once: in A.1 a number with the same code of
    // the supply; in A.4 with the same regime or the same date; in B.1 from one supplier with
    // the same code; in B.2 from one supplier with the same date or the same "poměr".
    void checkDuplicates(const Document &d, Section reported)
    {
        if (d.doklad.isEmpty())
            return;
        const QString date = QString::number(d.datum.toJulianDay());
        switch (reported) {
        case Section::A1: repeated(d, u'1', {}, d.kod, u"se stejným kódem předmětu plnění"); break;
        case Section::A4:
            repeated(d, u'r', {}, d.rezim.isEmpty() ? u"0"_s : d.rezim, u"se stejným kódem režimu plnění");
            repeated(d, u'd', {}, date, u"se stejným datem povinnosti přiznat daň");
            break;
        case Section::B1: repeated(d, u'b', d.dic, d.kod, u"od jednoho dodavatele se stejným kódem předmětu plnění"); break;
        case Section::B2:
            repeated(d, u'D', d.dic, date, u"od jednoho dodavatele se stejným datem povinnosti přiznat daň");
            repeated(d, u'P', d.dic, d.pomer.isEmpty() ? u"N"_s : d.pomer, u"od jednoho dodavatele se stejně vyplněným poměrem");
            break;
        default: break;
        }
    }

    // The rule (a letter), the supplier where the rule counts one, the number and what must
    // differ make the key of a document that may appear once.
    void repeated(const Document &d, QChar rule, const QString &supplier, const QString &other, const char16_t *how)
    {
        QString k;
        k.reserve(supplier.size() + d.doklad.size() + other.size() + 4);
        k.append(rule).append(QChar(0x1f)).append(supplier).append(QChar(0x1f)).append(d.doklad).append(QChar(0x1f)).append(other);
        if (!seen_.contains(k)) {
            seen_.insert(k);
            return;
        }
        if (reported_.contains(k))
            return;
        reported_.insert(k);
        rowError(d, u"číslo dokladu "_s + d.doklad + u" je v oddílu "_s + sectionName(reportedIn(d)) + u" vícekrát "_s
                        + QString::fromUtf16(how) + u'.',
                 Column::Doklad);
    }

    // Each rate's tax against its base (1 Kč either way is rounding).
    void checkTaxes(const Document &d)
    {
        if (!sectionHas(d.section, Column::Dan1))
            return;
        for (int i = 0; i < 3; ++i) {
            if (d.base[i] == 0 && d.tax[i] == 0)
                continue;
            const qint64 expected = std::llround(double(d.base[i]) * rates_[i] / 100.0);
            if (std::llabs(d.tax[i] - expected) > 100)
                add(Severity::Warning, rowName(d),
                    u"daň %1 neodpovídá základu %2 při sazbě %3 % (%4)."_s.arg(
                        crownsText(d.tax[i]), crownsText(d.base[i]), engine::formatFloat(rates_[i], u"0.##"_s),
                        crownsText(expected)),
                    kDkh, fieldName(Column(int(Column::Dan1) + 2 * i)));
        }
    }

    data::TDM1 &dm_;
    const StatementOptions &options_;
    QDate today_;
    QString ownDic_;
    std::optional<Period> period_;
    std::array<double, 3> rates_ = {};
    QHash<QString, check::DicFault> dicFaults_;
    QSet<QString> seen_, reported_;
    QList<Finding> out_;
};

}  // namespace

QList<check::Finding> checkStatement(data::TDM1 &dm, const QList<Document> &documents,
                                     const StatementOptions &options, const QDate &today)
{
    return StatementCheck(dm, options, today).run(documents);
}

QList<check::Finding> KontrolaKh(data::TDM1 &dm, const StatementOptions &options, int kodovani, const QDate &today)
{
    print::refreshFilingTables(dm);
    const QList<Document> documents = loadRegister(dm);
    const QByteArray xml = buildDphkh1(dm, documents, options, kodovani, true);
    // The file is checked against the published schema on a thread of its own while the
    // rules run on the register here: for a large register each takes a good part of the
    // time. The schema check touches nothing but the file's bytes.
    std::future<QList<check::Finding>> schema;
    try {
        schema = std::async(std::launch::async, [xml] { return check::checkSchema(xml, check::FilingSchema::Dphkh1); });
    } catch (const std::system_error &) {
        // no thread to be had: one after the other
    }
    const QList<check::Finding> content = checkStatement(dm, documents, options, today);
    return check::mergeFindings(content, schema.valid() ? schema.get()
                                                        : check::checkSchema(xml, check::FilingSchema::Dphkh1));
}

}  // namespace rur::kh
