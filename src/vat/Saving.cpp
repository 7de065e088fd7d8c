#include "vat/Saving.h"

#include "data/DataM1.h"
#include "datasets/Periods.h"
#include "engine/EngineError.h"
#include "engine/GroupTransaction.h"
#include "engine/GroupWrite.h"
#include "platform/Prompter.h"
#include "vat/Rounding.h"

using namespace Qt::StringLiterals;

namespace rur::vat {

namespace {

using engine::Table;

// Fields of the current return that travel into the finished returns, as numbers (an
// empty field arrives as 0). The retired fields stay behind, except C10, C10a and C345*.
const QStringList &part1Copied()
{
    static const QStringList names =
        u"C210 C210a C215 C215a C220 C220a C225 C225a C230 C230a C235 C235a C255 C255a C260 C260a C265 C265a "
        u"C270 C270a C275 C275a C410 C425 C430 C440 C520 C530 C540 C600 S210 S215 C10 C10a C21 C24 C810 C815 "
        u"C110 C110a C111 C111a C25 C32 C33 C34"_s.split(u' ');
    return names;
}

const QStringList &part2Copied()
{
    static const QStringList names = u"C310 C310a C310b C315 C315a C315b C320 C320a C320b C325 C325a C325b "
                                     u"C340 C340a C340b C345 C345a C345b C370a C370b C550 C48 C48a C48b"_s.split(u' ');
    return names;
}

// Dtabs field and the Dtabn1s field summed into it by Trs1.
const QList<std::pair<QString, QString>> &yearTotals()
{
    static const QList<std::pair<QString, QString>> pairs{
        {u"C31"_s, u"C210"_s}, {u"C32"_s, u"C215"_s}, {u"C33"_s, u"C410"_s},   {u"C34"_s, u"C21"_s},
        {u"C35"_s, u"C430"_s}, {u"C36"_s, u"C425"_s}, {u"S35"_s, u"C24"_s},    {u"S36"_s, u"C440"_s},
        {u"C510"_s, u"C815"_s}, {u"C520"_s, u"C520"_s}, {u"C530"_s, u"C530"_s}, {u"C540"_s, u"C540"_s},
        {u"C25"_s, u"C25"_s}};
    return pairs;
}

// Puts a table into edit, lets work assign its fields and posts; an error cancels the edit.
template <typename Work>
void editAndPost(Table &t, Work work)
{
    t.edit();
    try {
        work();
        t.post();
    } catch (...) {
        t.cancel();
        throw;
    }
}

void reopen(Table &t)
{
    t.close();
    t.open();
}

// Row index of a period number in a finished-return table, without moving its cursor.
int rowOfPeriod(Table &t, int cislo)
{
    const int column = t.def().indexOf(u"Cislo"_s);
    for (int r = 0; r < t.recordCount(); ++r) {
        const QVariant v = t.storedValue(r, column);
        if (!v.isNull() && v.toInt() == cislo)
            return r;
    }
    return -1;
}

double number(const QVariant &v)
{
    return v.isNull() ? 0.0 : v.toDouble();
}

void setStatus(data::TDM1 &dm, int panel, const QString &text)
{
    if (data::StatusDisplay *display = dm.statusDisplay())
        display->setStatusText(panel, text);
}

void clearPositionPanels(data::TDM1 &dm)
{
    setStatus(dm, 1, QString());
    setStatus(dm, 2, QString());
}

struct Period {
    int cislo = 0;
    QString phrase;
};

Period currentPeriod(data::TDM1 &dm)
{
    Table &prp = *dm.Prp;
    return {prp.field(u"Cislo"_s).asInteger(),
            periodPhrase(prp.field(u"M"_s).asString(), prp.field(u"Q"_s).asString())};
}

QString overwriteQuestion(const QString &phrase)
{
    return u"RUR "_s + phrase + u"je uloženo."_s + u'\n' + u"Přepsat ?"_s;
}

}  // namespace

QString periodPhrase(const QString &month, const QString &quarter)
{
    const QString m = month.trimmed(), q = quarter.trimmed();
    if (!m.isEmpty() && q.isEmpty())
        return u"za "_s + m + u' ';
    if (m.isEmpty() && !q.isEmpty())
        return u"za "_s + q + u" čtvrtletí "_s;
    return {};
}

bool isPeriodSaved(data::TDM1 &dm, int cislo)
{
    return rowOfPeriod(*dm.Dtabn1s, cislo) >= 0 || rowOfPeriod(*dm.Dtabn2s, cislo) >= 0;
}

void Trs(data::TDM1 &dm, bool overwrite)
{
    Table &prp = *dm.Prp, &part1 = *dm.Dtabn1, &part2 = *dm.Dtabn2;
    Table &saved1 = *dm.Dtabn1s, &saved2 = *dm.Dtabn2s;
    const QVariant cislo = prp.field(u"Cislo"_s).value();
    const QVariant month = prp.field(u"M"_s).value();
    const QVariant quarter = prp.field(u"Q"_s).value();

    engine::GroupWrite write;
    if (overwrite) {
        write.remove(saved1, u"Cislo"_s, cislo);
        write.remove(saved2, u"Cislo"_s, cislo);
    }
    const auto setKey = [&](Table &t) {
        t.field(u"Cislo"_s).setValue(cislo);
        t.field(u"M"_s).setValue(month);
        t.field(u"Q"_s).setValue(quarter);
    };
    try {
        saved1.append();
        setKey(saved1);
        for (const QString &name : part1Copied())
            saved1.field(name).setValue(part1.field(name).asFloat());
        write.insert(saved1);

        saved2.append();
        setKey(saved2);
        for (const QString &name : part2Copied())
            saved2.field(name).setValue(part2.field(name).asFloat());
        // An empty override stays empty: line 52 of the saved period is then computed.
        saved2.field(u"S550a"_s).setValue(part2.field(u"S550a"_s).value());
        write.insert(saved2);

        write.commit();
    } catch (...) {
        saved1.cancel();
        saved2.cancel();
        throw;
    }
    reopen(saved1);
    reopen(saved2);
}

void Trsn(data::TDM1 &dm)
{
    Table &t = *dm.Dtabn3;
    editAndPost(t, [&] {
        t.field(u"C560"_s).setValue(0.0);
        t.field(u"C560a"_s).setValue(0.0);
    });
    reopen(t);
}

void Trs1(data::TDM1 &dm)
{
    Table &saved = *dm.Dtabn1s, &totals = *dm.Dtabs;
    QList<double> sums(yearTotals().size(), 0.0);
    for (int r = 0; r < saved.recordCount(); ++r)
        for (int i = 0; i < yearTotals().size(); ++i)
            sums[i] += number(saved.storedValue(r, saved.def().indexOf(yearTotals()[i].second)));
    editAndPost(totals, [&] {
        for (int i = 0; i < yearTotals().size(); ++i)
            totals.field(yearTotals()[i].first).setValue(sums[i]);
    });
}

void Trs3(data::TDM1 &dm)
{
    Table &saved = *dm.Dtabn2s, &totals = *dm.Dtabs;
    // Line 52 as computed or overridden for each period, and line 46 of the reduced column:
    // both are calculated fields of the saved rows.
    const int c550a = saved.def().indexOf(u"C550a"_s), c380 = saved.def().indexOf(u"C380"_s);
    double sum550a = 0, sum380 = 0;
    for (int r = 0; r < saved.recordCount(); ++r) {
        const QVariantList row = saved.rowValues(r);
        sum550a += number(row.value(c550a));
        sum380 += number(row.value(c380));
    }
    editAndPost(totals, [&] {
        totals.field(u"C550a"_s).setValue(sum550a);
        totals.field(u"C380"_s).setValue(sum380);
    });
}

double settlementCoefficient(double n, double d)
{
    double coefficient = 0;
    if (d != 0) {
        const double k = Zaokr2(static_cast<long double>(n) / d + 0.00499L);
        if (k >= 0.95)
            coefficient = 1;
        else if (k > 0)
            coefficient = k;
    }
    if (n <= 0 && d > 0)
        coefficient = 0;
    if (n >= 0 && d <= 0)
        coefficient = 1;
    return coefficient;
}

void Trs4(data::TDM1 &dm)
{
    Table &t = *dm.Dtabs;
    editAndPost(t, [&] {
        const auto value = [&](const char16_t *name) { return t.field(QString::fromUtf16(name)).asFloat(); };
        t.field(u"K1"_s).setValue(value(u"C31") + value(u"C32") + value(u"C33") + value(u"C34") + value(u"C35")
                                  + value(u"C36") + value(u"S35") + value(u"C25") + value(u"S36") + value(u"C510"));
        const double n = value(u"K1") - value(u"C520");
        const double d = n + value(u"C530") - value(u"C540");
        const double coefficient = settlementCoefficient(n, d);
        t.field(u"C560"_s).setValue(coefficient);
        t.field(u"C560a"_s).setValue(Zaokr0(static_cast<long double>(value(u"C380")) * coefficient)
                                     - value(u"C550a"));
    });
    reopen(t);
}

void Trsa(data::TDM1 &dm)
{
    Table &totals = *dm.Dtabs, &part3 = *dm.Dtabn3, &prp = *dm.Prp;
    const QVariant coefficient = totals.field(u"C560"_s).value();
    const QVariant change = totals.field(u"C560a"_s).value();
    editAndPost(part3, [&] {
        part3.field(u"C560"_s).setValue(coefficient);
        part3.field(u"C560a"_s).setValue(change);
    });
    editAndPost(prp, [&] { prp.field(u"K1"_s).setValue(coefficient); });
    reopen(prp);
    reopen(part3);
    dm.Obnovit1();
}

void settleYear(data::TDM1 &dm)
{
    Trs1(dm);
    Trs3(dm);
    Trs4(dm);
    Trsa(dm);
}

bool UlozeniRur(data::TDM1 &dm, platform::Prompter &prompter)
{
    const Period period = currentPeriod(dm);
    if (!prompter.confirm(u"Opravdu uložit RUR "_s + period.phrase + u'?'))
        return false;
    const bool saved = isPeriodSaved(dm, period.cislo);
    if (saved) {
        setStatus(dm, 1, QString());
        if (!prompter.confirm(overwriteQuestion(period.phrase))) {
            clearPositionPanels(dm);
            return false;
        }
    }
    {
        platform::BusyGuard busy(prompter);
        // The copy, the cleared settlement and the next period are one change.
        engine::GroupTransaction change({dm.Prp.get(), dm.Dtabn1s.get(), dm.Dtabn2s.get(), dm.Dtabn3.get()});
        Trs(dm, saved);
        Trsn(dm);
        datasets::ZmenaObdobi(dm);
        change.commit();
    }
    setStatus(dm, 0, u"RUR "_s + period.phrase + (saved ? u"bylo přepsáno."_s : u"bylo uloženo."_s));
    clearPositionPanels(dm);
    return true;
}

bool UlozeniPoslednihoRur(data::TDM1 &dm, platform::Prompter &prompter)
{
    const Period period = currentPeriod(dm);
    if (!prompter.confirm(u"Opravdu uložit poslední RUR "_s + period.phrase + u"a provést vypořádání ?"_s))
        return false;
    const bool saved = isPeriodSaved(dm, period.cislo);
    bool copy = true;
    if (saved) {
        setStatus(dm, 1, QString());
        copy = prompter.confirm(overwriteQuestion(period.phrase));
    }
    {
        platform::BusyGuard busy(prompter);
        // The copy and the settlement it feeds are one change.
        engine::GroupTransaction change(
            {dm.Prp.get(), dm.Dtabn1s.get(), dm.Dtabn2s.get(), dm.Dtabn3.get(), dm.Dtabs.get()});
        if (copy)
            Trs(dm, saved);
        settleYear(dm);
        change.commit();
    }
    dm.Obnovit1();
    QString text;
    if (!copy)
        text = u"RUR bylo vypořádáno."_s;
    else
        text = u"RUR "_s + period.phrase + (saved ? u"bylo přepsáno s vypořádáním."_s : u"bylo uloženo s vypořádáním."_s);
    setStatus(dm, 0, text);
    clearPositionPanels(dm);
    return true;
}

bool deleteFinishedPeriod(data::TDM1 &dm, int cislo, platform::Prompter &prompter)
{
    Table &saved1 = *dm.Dtabn1s, &saved2 = *dm.Dtabn2s;
    Table *holder = &saved1;
    int row = rowOfPeriod(saved1, cislo);
    if (row < 0) {
        holder = &saved2;
        row = rowOfPeriod(saved2, cislo);
    }
    if (row < 0)
        return false;
    const QString phrase = periodPhrase(holder->storedValue(row, holder->def().indexOf(u"M"_s)).toString(),
                                        holder->storedValue(row, holder->def().indexOf(u"Q"_s)).toString());
    if (!prompter.confirm(u"Opravdu smazat RUR "_s + phrase + u'?'))
        return false;
    engine::GroupWrite write;
    write.remove(saved1, u"Cislo"_s, cislo);
    write.remove(saved2, u"Cislo"_s, cislo);
    write.commit();
    return true;
}

}  // namespace rur::vat
