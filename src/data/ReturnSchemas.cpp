// Tables of the VAT return: the current return (Dtabn1, Dtabn2, Dtabn3), the finished
// returns (Dtabn1s, Dtabn2s), the year totals (Dtabs) and the older layouts still carried
// in every data set.
#include "data/Schemas.h"

using namespace Qt::StringLiterals;
using namespace rur::engine;

namespace rur::data {

namespace {

QStringList names(const char *const list)
{
    return QString::fromLatin1(list).split(u' ', Qt::SkipEmptyParts);
}

QList<FieldDef> calcAmounts(const char *const list)
{
    QList<FieldDef> out;
    for (const QString &n : names(list))
        out.append(calculated(amountField(n)));
    return out;
}

QList<FieldDef> rateCopies()
{
    // Copies of the rates of Dcis, within the same bounds.
    return {calculated(floatField(u"Dd"_s, u"0.00"_s, -99.99, 99.99)),
            calculated(floatField(u"Hd"_s, u"0.00"_s, -99.99, 99.99))};
}

QList<FieldDef> periodKey()
{
    return {smallintField(u"Cislo"_s), textField(u"M"_s, 9), textField(u"Q"_s, 9)};
}

QList<FieldDef> dtabn1Stored()
{
    return amountFields(names("C210 C210a C215 C215a C220 C220a C225 C225a C230 C230a C235 C235a "
                              "C240 C240a C245 C245a C250 C250a C255 C255a C260 C260a C265 C265a "
                              "C270 C270a C275 C275a C410 C420 C425 C430 C440 C510 C520 C530 C540 C600 "
                              "S210 S215 C10 C10a C21 C24 C810 C815 C110 C110a C111 C111a C25 C32 C33 C34"));
}

QList<FieldDef> dtabn1Calculated()
{
    QList<FieldDef> out = calcAmounts("K210 K215 K220 K225 K230 K235 K240 K245 K260 K265 K270 K275");
    out.append(rateCopies());
    out.append(calcAmounts("K110 K111"));
    return out;
}

QList<FieldDef> dtabn2Stored()
{
    QList<FieldDef> out = amountFields(names("C310 C310a C310b C315 C315a C315b C320 C320a C320b "
                                             "C325 C325a C325b C330 C330a C330b C335 C335a C335b "
                                             "C340 C340a C340b C345 C345a C345b C350 C350a C350b "
                                             "C355 C355a C355b C360 C360a C360b C365 C365a C365b C370a C370b"));
    out.append(coefficientField(u"C550"_s));
    out.append(amountFields(names("C810 C815 S550a C48 C48a C48b")));
    return out;
}

QList<FieldDef> dtabn2Calculated()
{
    QList<FieldDef> out = calcAmounts("C380 C390 C550a K310 K315 K320 K325 K330 K335 K340 K345 K350 K355");
    out.append(rateCopies());
    out.append(calculated(floatField(u"C550k"_s, u"0.##"_s)));
    return out;
}

FieldDef fourDecimals(const QString &name)
{
    return floatField(name, u"0.0000"_s, -9.9999, 9.9999);
}

QList<FieldDef> dtab1Stored()
{
    QList<FieldDef> out = amountFields(names("C31 C32 C33 C34 C35 C36 S35 S36 C37 C38"));
    out.append(fourDecimals(u"K1"_s));
    out.append(amountFields(names("C32a C35a C36a C37a C38a")));
    return out;
}

QList<FieldDef> dtab2Stored(bool c360Formatted)
{
    QList<FieldDef> out = amountFields(names("C2 C11 C12 C13 C14 C15 C16 C17 C18 C19 C20"));
    out.append(floatField(u"C360"_s, c360Formatted ? u"0"_s : QString(), -99999999999.0, 99999999999.0));
    out.append(amountFields(names("C301a C302 C302a C303 C303a C304 C304a C305 C305a C321a C322 C322a "
                                  "C323 C323a C324 C324a C325 C325a C201 C201a C202 C202a C203 C203a C204a C210 Nepl")));
    return out;
}

QList<FieldDef> dtab2CalculatedTail()
{
    return calcAmounts("C340");
}

}  // namespace

TableDef dtabn1Def()
{
    return TableDef(u"Dtabn1"_s, u"Dtabn1.DB"_s).add(dtabn1Stored()).add(dtabn1Calculated());
}

TableDef dtabn2Def()
{
    return TableDef(u"Dtabn2"_s, u"Dtabn2.DB"_s).add(dtabn2Stored()).add(dtabn2Calculated());
}

TableDef dtabn3Def()
{
    TableDef t(u"Dtabn3"_s, u"Dtabn3.DB"_s);
    t.add(coefficientField(u"C560"_s));
    t.add(amountFields(names("C560a C570 C580 C710 S730 S750 S753 S754")));
    t.add(calcAmounts("C730 C750 C753 C754 C780"));
    t.add(calculated(floatField(u"C560k"_s, u"0.##"_s)));
    return t;
}

TableDef dtabn1sDef()
{
    return TableDef(u"Dtabn1s"_s, u"Dtabn1s.DB"_s)
        .add(periodKey())
        .add(dtabn1Stored())
        .add(dtabn1Calculated())
        .primaryKey({u"Cislo"_s});
}

TableDef dtabn2sDef()
{
    return TableDef(u"Dtabn2s"_s, u"Dtabn2s.DB"_s)
        .add(periodKey())
        .add(dtabn2Stored())
        .add(dtabn2Calculated())
        .primaryKey({u"Cislo"_s});
}

TableDef dtabsDef()
{
    TableDef t(u"Dtabs"_s, u"Dtabs.DB"_s);
    for (const QString &n : names("C31 C32 C33 C34 C35 C36 S35 S36 K1 C510 C520 C530 C540 C560 C550a C380 C560a C25"))
        t.add(floatField(n, n == u"C560"_s ? u"0.00"_s : u"0"_s));
    return t;
}

TableDef dtab1Def()
{
    TableDef t(u"Dtab1"_s, u"Dtab1.DB"_s);
    t.add(dtab1Stored());
    t.add(calcAmounts("K37 K38 K37a K38a"));
    t.add(rateCopies());
    return t;
}

TableDef dtab2Def()
{
    TableDef t(u"Dtab2"_s, u"Dtab2.DB"_s);
    t.add(dtab2Stored(false));
    t.add(calcAmounts("K16 K17 K18 K19"));
    t.add(rateCopies());
    t.add(calculated(floatField(u"K1"_s, u"0.0000"_s)));
    t.add(dtab2CalculatedTail());
    t.add(calculated(floatField(u"K1t"_s, u"0.0000"_s)));
    t.add(calcAmounts("C310 K302a K303a K304a K305a K322a K323a K324a K325a"));
    return t;
}

TableDef dtab3Def()
{
    return TableDef(u"Dtab3"_s, u"Dtab3.DB"_s).add(amountFields(names("C41 C42"))).add(calcAmounts("C51 C52 C53 C54 C780"));
}

TableDef dtab1sDef()
{
    TableDef t(u"Dtab1s"_s, u"Dtab1s.DB"_s);
    t.add(periodKey()).add(dtab1Stored()).add(calcAmounts("K37 K38 K37a K38a")).add(rateCopies());
    return t.primaryKey({u"Cislo"_s});
}

TableDef dtab2sDef()
{
    TableDef t(u"Dtab2s"_s, u"Dtab2s.DB"_s);
    t.add(periodKey()).add(dtab2Stored(true)).add(fourDecimals(u"K1"_s));
    t.add(calcAmounts("K16 K17 K18 K19")).add(rateCopies()).add(dtab2CalculatedTail());
    t.add(calcAmounts("C310 K302a K303a K304a K305a K322a K323a K324a K325a"));
    return t.primaryKey({u"Cislo"_s});
}

TableDef dtabssDef()
{
    TableDef t(u"Dtabss"_s, u"Dtabss.DB"_s);
    for (const QString &n : names("C2 C11 C12 C13 C14 C15 C16 C17 C18 C19 C20 C21"))
        t.add(floatField(n, u"0"_s));
    return t.add(calcAmounts("C340 C41"));
}

TableDef dpsn1Def()
{
    return TableDef(u"Dpsn1"_s, u"Dpsn1.DB"_s)
        .add({autoIncField(u"ID"_s), textField(u"Npo"_s, 35), textField(u"Kodz"_s, 2), textField(u"Dicp"_s, 20),
              textField(u"Kpl"_s, 1), integerField(u"Ppl"_s, -9999999, 9999999), amountField(u"Cpk"_s),
              boolField(u"Nzp"_s), boolField(u"Pmr"_s), integerField(u"Poradi"_s), integerField(u"Cislo"_s)})
        .primaryKey({u"ID"_s});
}

TableDef dpsn2Def()
{
    return TableDef(u"Dpsn2"_s, u"Dpsn2.DB"_s)
        .add({autoIncField(u"ID"_s), textField(u"Npo"_s, 35), textField(u"Kodz"_s, 2), textField(u"Dicp"_s, 20),
              textField(u"Kpl"_s, 1)})
        .primaryKey({u"ID"_s})
        .index(u"Npo"_s, {u"Npo"_s})
        .index(u"Kodz"_s, {u"Kodz"_s})
        .index(u"Dicp"_s, {u"Dicp"_s});
}

}  // namespace rur::data
