// The rules of a return that its schema cannot express, over the current rows of the taxpayer
// data and the three return tables. Each finding names the field the user types and the place
// as the windows show it.
#include "check/FilingFields.h"
#include "check/ReturnCheck.h"
#include "check/TaxNumber.h"
#include "data/DataM1.h"
#include "datasets/Periods.h"
#include "engine/Field.h"
#include "engine/NumberFormat.h"
#include "engine/Table.h"
#include "vat/FilingDeadline.h"

#include <QRegularExpression>
#include <cmath>
#include <optional>

using namespace Qt::StringLiterals;

namespace rur::check {

namespace {

// The return period as the taxpayer data names it.
struct Period {
    QDate first, last;
    QString name;  // "březen 2018", "I. čtvrtletí 2018"
    bool yearEnd = false;
};

// Lines 1 to 13 that have a rate, with their tax and control value.
struct ControlledLine {
    int line;
    const char16_t *tax;
    const char16_t *control;
};
constexpr ControlledLine kControlledLines[] = {
    {1, u"C210a", u"K210"},  {2, u"C215a", u"K215"},  {3, u"C220a", u"K220"},  {4, u"C225a", u"K225"},
    {5, u"C230a", u"K230"},  {6, u"C235a", u"K235"},  {7, u"C260a", u"K260"},  {8, u"C265a", u"K265"},
    {10, u"C110a", u"K110"}, {11, u"C111a", u"K111"}, {12, u"C270a", u"K270"}, {13, u"C275a", u"K275"},
};

const QString kPeriodPlace = u"Přiznání za zdaňovací období"_s;
const QString kReasonsPlace = u"důvody pro podání dodat. přiznání zjištěny dne"_s;

QString amountText(double v)
{
    return engine::formatFloat(v, u"0"_s);
}

QString dateText(const QDate &d)
{
    return engine::formatDate(d);
}

class ContentCheck {
public:
    ContentCheck(data::TDM1 &dm, const QDate &today, const FieldValues &values)
        : dm_(dm), today_(today), values_(values)
    {
    }

    QList<Finding> run()
    {
        checkDic();
        const std::optional<Period> period = checkPeriod();
        checkFilingDate(period);
        checkTaxOffice();
        checkSupplementary();
        checkControlValues();
        checkCoefficients();
        checkSettlement(period);
        checkOwnTaxAndExcess();
        checkTaxpayerKind();
        return out_;
    }

private:
    // A value given instead of the row's (one read from a filing file), else the row's.
    QVariant value(engine::Table &t, const QString &field) const
    {
        if (const auto given = values_.constFind(t.name() + u'.' + field); given != values_.constEnd())
            return *given;
        return t.isActive() ? t.field(field).value() : QVariant();
    }
    double amount(engine::Table &t, const QString &field) const { return value(t, field).toDouble(); }
    QString text(engine::Table &t, const QString &field) const { return value(t, field).toString(); }
    QDate date(engine::Table &t, const QString &field) const { return value(t, field).toDate(); }
    bool flag(engine::Table &t, const QString &field) const { return value(t, field).toBool(); }

    void add(Severity severity, const QString &where, const QString &problem, const QString &table,
             const QString &field)
    {
        out_.append({severity, where, where + u": "_s + problem, table, field});
    }
    void error(const QString &where, const QString &problem, const QString &table, const QString &field)
    {
        add(Severity::Error, where, problem, table, field);
    }
    void warning(const QString &where, const QString &problem, const QString &table, const QString &field)
    {
        add(Severity::Warning, where, problem, table, field);
    }

    void checkDic()
    {
        engine::Table &prp = *dm_.Prp;
        const QString place = u"DIČ"_s;
        switch (check::checkDic(text(prp, u"Dic"_s), today_)) {
        case DicFault::None:
            return;
        case DicFault::Empty:
            return error(place, u"není vyplněno."_s, u"Prp"_s, u"Dic"_s);
        case DicFault::Format:
            return error(place, u"musí mít tvar CZ a 8 až 10 číslic."_s, u"Prp"_s, u"Dic"_s);
        case DicFault::NineDigitYear:
            return error(place, u"devítimístné rodné číslo mají jen lidé narození před rokem 1954."_s, u"Prp"_s,
                         u"Dic"_s);
        case DicFault::BirthDate:
            return error(place, u"rodné číslo neobsahuje platné datum narození."_s, u"Prp"_s, u"Dic"_s);
        case DicFault::CheckDigit:
            return error(place, u"rodné číslo nemá správnou kontrolní číslici (není dělitelné 11)."_s, u"Prp"_s,
                         u"Dic"_s);
        case DicFault::CompanyCheckDigit:
            return error(place, u"IČO v něm nemá správnou kontrolní číslici."_s, u"Prp"_s, u"Dic"_s);
        }
    }

