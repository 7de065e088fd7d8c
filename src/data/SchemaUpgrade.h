#pragma once

#include <QString>
#include <QStringList>

namespace rur::data {

// Column additions that bring the tables of older data sets up to date. Each statement
// is sent by itself; one whose columns already exist fails and is skipped.
QString statementU1(const QString &table);   // Dtab1, Dtab1s
QString statementU2(const QString &table);   // Dtab2, Dtab2s (Dtab2s also gets K1)
QString statementU3(const QString &table);   // Dtabn1, Dtabn1s
QString statementU4(const QString &table);   // Dtabn1, Dtabn1s
QString statementU5(const QString &table);   // Dtabn2, Dtabn2s
QString statementS1();
QString statementS2();
QStringList statementsP();                   // P1 to P12 of Prp, in order
QString statementD1();
QString statementD2();
QString statementMban();
QString statementMtt();

// Every column that opening a data set may add to the table (Dtab1, Prp, ...): the columns
// of all of its statements; empty for a table that is only ever copied from its template.
QStringList upgradeColumns(const QString &table);

// Builds "Alter Table T Add A Float\n, Add B Char(9)" from "A Float; B Char(9)".
QString alterTable(const QString &table, const QString &columns);

}  // namespace rur::data
