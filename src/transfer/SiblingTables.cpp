#include "transfer/SiblingTables.h"

using namespace Qt::StringLiterals;

namespace rur::transfer {

using namespace engine;

namespace {

QString showFailedText(const QString &what, const QString &program)
{
    return u"Údaje o poplatníkovi nelze zobrazit.\nZkontrolujte cestu k "_s + what
           + u" (adresář).\nZkontrolujte, zda máte program "_s + program + u" zavřený."_s;
}

SiblingProgram makeJournal()
{
    return {SiblingKind::Journal,
            u"Přenos údajů z Peněžního deníku"_s,
            u"Rizavuv uvaro "_s,
            u"Pen.ini"_s,
            u"Pen"_s,
            u"Denik"_s,
            u"DenikCislo"_s,
            u"Denik1"_s,
            u"Cesta k datovému souboru Peněžního deníku"_s,
            u"Přenese údaje z Peněžního deníku"_s,
            u"Opravdu chcete přenest údaje z Peněžního deníku ?"_s,
            u"Údaje z Peněžního deníku byly přeneseny."_s,
            showFailedText(u"Peněžnímu deníku"_s, u"Rizavuv uvaro"_s)};
}

SiblingProgram makeTaxReturn(SiblingKind kind, const QString &po, const QString &program)
{
    return {kind,
            u"Přenos údajů o poplatníkovi z daňového přiznání "_s + po,
            program + u' ',
            u"Dan.ini"_s,
            u"Dan"_s,
            u"Dan"_s + po,
            u"Dan"_s + po + u"Cislo"_s,
            u"Dan"_s + po + u'1',
            u"Cesta k datovému souboru Daňového přiznání "_s + po,
            u"Přenese údaje o poplatníkovi"_s,
            u"Opravdu chcete přenest údaje o poplatníkovi ?"_s,
            u"Údaje o poplatníkovi byly přeneseny."_s,
            showFailedText(u"Daňovému přiznání "_s + po, program)};
}

}  // namespace

const SiblingProgram &siblingProgram(SiblingKind kind)
{
    static const SiblingProgram journal = makeJournal();
    static const SiblingProgram po = makeTaxReturn(SiblingKind::TaxReturnPO, u"PO"_s, u"Ziradi vududera DI"_s);
    static const SiblingProgram sz = makeTaxReturn(SiblingKind::TaxReturnSZ, u"SZ"_s, u"Redovo zevedara ZU"_s);
    switch (kind) {
    case SiblingKind::Journal: return journal;
    case SiblingKind::TaxReturnPO: return po;
    case SiblingKind::TaxReturnSZ: return sz;
    }
    return journal;
}

TableDef siblingCatalogueDef()
{
    return TableDef(u"Data"_s, u"Data.DB"_s)
        .add({integerField(u"Cislo"_s), textField(u"Nazev"_s, 20), textField(u"Adresar"_s, 20)})
        .primaryKey({u"Cislo"_s});
}

TableDef journalTaxpayerDef()
{
    TableDef def(u"Dosu"_s, u"Dosu.DB"_s);
    const std::pair<const char16_t *, int> texts[] = {{u"Ico", 8}, {u"Dic", 15}, {u"Rok", 4}, {u"Fa", 35},
                                                      {u"Pr", 16}, {u"Jm", 14},  {u"Ti", 6},  {u"Mi", 25},
                                                      {u"Ul", 20}, {u"Cd", 8},   {u"Psc", 6}, {u"Tel", 20},
                                                      {u"Mi4", 25}, {u"Ul4", 20}, {u"Cd4", 8}, {u"Psc4", 6},
                                                      {u"Tel4", 20}};
    for (const auto &[name, size] : texts)
        def.add(textField(QString::fromUtf16(name), size));
    def.add({dateField(u"Dz"_s), dateField(u"Dk"_s), dateField(u"Do1"_s), dateField(u"Dd1"_s),
             textField(u"Jo1"_s, 25), dateField(u"Do2"_s), dateField(u"Dd2"_s), textField(u"Jo2"_s, 25),
             dateField(u"Do3"_s), dateField(u"Dd3"_s), textField(u"Jo3"_s, 25), textField(u"Dn"_s, 15),
             boolField(u"Ra"_s), boolField(u"Zp"_s), boolField(u"Kof"_s), boolField(u"Ev"_s), boolField(u"Pan"_s),
             floatField(u"Sl"_s), floatField(u"Sh"_s), boolField(u"Dpan"_s), dateField(u"Dev"_s)});
    return def;
}

TableDef journalSettingsDef()
{
    TableDef def(u"Dmt"_s, u"Dmt.DB"_s);
    for (const char16_t *name : {u"Stro", u"Strd", u"Dcs", u"Dce"})
        def.add(smallintField(QString::fromUtf16(name)));
    def.add({textField(u"Cast"_s, 15), smallintField(u"Cs"_s), smallintField(u"Ccz"_s), smallintField(u"Cck"_s),
             textField(u"Ns"_s, 60), dateField(u"Dz"_s), dateField(u"Dk"_s), dateField(u"Dzv"_s), dateField(u"Dkv"_s),
             smallintField(u"Vh"_s), smallintField(u"Vs"_s), smallintField(u"Vl"_s), smallintField(u"Kop"_s),
             boolField(u"Pk"_s), boolField(u"Den"_s)});
    return def;
}

TableDef journalPeriodDef()
{
    TableDef def(u"Dmt"_s, u"Dmt.DB"_s);
    FieldDef from = dateField(u"Dz"_s), to = dateField(u"Dk"_s);
    from.label = u"od"_s;
    to.label = u"do"_s;
    def.add({from, to});
    return def;
}

TableDef journalEntriesDef()
{
    return TableDef(u"Pdev"_s, u"Pdev.DB"_s)
        .add({autoIncField(u"ID"_s), dateField(u"D"_s), textField(u"Ad"_s, 2), integerField(u"Cd"_s),
              textField(u"Pv"_s, 1), textField(u"Nz"_s, 28), floatField(u"Ca"_s, u"0.00"_s), floatField(u"Sd"_s, u"0.00"_s),
              floatField(u"Zd"_s, u"0.00"_s), floatField(u"Dan"_s, u"0.00"_s), textField(u"Cdph"_s, 3),
              textField(u"Ncl"_s, 40), boolField(u"Dpan"_s), boolField(u"Nzp"_s)})
        .primaryKey({u"ID"_s});
}

TableDef journalEntriesReadDef()
{
    const TableDef all = journalEntriesDef();
    TableDef def(all.name, all.fileName);
    for (const char16_t *name : {u"ID", u"D", u"Zd", u"Dan", u"Cdph"})
        def.add(*all.field(QString::fromUtf16(name)));
    return def.primaryKey({u"ID"_s});
}

TableDef corporateTaxpayerDef()
{
    TableDef def(u"Prp"_s, u"Prp.DB"_s);
    const std::pair<const char16_t *, int> texts[] = {{u"Fu", 20},  {u"Dic", 15}, {u"Oj1", 35}, {u"Mi", 16},
                                                      {u"Psc", 5},  {u"Ul", 22},  {u"Jmo", 10}, {u"Pro", 22},
                                                      {u"Pkp", 40}, {u"Hp1", 40}, {u"Hp2", 40}};
    for (const auto &[name, size] : texts)
        def.add(textField(QString::fromUtf16(name), size));
    return def;
}

TableDef personalTaxpayerDef()
{
    TableDef def(u"Dosu"_s, u"Dosu.DB"_s);
    const std::pair<const char16_t *, int> texts[] = {{u"Fuv", 25}, {u"Dic", 15}, {u"Pr", 16}, {u"Jm", 14}, {u"Ti", 6},
                                                      {u"Mi", 25},  {u"Ul", 20},  {u"Cd", 8},  {u"Psc", 6}};
    for (const auto &[name, size] : texts)
        def.add(textField(QString::fromUtf16(name), size));
    return def;
}

TableDef siblingTaxpayerDef(SiblingKind kind)
{
    switch (kind) {
    case SiblingKind::Journal: return journalTaxpayerDef();
    case SiblingKind::TaxReturnPO: return corporateTaxpayerDef();
    case SiblingKind::TaxReturnSZ: return personalTaxpayerDef();
    }
    return {};
}

}  // namespace rur::transfer
