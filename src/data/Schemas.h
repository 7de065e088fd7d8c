#pragma once

#include "engine/TableDef.h"

#include <QList>

namespace rur::data {

using engine::TableDef;

// Current return, finished returns, year totals, and the older tables every data set carries.
TableDef dtabn1Def();
TableDef dtabn2Def();
TableDef dtabn3Def();
TableDef dtabn1sDef();
TableDef dtabn2sDef();
TableDef dtabsDef();
TableDef dtab1Def();
TableDef dtab2Def();
TableDef dtab3Def();
TableDef dtab1sDef();
TableDef dtab2sDef();
TableDef dtabssDef();
TableDef dpsn1Def();
TableDef dpsn2Def();

// Taxpayer, text attachment, VAT rates.
TableDef prpDef();
TableDef prppzDef();
TableDef dcisDef();

// Print settings, payment order, VAT paid, bank data, bank orders, addresses, letters.
TableDef dmtDef();
TableDef mttDef();
TableDef dzal1Def();
TableDef mbzpDef();
TableDef mbanDef();
TableDef mban1Def();
TableDef mazDef();
TableDef mdpDef();

// Register of documents of the control statement.
TableDef dkhDef();

// Catalogue of data sets and their passwords, in the data root.
TableDef catalogueDef();
TableDef passwordsDef();

// Every table of a data set, in the order of the data file list.
QList<TableDef> dataSetTableDefs();
// A data-set table by name (Dcis, Prp, ...); an empty definition when unknown.
TableDef dataSetTableDef(const QString &name);

}  // namespace rur::data
