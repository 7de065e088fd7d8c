#pragma once

#include "base/Directories.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace rur::platform {
class Prompter;
}

namespace rur::datasets {

class Catalogue;

// One data set named by the catalogue of an earlier edition.
struct EarlierDataSet {
    int cislo = 0;
    int pozice = 0;
    QString nazev;
    QString adresar;
    QVariant heslo;  // null: no password
    QStringList files;  // the tables and the settings file taken over
};

// What the first stage found in the earlier edition: the data sets that can be taken over
// and, by name, those that can't (with the reason, in Czech).
struct ConversionPlan {
    QString source;  // the earlier data root, ending in '/'
    QList<EarlierDataSet> sets;
    QStringList skipped;
};

struct ConversionResult {
    enum Status {
        NotRun,     // nothing to do: see reason (the window shows nothing)
        Shared,     // both editions work with the same network data: nothing copied
        Converted,  // at least the catalogue was taken over; skipped names what was left out
        Failed,     // nothing taken over; reason says why
    };
    Status status = NotRun;
    QString sourceRoot;
    QStringList converted;  // data-set directories taken over
    QStringList taken;      // "Název (D1): Dcis.DB, ..., D1.ini": what each of them brought
    QStringList skipped;    // "Název (D3): reason"
    QString reason;
};

// The conversion of an earlier edition's data into the data root: the earlier catalogue is
// the Data.DB of an earlier edition's root. Data sets are copied under temporary names and
// renamed into place when whole; the passwords and then the catalogue are written last, so
// that a conversion stopped half way leaves an empty catalogue. A data set that is missing
// tables or whose tables are unreadable is left out and named in the message; the others are
// taken over. Messages go through the prompter (information on success, error otherwise);
// the catalogue is open again afterwards.
ConversionResult KontrolaInst2(Catalogue &catalogue, base::Directories &dirs, const QString &earlierCatalogue,
                               platform::Prompter &prompter);

// Stage one: reads the catalogue and the passwords of the source root and checks that each
// data set's folder holds Dcis.DB, Prp.DB and Dmt.DB. False (with the reason) when the
// catalogue or the passwords can't be read; nothing in the data root changes.
bool PrevodVozidel1(const QString &source, const QString &dataRoot, ConversionPlan &plan, QString *reason);
// Stage two: copies the planned data sets into the data root and writes the passwords and
// the catalogue of those taken over. The catalogue's tables must be closed. Data sets that
// fail are moved from plan.sets to plan.skipped. False (with the reason) when the catalogue
// could not be written; then the copied data sets are removed again.
bool PrevodVozidel2(ConversionPlan &plan, const QString &dataRoot, QString *reason);

// A data-set ini without the settings that belonged to the earlier installation: in the data
// set's own section the transfer sources (PrenosSZ, PrenosPO, Denik, Denik21 to Denik210 with
// their numbers) are emptied where they are filled, and the sections of paths, bank and filing
// files ([Cesty], [Banka1], [Bankah1], [Prenos], [XML], [Banka], [Bankah]) go. Every other
// byte stays.
QByteArray clearEarlierSettings(const QByteArray &ini, const QString &section);

// The largest table file the conversion copies; a bigger one is no table of this program.
inline constexpr qint64 kMaxConvertedFileBytes = qint64(512) * 1024 * 1024;

inline constexpr char16_t kConvertedMessage[] = u"Data byla převedena z adresáře: \n\n";
inline constexpr char16_t kNotConvertedMessage[] = u"Data se nepodařilo převést z adresáře: \n\n";

}  // namespace rur::datasets