    // Month or quarter, the period number and the year; the period when all of them hold.
    std::optional<Period> checkPeriod()
    {
        engine::Table &prp = *dm_.Prp;
        const QString month = text(prp, u"M"_s).trimmed(), quarter = text(prp, u"Q"_s).trimmed();
        const int cislo = value(prp, u"Cislo"_s).toInt();
        const QString year = text(prp, u"R"_s).trimmed();
        static const QRegularExpression fourDigits(u"^[0-9]{4}$"_s);
        const bool yearValid = fourDigits.match(year).hasMatch() && year.toInt() >= 1900;
        if (!yearValid)
            error(u"Rok"_s, u"musí být čtyřmístný rok."_s, u"Prp"_s, u"R"_s);

        if (!month.isEmpty() && !quarter.isEmpty()) {
            error(kPeriodPlace, u"vyplňte buď měsíc, nebo čtvrtletí, ne obojí."_s, u"Prp"_s, u"M"_s);
            return std::nullopt;
        }
        if (month.isEmpty() && quarter.isEmpty()) {
            error(kPeriodPlace, u"není vyplněn měsíc ani čtvrtletí."_s, u"Prp"_s, u"M"_s);
            return std::nullopt;
        }
        const bool monthly = !month.isEmpty();
        const QString name = monthly ? month : quarter;
        const QStringList &names = monthly ? datasets::monthNames() : datasets::quarterNames();
        const int number = int(names.indexOf(name)) + 1;
        if (number == 0) {
            error(kPeriodPlace, (monthly ? u"„%1“ není název měsíce."_s : u"„%1“ není název čtvrtletí."_s).arg(name),
                  u"Prp"_s, monthly ? u"M"_s : u"Q"_s);
            return std::nullopt;
        }
        if (cislo != number) {
            error(u"Číslo období"_s,
                  (monthly ? u"%1 neodpovídá měsíci %2 (%3)."_s : u"%1 neodpovídá čtvrtletí %2 (%3)."_s)
                      .arg(cislo)
                      .arg(name)
                      .arg(number),
                  u"Prp"_s, u"Cislo"_s);
        }
        if (!yearValid)
            return std::nullopt;
        Period p;
        const int y = year.toInt();
        p.first = QDate(y, monthly ? number : 3 * number - 2, 1);
        p.last = p.first.addMonths(monthly ? 1 : 3).addDays(-1);
        p.name = monthly ? month + u' ' + year : quarter + u" čtvrtletí "_s + year;
        p.yearEnd = number == (monthly ? 12 : 4);
        return p;
    }

    // The part of a period (za obd. od / do) lies inside it; the return may be filed once the
    // period (or its part) has ended; a regular or corrective return is due on the 25th day
    // after it, moved past weekends and public holidays.
    void checkFilingDate(const std::optional<Period> &period)
    {
        engine::Table &prp = *dm_.Prp;
        const QDate filed = date(prp, u"Ddp"_s), from = date(prp, u"Od1"_s), to = date(prp, u"Do1"_s);
        QDate end = period ? period->last : QDate();
        if (period && (from.isValid() || to.isValid())) {
            const QDate a = from.isValid() ? from : period->first, b = to.isValid() ? to : period->last;
            if (a > b || a < period->first || b > period->last) {
                error(u"za obd. od – do"_s,
                      u"%1 – %2 musí ležet v období %3."_s.arg(from.isValid() ? dateText(from) : QString(),
                                                               to.isValid() ? dateText(to) : QString(), period->name),
                      u"Prp"_s, from.isValid() ? u"Od1"_s : u"Do1"_s);
            } else if (to.isValid()) {
                end = to;
            }
        }
        if (!filed.isValid()) {
            warning(u"Datum"_s, u"datum podání není vyplněno."_s, u"Prp"_s, u"Ddp"_s);
            return;
        }
        if (filed > today_)
            warning(u"Datum"_s, u"%1 je pozdější než dnešní datum."_s.arg(dateText(filed)), u"Prp"_s, u"Ddp"_s);
        if (!end.isValid())
            return;
        if (filed <= end) {
            error(u"Datum"_s,
                  u"%1 není po skončení zdaňovacího období (%2); přiznání lze podat až po něm."_s.arg(dateText(filed),
                                                                                                     dateText(end)),
                  u"Prp"_s, u"Ddp"_s);
            return;
        }
        const bool supplementary = flag(prp, u"Dpdd1"_s);
        const QDate due = vat::filingDeadline(end);
        if (!supplementary && filed > due)
            warning(u"Datum"_s, u"lhůta pro podání přiznání za %1 uplynula %2."_s.arg(period->name, dateText(due)),
                    u"Prp"_s, u"Ddp"_s);
    }

