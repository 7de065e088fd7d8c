#pragma once

// The sibling programs whose data the transfers read: the cash journal ("Rizavuv uvaro")
// and the income-tax returns of legal persons ("Ziradi vududera DI") and of individuals
// ("Redovo zevedara ZU"). Their tables are files of the same kind as the program's own
// (docs/table-files.md); the layouts below are the fields a table must hold at least.

#include "engine/TableDef.h"

#include <QString>

namespace rur::transfer {

enum class SiblingKind { Journal, TaxReturnPO, TaxReturnSZ };

// What tells the three transfer windows apart: captions, where the sibling keeps its data
// and settings, the keys of the data-set ini and the messages.
struct SiblingProgram {
    SiblingKind kind;
    QString caption;         // window title
    QString folderPrefix;    // "Rizavuv uvaro ": followed by a year, beside our folders
    QString iniFile;         // the sibling's own settings file in that folder
    QString iniSection;      // its section holding Net and Path
    QString pathKey;         // [Prenos] key of the stored path of the catalogue
    QString numberKey;       // [Prenos] key of the last used catalogue number
    QString positionKey;     // window position: <key>Top, <key>Left
    QString pathHint;        // hint of the path field
    QString runHint;         // hint of "&Přenést"
    QString question;        // asked before the transfer
    QString doneMessage;     // after it
    QString showFailed;      // the catalogue or a data set's tables can't be shown
};

const SiblingProgram &siblingProgram(SiblingKind kind);

// Data.DB of a sibling: its catalogue of data sets, in the folder the user points at.
engine::TableDef siblingCatalogueDef();
// The journal data set's taxpayer (Dosu.DB), settings row (Dmt.DB) and entries (Pdev.DB).
engine::TableDef journalTaxpayerDef();
engine::TableDef journalSettingsDef();
engine::TableDef journalEntriesDef();
// The entries' fields the transfer reads (ID, D, Zd, Dan, Cdph): a journal of a hundred
// thousand entries is read without the texts it doesn't need.
engine::TableDef journalEntriesReadDef();
// The two fields of the journal's settings row that the program writes: the period Dz, Dk.
// A cursor over only these writes nothing else of the row back.
engine::TableDef journalPeriodDef();
// The taxpayer of an income-tax return: Prp.DB of the PO program, Dosu.DB of the SZ one.
engine::TableDef corporateTaxpayerDef();
engine::TableDef personalTaxpayerDef();
// The taxpayer table a window shows for the sibling.
engine::TableDef siblingTaxpayerDef(SiblingKind kind);

}  // namespace rur::transfer
