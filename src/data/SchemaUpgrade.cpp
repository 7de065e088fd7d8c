#include "data/SchemaUpgrade.h"

#include "engine/LocalSql.h"

using namespace Qt::StringLiterals;

namespace rur::data {

namespace {

// "A B C" → "A Float; B Float; C Float".
QString floats(const char *names)
{
    QStringList out;
    for (const QString &n : QString::fromLatin1(names).split(u' ', Qt::SkipEmptyParts))
        out.append(n + u" Float"_s);
    return out.join(u"; "_s);
}

}  // namespace

QString alterTable(const QString &table, const QString &columns)
{
    QStringList adds;
    for (const QString &c : columns.split(u';', Qt::SkipEmptyParts))
        adds.append(u"Add "_s + c.trimmed());
    // Long statements go as several text lines that begin with ", Add".
    return u"Alter Table "_s + table + u' ' + adds.join(u"\n, "_s);
}

QString statementU1(const QString &table)
{
    return alterTable(table, floats("C32a C35a C36a C37a C38a"));
}

QString statementU2(const QString &table)
{
    QString cols = floats("C360 C301a C302 C302a C303 C303a C304 C304a C305 C305a C321a C322 C322a C323 C323a "
                          "C324 C324a C325 C325a C201 C201a C202 C202a C203 C203a C204a C210 Nepl");
    if (table.compare(u"Dtab2s"_s, Qt::CaseInsensitive) == 0)
        cols += u"; K1 Float"_s;
    return alterTable(table, cols);
}

QString statementU3(const QString &table)
{
    return alterTable(table, floats("C10 C10a C21 C24 C810 C815"));
}

QString statementU4(const QString &table)
{
    return alterTable(table, floats("C110 C110a C111 C111a C25 C32 C33 C34"));
}

QString statementU5(const QString &table)
{
    return alterTable(table, floats("C48 C48a C48b"));
}

QString statementS1()
{
    return alterTable(u"Dtabs"_s, floats("C510 C520 C530 C540 C560 C550a C380 C560a"));
}

QString statementS2()
{
    return alterTable(u"Dtabs"_s, floats("C25"));
}

QStringList statementsP()
{
    const auto prp = [](const char16_t *columns) { return alterTable(u"Prp"_s, QString::fromUtf16(columns)); };
    return {
        prp(u"Rp Char(9); D Date; Oj1a Char(37); Oj1b Char(25); Pra Char(21); Jma Char(10); Tia Char(4); "
            u"Mia Char(37); Hp1 Char(37); Hp2 Char(37); Eu Char(3); Proa Char(25); Pkpa Char(37); Dan Boolean"),
        prp(u"Ses Char(45); Tes Char(20)"),
        prp(u"P1 Boolean; P2 Boolean; P3 Boolean; P4 Boolean; Dc Char(15); Jmb Char(11); Ob Char(18); "
            u"Psc Char(5); Tel Char(12); Ul Char(27); Fax Char(9); Okr Char(24); St Char(12); K1 Float"),
        prp(u"Q2 Char(9); Ojs Char(35); Ojsa Char(23); Dojs Char(11); Prs Char(19); Jmbs Char(11); Tis Char(4); "
            u"Objs Char(29); Pscs Char(5); Uls Char(35); Sts Char(15); Oprs Char(23); Ojms Char(11); Ppos Char(35)"),
        prp(u"Kraj Char(24)"),
        prp(u"Dp70 Char(1)"),
        prp(u"Rco Char(11); Od1 Date; Do1 Date; P3s Boolean; P6 Char(4); Cpo Char(9); Eml Char(20); Sta Char(16)"),
        prp(u"Emlx Char(65); Kzs Char(2); Zjm Char(36); Zde Char(36); Zjv Char(36)"),
        prp(u"Dpdr1 Boolean; Dpdo1 Boolean; Dpdd1 Boolean; K1p Boolean; Pcp Smallint; Pcl Smallint"),
        prp(u"Pr11 Char(1)"),
        prp(u"Hp1c Integer; Cpoco Char(4); Cpocp Char(6); Fuc Integer; Zjvjm Char(20); Zjvpr Char(36); "
            u"Zjvpo Char(40); Tds Boolean; Zdedn Date; Zdece Char(36); Zdeic Char(10); Zjmjm Char(20); "
            u"Zjmpr Char(36); Zjmpo Char(36); Tzs Boolean; Sta2 Char(25); Sesjm Char(20); Sespr Char(36); "
            u"Ojp3 Char(255); Poznod Char(1)"),
        prp(u"Fusp Char(45); Fuz Integer"),
    };
}

QString statementD1()
{
    return alterTable(u"Dmt"_s, u"Prh1 Boolean; Trh1 Char(40)"_s);
}

QString statementD2()
{
    return alterTable(u"Dmt"_s, u"Vhn Smallint; Vln Smallint"_s);
}

QString statementMban()
{
    return u"Alter Table Mban Add M1 Integer"_s;
}

QString statementMtt()
{
    return u"Alter Table Mtt Add Z1 Boolean"_s;
}

QStringList upgradeColumns(const QString &table)
{
    const auto is = [&](const char16_t *name) { return table.compare(QString::fromUtf16(name), Qt::CaseInsensitive) == 0; };
    QStringList statements;
    if (is(u"Dtab1") || is(u"Dtab1s"))
        statements = {statementU1(table)};
    else if (is(u"Dtab2") || is(u"Dtab2s"))
        statements = {statementU2(table)};
    else if (is(u"Dtabn1") || is(u"Dtabn1s"))
        statements = {statementU3(table), statementU4(table)};
    else if (is(u"Dtabn2") || is(u"Dtabn2s"))
        statements = {statementU5(table)};
    else if (is(u"Dtabs"))
        statements = {statementS1(), statementS2()};
    else if (is(u"Prp"))
        statements = statementsP();
    else if (is(u"Dmt"))
        statements = {statementD1(), statementD2()};
    else if (is(u"Mban"))
        statements = {statementMban()};
    else if (is(u"Mtt"))
        statements = {statementMtt()};
    QStringList columns;
    for (const QString &sql : std::as_const(statements))
        for (const engine::FieldDef &f : engine::parseAlterTable(sql).columns)
            columns.append(f.name);
    return columns;
}

}  // namespace rur::data