    void checkTaxOffice()
    {
        if (amount(*dm_.Prp, u"Fuc"_s) == 0.0)
            error(u"Číslo FÚ"_s, u"není vyplněno číslo finančního úřadu."_s, u"Prp"_s, u"Fuc"_s);
    }

    // The date the reasons for a supplementary return were found: required for one, before its
    // filing date, and meaningless for any other return.
    void checkSupplementary()
    {
        engine::Table &prp = *dm_.Prp;
        const bool supplementary = flag(prp, u"Dpdd1"_s);
        const QDate found = date(prp, u"D"_s), filed = date(prp, u"Ddp"_s);
        if (supplementary && !found.isValid()) {
            error(kReasonsPlace, u"u dodatečného přiznání musí být datum vyplněno."_s, u"Prp"_s, u"D"_s);
        } else if (supplementary && filed.isValid() && found > filed) {
            error(kReasonsPlace, u"%1 je pozdější než datum podání %2."_s.arg(dateText(found), dateText(filed)),
                  u"Prp"_s, u"D"_s);
        } else if (!supplementary && found.isValid()) {
            warning(kReasonsPlace, u"datum se vyplňuje jen u dodatečného přiznání."_s, u"Prp"_s, u"D"_s);
        }
    }

    void checkControlValues()
    {
        engine::Table &out = *dm_.Dtabn1;
        for (const ControlledLine &l : kControlledLines) {
            const QString taxField = QString::fromUtf16(l.tax);
            const double tax = amount(out, taxField), control = amount(out, QString::fromUtf16(l.control));
            if (std::fabs(tax - control) > 1.0)
                warning(u"ř. "_s + QString::number(l.line),
                        u"daň %1 Kč se liší od kontrolního výpočtu %2 Kč o %3 Kč."_s.arg(
                            amountText(tax), amountText(control), amountText(std::fabs(tax - control))),
                        u"Dtabn1"_s, taxField);
        }
    }

    // A coefficient is a share, typed as a fraction: 0 to 1; where the taxpayer prints it in
    // per cent the finding gives both forms.
    void coefficient(Severity severity, const QString &where, const QString &what, engine::Table &t,
                     const QString &field, bool printed)
    {
        const double v = amount(t, field);
        if (v >= 0.0 && v <= 1.0)
            return;
        const bool percent = printed && flag(*dm_.Prp, u"K1p"_s);
        const QString shown = engine::formatFloat(v, u"0.##"_s);
        add(severity, where,
            percent ? u"%1 %2 (%3 %) musí ležet mezi 0 a 1 (0 až 100 %)."_s.arg(what, shown,
                                                                               engine::formatFloat(v * 100.0, u"0.##"_s))
                    : u"%1 %2 musí ležet mezi 0 a 1."_s.arg(what, shown),
            t.name(), field);
    }

    void checkCoefficients()
    {
        coefficient(Severity::Error, u"ř. 52"_s, u"koeficient"_s, *dm_.Dtabn2, u"C550"_s, true);
        coefficient(Severity::Error, u"ř. 53"_s, u"vypořádací koeficient"_s, *dm_.Dtabn3, u"C560"_s, true);
        // The filing file carries the coefficients of lines 52 and 53 as the printout shows them;
        // the tax office reads them as per cent, so a fraction there is another coefficient.
        if (!flag(*dm_.Prp, u"K1p"_s) && (amount(*dm_.Dtabn2, u"C550"_s) != 0.0 || amount(*dm_.Dtabn3, u"C560"_s) != 0.0))
            error(u"procentní vyjádření"_s,
                  u"bez něj se koeficient zapíše do souboru pro elektronické podání jako podíl (0,85), "
                  u"finanční úřad jej však čte v procentech (85)."_s,
                  u"Prp"_s, u"K1p"_s);
        // The year's coefficient is not filed, but it is what the next periods start from.
        coefficient(Severity::Warning, u"Koeficient"_s, u"roční koeficient"_s, *dm_.Prp, u"K1"_s, false);
    }

    // Line 53 settles the deduction of the year: in the return for December or the fourth
    // quarter only.
    void checkSettlement(const std::optional<Period> &period)
    {
        engine::Table &tax = *dm_.Dtabn3;
        if (!period || period->yearEnd)
            return;
        if (amount(tax, u"C560"_s) != 0.0 || amount(tax, u"C560a"_s) != 0.0)
            warning(u"ř. 53"_s, u"vypořádání odpočtu patří jen do přiznání za prosinec nebo za IV. čtvrtletí."_s,
                    u"Dtabn3"_s, amount(tax, u"C560"_s) != 0.0 ? u"C560"_s : u"C560a"_s);
    }

