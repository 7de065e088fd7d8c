// Print settings (Dmt), payment order (Mtt), VAT paid (Dzal1), bank data (Mbzp), bank orders
// (Mban, Mban1), address book (Maz), letters (Mdp), and the catalogue tables of the data root.
#include "data/Schemas.h"

using namespace Qt::StringLiterals;
using namespace rur::engine;

namespace rur::data {

namespace {

FieldDef offsetField(const QString &name)
{
    return smallintField(name, {}, 999);
}

FieldDef offsetFromZero(const QString &name)
{
    return smallintField(name, 0, 999);
}

}  // namespace

TableDef dmtDef()
{
    return TableDef(u"Dmt"_s, u"Dmt.DB"_s)
        .add({offsetField(u"Dpt"_s), offsetField(u"Dpl"_s), offsetField(u"Ot"_s), offsetField(u"Ol"_s),
              offsetField(u"Zpt"_s), offsetField(u"Zpl"_s), smallintField(u"Kop"_s, 1, 999), boolField(u"Pk"_s),
              boolField(u"Prh1"_s), textField(u"Trh1"_s, 40), offsetField(u"Vhn"_s), offsetField(u"Vln"_s)});
}

TableDef mttDef()
{
    TableDef t(u"Mtt"_s, u"Mtt.DB"_s);
    t.add({dateField(u"D1"_s), dateField(u"D3"_s), textField(u"Vi"_s, 20), textField(u"Bai"_s, 25),
           textField(u"Nai"_s, 25), digitsField(u"Cui"_s, 18), digitsField(u"Kbi"_s, 4), boolField(u"Cnb"_s),
           textField(u"Ba"_s, 25), digitsField(u"Cu"_s, 18), digitsField(u"Kb"_s, 4), digitsField(u"Vs"_s, 11),
           digitsField(u"Ks"_s, 4), amountField(u"Cad1"_s), integerField(u"Cad"_s, -999999999, 999999999),
           integerField(u"Caz"_s, -999999999, 999999999)});
    t.add(amountFields({u"Caz1"_s, u"Cad1s"_s, u"Caz1s"_s, u"Cad1z"_s, u"Caz1z"_s}));
    t.add({offsetFromZero(u"Vh"_s), offsetFromZero(u"Vl"_s), offsetFromZero(u"Vho"_s), offsetFromZero(u"Vlo"_s),
           smallintField(u"Kop"_s, 1, 999), boolField(u"Pk"_s), boolField(u"Banka"_s), boolField(u"Odl"_s),
           boolField(u"Tisk"_s), boolField(u"Za1"_s), boolField(u"Z1"_s), textField(u"Upp"_s, 35),
           textField(u"Bas"_s, 25), digitsField(u"Cus"_s, 18), digitsField(u"Kbs"_s, 4), digitsField(u"Vss"_s, 11),
           digitsField(u"Kss"_s, 4), textField(u"Baz"_s, 25), digitsField(u"Cuz"_s, 18), digitsField(u"Kbz"_s, 4),
           digitsField(u"Vsz"_s, 11), digitsField(u"Ksz"_s, 4), textField(u"Obl"_s, 40), textField(u"Fa"_s, 35),
           textField(u"Ul"_s, 35), digitsField(u"Psc"_s, 6), textField(u"Mi"_s, 30), textField(u"Nazev"_s, 30),
           memoField(u"Text"_s)});
    t.add({calculated(textField(u"D1s"_s, 7)), calculated(textField(u"D3s"_s, 7)),
           calculated(textField(u"Psc1"_s, 6))});
    return t;
}

TableDef dzal1Def()
{
    TableDef t(u"Dzal1"_s, u"Dzal1.DB"_s);
    for (int i = 1; i <= 12; ++i)
        t.add(dateField(u"D%1s"_s.arg(i)));
    for (int i = 1; i <= 12; ++i)
        t.add(amountField(u"Za%1s"_s.arg(i)));
    return t;
}

TableDef mbzpDef()
{
    return TableDef(u"Mbzp"_s, u"Mbzp.DB"_s)
        .add({smallintField(u"Pc"_s, -999, 999), textField(u"Bai"_s, 25), textField(u"Nai"_s, 25),
              digitsField(u"Cui"_s, 18), digitsField(u"Kbi"_s, 4), textField(u"Vi"_s, 20), boolField(u"Cnb"_s)})
        .primaryKey({u"Pc"_s});
}

TableDef mbanDef()
{
    return TableDef(u"Mban"_s, u"Mban.DB"_s)
        .add({autoIncField(u"ID"_s), digitsField(u"Cu1"_s, 18), digitsField(u"Cu2"_s, 18), digitsField(u"Kod"_s, 4),
              digitsField(u"Ss"_s, 10), digitsField(u"Vs"_s, 10), digitsField(u"Ks"_s, 4),
              floatField(u"Ca"_s, u"0.00"_s, -9999999999.99, 9999999999.99), dateField(u"Ds"_s),
              textField(u"Tp"_s, 1), digitsField(u"Kodi"_s, 4), textField(u"Upp"_s, 35), smallintField(u"Rd"_s),
              integerField(u"M1"_s)})
        .primaryKey({u"ID"_s})
        .index(u"Ds"_s, {u"Ds"_s});
}

TableDef mban1Def()
{
    return TableDef(u"Mban1"_s, u"Mban1.DB"_s)
        .add({digitsField(u"Cu1"_s, 18), digitsField(u"Kodi"_s, 4), floatField(u"Cac"_s, u"0.00"_s), dateField(u"Ds"_s),
              textField(u"Tp"_s, 1)});
}

TableDef mazDef()
{
    return TableDef(u"Maz"_s, u"Maz.DB"_s)
        .add({autoIncField(u"ID"_s), digitsField(u"Ico"_s, 8), textField(u"Dic"_s, 15), textField(u"Fa"_s, 35),
              textField(u"Jm"_s, 35), textField(u"Ul"_s, 35), digitsField(u"Psc"_s, 6), textField(u"Mi"_s, 30),
              digitsField(u"Tel"_s, 20), digitsField(u"Fax"_s, 20), textField(u"Email"_s, 45), textField(u"Www"_s, 45),
              boolField(u"O"_s), memoField(u"P"_s), calculated(textField(u"Psc1"_s, 6))})
        .primaryKey({u"ID"_s})
        .index(u"Fa"_s, {u"Fa"_s})
        .index(u"Mi"_s, {u"Mi"_s});
}

TableDef mdpDef()
{
    return TableDef(u"Mdp"_s, u"Mdp.DB"_s)
        .add({textField(u"Nazev"_s, 30), textField(u"Rd1"_s, 60), textField(u"Rd2"_s, 60), boolField(u"Typ"_s),
              memoField(u"Text"_s)})
        .primaryKey({u"Nazev"_s});
}

TableDef catalogueDef()
{
    return TableDef(u"Data"_s, u"Data.DB"_s)
        .add({integerField(u"Cislo"_s), integerField(u"Pozice"_s), textField(u"Nazev"_s, 20),
              textField(u"Adresar"_s, 20)})
        .primaryKey({u"Cislo"_s})
        .index(u"Pozice"_s, {u"Pozice"_s})
        .index(u"Nazev"_s, {u"Nazev"_s});
}

TableDef passwordsDef()
{
    return TableDef(u"Uziv"_s, u"Uziv.DB"_s)
        .add({integerField(u"Cislo"_s), textField(u"Heslo"_s, 10)})
        .primaryKey({u"Cislo"_s});
}

QList<TableDef> dataSetTableDefs()
{
    return {dcisDef(),   dtab1Def(),   dtab2Def(),   dtab3Def(),   prpDef(),    dmtDef(),    dtab1sDef(),
            dtab2sDef(), dtabsDef(),   dtabssDef(),  mbanDef(),    mban1Def(),  mbzpDef(),   mttDef(),
            mazDef(),    mdpDef(),     dzal1Def(),   dtabn1Def(),  dtabn2Def(), dtabn3Def(), dtabn1sDef(),
            dtabn2sDef(), dpsn1Def(),  dpsn2Def(),   prppzDef(),  dkhDef()};
}

TableDef dataSetTableDef(const QString &name)
{
    for (const TableDef &t : dataSetTableDefs())
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return t;
    return {};
}

}  // namespace rur::data
