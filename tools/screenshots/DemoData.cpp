#include "DemoData.h"

#include "correspondence/AddressBook.h"
#include "data/DataM1.h"
#include "data/Templates.h"
#include "datasets/Catalogue.h"
#include "ledger/Ledger.h"
#include "payments/AboFile.h"
#include "payments/AboList.h"
#include "payments/PaymentData.h"
#include "engine/EngineError.h"
#include "engine/Table.h"
#include "print/PaymentOrder.h"
#include "engine/TableFile.h"
#include "transfer/SiblingTables.h"
#include "vat/Saving.h"

#include <QDir>
#include <QFile>

using namespace Qt::StringLiterals;

namespace rur::screenshots {

namespace {

void setFields(engine::Table &t, const QList<std::pair<QString, QVariant>> &values)
{
    t.edit();
    for (const auto &[name, value] : values)
        t.field(name).setValue(value);
    t.post();
}

}  // namespace

// A taxpayer with a return that fills every window, and March saved among the finished returns.
void fillDemo(data::TDM1 &dm)
{
    setFields(*dm.Prp, {{u"M"_s, u"březen"_s},
                        {u"Cislo"_s, 3},
                        {u"R"_s, u"2018"_s},
                        {u"Oj1a"_s, u"Demo stavební s.r.o."_s},
                        {u"Ojp3"_s, u"Demo stavební s.r.o."_s},
                        {u"Dic"_s, u"CZ12345678"_s},
                        {u"Fusp"_s, u"Hlavní město Prahu"_s},
                        {u"Fu"_s, u"Praha 4"_s},
                        {u"Fuc"_s, 451},
                        {u"Fuz"_s, 2004},
                        {u"Ob"_s, u"Praha"_s},
                        {u"Psc"_s, u"14000"_s},
                        {u"Ul"_s, u"Na Pankráci"_s},
                        {u"Cpocp"_s, u"1234"_s},
                        {u"Cpoco"_s, u"5"_s},
                        {u"Emlx"_s, u"ucetni@demo.cz"_s},
                        {u"Sta2"_s, u"Česká republika"_s},
                        {u"Hp1"_s, u"Stavební práce"_s},
                        {u"Hp1c"_s, 412000},
                        {u"Zjm"_s, u"Jana Nováková"_s},
                        {u"Zjv"_s, u"Jana Nováková, jednatelka"_s},
                        {u"Sesjm"_s, u"Jana"_s},
                        {u"Sespr"_s, u"Nováková"_s},
                        {u"Tes"_s, u"602123456"_s},
                        {u"K1"_s, 0.85},
                        {u"X"_s, true}});
    setFields(*dm.Prppz, {{u"Poz"_s, u"Důvody pro podání dodatečného přiznání:\nOprava základu daně u faktury č. 2018031."_s}});
    setFields(*dm.Dtabn1, {{u"S210"_s, 121000.0}, {u"C210"_s, 100000.0},  {u"C210a"_s, 21000.0}, {u"C215"_s, 20000.0},
                           {u"C215a"_s, 3000.0},  {u"C220"_s, 15000.0},   {u"C220a"_s, 3150.0},  {u"C230"_s, 8000.0},
                           {u"C230a"_s, 1680.0},  {u"C410"_s, 45000.0},   {u"C430"_s, 12000.0},  {u"C530"_s, 5000.0},
                           {u"C520"_s, 1000.0},   {u"C810"_s, 7000.0},    {u"C815"_s, 7000.0},   {u"C600"_s, 0.0}});
    setFields(*dm.Dtabn2, {{u"C310"_s, 60000.0}, {u"C310a"_s, 12600.0}, {u"C315"_s, 10000.0}, {u"C315a"_s, 1500.0},
                           {u"C320"_s, 23000.0}, {u"C320a"_s, 4830.0},  {u"C325b"_s, 0.0},    {u"C550"_s, 0.85}});
    setFields(*dm.Dtabn3, {{u"C570"_s, 0.0}});
    setFields(*dm.Mtt, {{u"D1"_s, QDate(2018, 4, 25)},
                        {u"D3"_s, QDate(2018, 4, 20)},
                        {u"Bai"_s, u"Česká spořitelna"_s},
                        {u"Cui"_s, u"1234567890"_s},
                        {u"Kbi"_s, u"0800"_s},
                        {u"Cu"_s, u"705-77628031"_s},
                        {u"Kb"_s, u"0710"_s},
                        {u"Vs"_s, u"12345678"_s},
                        {u"Ks"_s, u"1148"_s},
                        {u"Vi"_s, u"Praze"_s},
                        {u"Fa"_s, u"Demo stavební s.r.o."_s},
                        {u"Ul"_s, u"Na Pankráci 1234/5"_s},
                        {u"Psc"_s, u"14000"_s},
                        {u"Mi"_s, u"Praha"_s},
                        {u"Nazev"_s, u"Průvodní dopis"_s},
                        {u"Obl"_s, u"Tisk - se zpětnou adresou - DOPORUČENĚ"_s}});
    // The address book and the letters.
    dm.Maz->open();
    const QStringList addresses[] = {
        {u"Finanční úřad pro hlavní město Prahu"_s, u"Územní pracoviště Praha 4"_s, u"Na Pankráci 1623/63"_s, u"14000"_s, u"Praha 4"_s},
        {u"Stavebniny Dvořák s.r.o."_s, u"Ing. Petr Dvořák"_s, u"Dlouhá 12"_s, u"60200"_s, u"Brno"_s}};
    for (const QStringList &a : addresses) {
        dm.Maz->append();
        for (int i = 0; i < 5; ++i)
            dm.Maz->field(QStringList{u"Fa"_s, u"Jm"_s, u"Ul"_s, u"Psc"_s, u"Mi"_s}[i]).setValue(a[i]);
        dm.Maz->field(u"O"_s).setValue(true);
        dm.Maz->post();
    }
    dm.Maz->close();
    for (const bool letter : {true, false}) {
        dm.Mdp->append();
        dm.Mdp->field(u"Nazev"_s).setValue(letter ? u"Průvodní dopis"_s : u"Příloha 1"_s);
        dm.Mdp->field(u"Rd1"_s).setValue(u"Finanční úřad pro hlavní město Prahu"_s);
        dm.Mdp->field(u"Rd2"_s).setValue(letter ? u"Přiznání k RUR za březen 2018"_s : u"1"_s);
        dm.Mdp->field(u"Typ"_s).setValue(letter);
        dm.Mdp->field(u"Text"_s).setValue(letter ? u"Vážení,\n\nv příloze zasíláme přiznání k RUR za březen 2018.\n\nS pozdravem\nJana Nováková"_s
                                                 : u"Oprava základu daně u faktury č. 2018031:\nzáklad 10 000 Kč, daň 2 100 Kč."_s);
        dm.Mdp->post();
    }
    vat::Trs(dm, false);
    dm.Obnovit1();
}

// A cash journal and the two income-tax returns in a folder, as the transfer windows find
// them beside the data folder: two journal data sets, one return of each kind.
void writeSiblingDemo(const QString &folder)
{
    using transfer::SiblingKind;
    const auto program = [&](SiblingKind kind, const QList<QVariantMap> &catalogue) {
        const transfer::SiblingProgram &p = transfer::siblingProgram(kind);
        const QString dir = folder + p.folderPrefix + u"2018/"_s;
        QDir().mkpath(dir);
        QFile ini(dir + p.iniFile);
        if (ini.open(QIODevice::WriteOnly))
            ini.write("[" + p.iniSection.toLatin1() + "]\nNet=0\n");
        engine::createTableFile(dir + u"Data.DB"_s, transfer::siblingCatalogueDef(), catalogue);
        for (const QVariantMap &row : catalogue)
            QDir().mkpath(dir + row.value(u"Adresar"_s).toString());
        return dir;
    };
    const QString journal = program(SiblingKind::Journal, {{{u"Cislo"_s, 1}, {u"Nazev"_s, u"Demo stavební"_s}, {u"Adresar"_s, u"D1"_s}},
                                                           {{u"Cislo"_s, 2}, {u"Nazev"_s, u"Demo služby"_s}, {u"Adresar"_s, u"D2"_s}}});
    for (const QString &set : {u"D1/"_s, u"D2/"_s}) {
        engine::createTableFile(journal + set + u"Dosu.DB"_s, transfer::journalTaxpayerDef(),
                                {{{u"Ico"_s, u"12345678"_s}, {u"Dic"_s, u"CZ12345678"_s}, {u"Pr"_s, u"Nováková"_s},
                                  {u"Jm"_s, u"Jana"_s}, {u"Ti"_s, u"Ing."_s}}});
        engine::createTableFile(journal + set + u"Dmt.DB"_s, transfer::journalSettingsDef(),
                                {{{u"Dz"_s, u"2018-03-01"_s}, {u"Dk"_s, u"2018-03-31"_s}}});
        engine::createTableFile(journal + set + u"Pdev.DB"_s, transfer::journalEntriesDef());
    }
    const QVariantMap one{{u"Cislo"_s, 1}, {u"Nazev"_s, u"Demo stavební"_s}, {u"Adresar"_s, u"D1"_s}};
    engine::createTableFile(program(SiblingKind::TaxReturnPO, {one}) + u"D1/Prp.DB"_s, transfer::corporateTaxpayerDef(),
                            {{{u"Dic"_s, u"CZ12345678"_s}, {u"Oj1"_s, u"Demo stavební s.r.o."_s}}});
    engine::createTableFile(program(SiblingKind::TaxReturnSZ, {one}) + u"D1/Dosu.DB"_s, transfer::personalTaxpayerDef(),
                            {{{u"Dic"_s, u"CZ7001011234"_s}, {u"Jm"_s, u"Jana"_s}, {u"Pr"_s, u"Nováková"_s}, {u"Ti"_s, u"Ing."_s}}});
}


}  // namespace rur::screenshots