    void checkOwnTaxAndExcess()
    {
        engine::Table &tax = *dm_.Dtabn3;
        const double own = amount(tax, u"C753"_s), excess = amount(tax, u"C754"_s);
        if (own != 0.0 && excess != 0.0)
            error(u"ř. 64"_s,
                  u"vlastní daň (%1 Kč) a nadměrný odpočet na ř. 65 (%2 Kč) nemohou být vyplněny zároveň."_s.arg(
                      amountText(own), amountText(excess)),
                  u"Dtabn3"_s, u"S753"_s);
    }

    // A text the filing file must carry for this kind of taxpayer or signing person; the
    // place and the field are those of the attribute.
    void required(Severity severity, const char16_t *attribute, const QString &problem)
    {
        const FilingSource source = filingSource(u"VetaP"_s, QString::fromUtf16(attribute));
        if (value(*dm_.Prp, source.field).toString().trimmed().isEmpty())
            add(severity, source.where, problem, source.table, source.field);
    }

    // What the portal requires of the taxpayer named in the file: a natural person's name, a
    // legal person's name as the file takes it (Ojp3, not the two lines of Oj1a and Oj1b),
    // and of a signing person (Kzs filled) its type and the data of that type.
    void checkTaxpayerKind()
    {
        engine::Table &prp = *dm_.Prp;
        const QVariant person = value(prp, u"Tds"_s);
        if (person.isNull()) {
            error(u"Typ daň. subjektu"_s, u"není vybrána fyzická ani právnická osoba."_s, u"Prp"_s, u"Tds"_s);
        } else if (person.toBool()) {
            const QString why = u"u daňového subjektu, který je fyzickou osobou, je povinné."_s;
            required(Severity::Error, u"prijmeni", u"není vyplněno; "_s + why);
            required(Severity::Error, u"jmeno", u"není vyplněno; "_s + why);
        } else {
            const bool twoLines = !text(prp, u"Oj1a"_s).trimmed().isEmpty();
            required(Severity::Error, u"zkrobchjm",
                     u"není vyplněn; soubor pro elektronické podání bere název právnické osoby odsud"_s
                         + (twoLines ? u", ne z pole Název právnické osoby (Oj1a)."_s : u"."_s));
        }
        const bool signing = !text(prp, u"Kzs"_s).trimmed().isEmpty();
        const QVariant signingPerson = value(prp, u"Tzs"_s);
        if (signing && signingPerson.isNull())
            error(u"Podepisující osoba: Typ"_s, u"není vybrán, ač je vyplněn kód podepisující osoby."_s, u"Prp"_s,
                  u"Tzs"_s);
        if (signing && signingPerson.toBool()) {
            const QString why = u"u podepisující osoby, která je fyzickou osobou, je povinné."_s;
            required(Severity::Error, u"zast_prijmeni", u"není vyplněno; "_s + why);
            required(Severity::Error, u"zast_jmeno", u"není vyplněno; "_s + why);
            if (text(prp, u"Zdece"_s).trimmed().isEmpty())
                required(Severity::Error, u"zast_dat_nar",
                         u"u podepisující fyzické osoby se vyplňuje datum narození, nebo evidenční číslo osvědčení."_s);
        }
        if (signing && !signingPerson.isNull() && !signingPerson.toBool()) {
            const QString why = u"u podepisující osoby, která je právnickou osobou, je povinné."_s;
            required(Severity::Error, u"zast_nazev", u"není vyplněn; "_s + why);
            required(Severity::Error, u"zast_ic", u"není vyplněno; "_s + why);
        }
        // Who signs for a legal person: the schema's notes ask for it without making it
        // required, so a warning.
        if ((!person.isNull() && !person.toBool()) || (signing && !signingPerson.isNull() && !signingPerson.toBool())) {
            const QString why = u"u právnické osoby se vyplňuje osoba oprávněná k podpisu."_s;
            required(Severity::Warning, u"opr_prijmeni", u"není vyplněno; "_s + why);
            required(Severity::Warning, u"opr_jmeno", u"není vyplněno; "_s + why);
        }
    }

    data::TDM1 &dm_;
    QDate today_;
    const FieldValues &values_;
    QList<Finding> out_;
};

}  // namespace

QList<Finding> checkContent(data::TDM1 &dm, const QDate &today, const FieldValues &values)
{
    return ContentCheck(dm, today, values).run();
}

}  // namespace rur::check
