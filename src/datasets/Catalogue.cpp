#include "datasets/Catalogue.h"

#include "base/Program.h"
#include "data/DataFileList.h"
#include "data/Schemas.h"
#include "data/Templates.h"
#include "datasets/ConversionFiles.h"
#include "datasets/DataSetAccess.h"
#include "datasets/EarlierEditions.h"
#include "engine/EngineError.h"
#include "engine/GroupTransaction.h"
#include "engine/LockFile.h"
#include "engine/TableFile.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;
using rur::engine::EngineError;
using rur::engine::Table;

namespace rur::datasets {

Catalogue::Catalogue(base::Directories &dirs, platform::Prompter &prompter, QObject *parent)
    : QObject(parent), dirs_(dirs), prompter_(prompter)
{
    Data = std::make_unique<Table>(&Nazvy, data::catalogueDef());
    Data->setFieldLabel(u"Nazev"_s, u"Název RUR"_s);
    Uziv = std::make_unique<Table>(&Nazvy, data::passwordsDef());
    Uziv->setMasterSource(Data.get(), u"Cislo"_s, u"Cislo"_s);
}

Catalogue::~Catalogue()
{
    Uziv->setMasterSource(nullptr, {}, {});
}

void Catalogue::setStatus(const QString &text)
{
    if (statusSink)
        statusSink(text);
}

bool Catalogue::guarded(const std::function<bool()> &change)
{
    try {
        return change();
    } catch (const EngineError &e) {
        if (Data->isEditing())
            Data->cancel();
        if (Uziv->isEditing())
            Uziv->cancel();
        if (e.code() != engine::ErrAbort)
            prompter_.error(e.message());
        return false;
    }
}

void Catalogue::prepare()
{
    Nazvy.setDirectory(dirs_.dataRoot);
    engine::deleteStaleLockFiles(dirs_.dataRoot);
    finishInterruptedConversion(dirs_.dataRoot);
    upgradeCatalogue();
    openTables();
}

// A catalogue of an earlier edition has no own ordering: it is rebuilt with every row in
// its old order and the position equal to the number. The new file is built beside the
// old one and replaces it whole; a damaged catalogue is left alone.
void Catalogue::upgradeCatalogue()
{
    Data->close();
    try {
        Data->open();
        return;
    } catch (const EngineError &e) {
        if (e.code() != engine::ErrFieldMissing)
            return;
    }
    try {
        Table old(&Nazvy, data::catalogueDef().without({u"Pozice"_s}));
        old.open();
        QList<QVariantMap> rows;
        for (old.first(); !old.eof(); old.next())
            rows.append({{u"Cislo"_s, old.field(u"Cislo"_s).value()},
                         {u"Pozice"_s, old.field(u"Cislo"_s).value()},
                         {u"Nazev"_s, old.field(u"Nazev"_s).value()},
                         {u"Adresar"_s, old.field(u"Adresar"_s).value()}});
        old.close();
        Nazvy.disconnect();
        engine::createTableFile(dirs_.dataRoot + u"Data.DB"_s, data::catalogueDef(), rows);
    } catch (const EngineError &) {
    }
}

void Catalogue::openTables()
{
    try {
        Data->open();
        Data->addIndex(u"Nazev"_s, u"Nazev"_s);  // an older catalogue may lack it
    } catch (const EngineError &) {
    }
    try {
        Uziv->open();
    } catch (const EngineError &e) {
        if (e.code() == engine::ErrFileMissing || e.code() == engine::ErrFieldMissing) {
            for (const QString &file : data::passwordFiles())
                if (QFile::exists(dirs_.dataRoot + u"Data/"_s + file))
                    engine::replaceFileAtomically(dirs_.dataRoot + u"Data/"_s + file, dirs_.dataRoot + file);
        }
        try {
            Uziv->open();
        } catch (const EngineError &) {
        }
    }
}

void Catalogue::showSelection()
{
    QDir::setCurrent(dirs_.dataRoot);
    if (!Data->isActive())
        openTables();
    if (!Data->isActive())
        return;
    Data->refresh();
    if (Uziv->isActive())
        Uziv->refresh();
    if (lastUsedPosition()) {
        const int last = platform::IniFile(dirs_.localDataRoot + u"Dph.ini"_s).readInteger(u"Vyber"_s, u"Cislo"_s, 1);
        Data->locate(u"Cislo"_s, {last});
    } else {
        Data->first();
    }
    const int stored = platform::IniFile(dirs_.dataRoot + u"Dph.ini"_s).readInteger(u"Dph"_s, u"Razeni"_s, 1);
    if (stored >= OrderOwn && stored <= OrderByName)
        applyOrdering(stored);
    if (!lastUsedPosition())
        Data->first();
}

bool Catalogue::lastUsedPosition() const
{
    return platform::IniFile(dirs_.localDataRoot + u"Dph.ini"_s).readBool(u"Vyber"_s, u"Pos"_s, true);
}

void Catalogue::closeSelection(bool keepPosition)
{
    platform::IniFile local(dirs_.localDataRoot + u"Dph.ini"_s);
    local.writeBool(u"Vyber"_s, u"Pos"_s, keepPosition);
    local.writeInteger(u"Vyber"_s, u"Cislo"_s, currentNumber());
    if (isEmpty() && local.readString(u"Dph"_s, u"%1o"_s.arg(conversionKey())) == u"1"_s)
        local.writeString(u"Dph"_s, conversionKey(), QString());
    platform::IniFile(dirs_.dataRoot + u"Dph.ini"_s).writeInteger(u"Dph"_s, u"Razeni"_s, ordering_);
    if (!Data->isActive())
        return;
    const int number = currentNumber();
    Data->close();
    Uziv->close();
    openTables();
    applyOrdering(ordering_);
    if (Data->isActive())
        Data->locate(u"Cislo"_s, {number});
}

int Catalogue::currentNumber() const
{
    return Data->isActive() && !Data->isEmpty() ? Data->value(Data->def().indexOf(u"Cislo"_s)).toInt() : 0;
}

QString Catalogue::currentName() const
{
    return Data->isActive() ? Data->value(Data->def().indexOf(u"Nazev"_s)).toString() : QString();
}

QString Catalogue::currentDirectory() const
{
    return Data->isActive() ? Data->value(Data->def().indexOf(u"Adresar"_s)).toString() : QString();
}

QString Catalogue::nameOf(const QString &directory) const
{
    if (!Data->isActive())
        return {};
    const int name = Data->def().indexOf(u"Nazev"_s), folder = Data->def().indexOf(u"Adresar"_s);
    for (int row = 0; row < Data->recordCount(); ++row)
        if (Data->storedValue(row, folder).toString().compare(directory, Qt::CaseInsensitive) == 0)
            return Data->storedValue(row, name).toString();
    return {};
}

int Catalogue::nextNumber()
{
    const int keep = ordering_;
    applyOrdering(OrderAutomatic);
    int number = 0;
    int n = 1;
    for (Data->first(); !Data->eof(); Data->next(), ++n) {
        if (Data->field(u"Cislo"_s).asInteger() > n) {
            number = n;
            break;
        }
    }
    if (number == 0)
        number = Data->recordCount() + 1;
    if (Data->locate(u"Cislo"_s, {number})) {
        Data->last();
        number = Data->field(u"Cislo"_s).asInteger() + 1;
    }
    applyOrdering(keep);
    return number;
}

bool Catalogue::beginNew()
{
    return guarded([this] {
        pendingIndexOrdering_ = ordering_;
        pendingPosition_ = ordering_ == OrderOwn && !isEmpty() ? Data->field(u"Pozice"_s).asInteger() : 0;
        const int number = nextNumber();
        applyOrdering(OrderAutomatic);
        Data->append();
        Data->field(u"Cislo"_s).setValue(number);
        Data->field(u"Adresar"_s).setValue(u"D"_s + QString::number(number));
        Data->field(u"Pozice"_s).setValue(pendingIndexOrdering_ == OrderOwn && pendingPosition_ > 0 ? pendingPosition_ : number);
        return true;
    });
}

bool Catalogue::finishNew(const QString &name)
{
    if (!newPending() || !nameAccepted(name))
        return false;
    Data->field(u"Nazev"_s).setValue(name);
    if (!prompter_.confirm(u"Opravdu chcete vytvořit RUR "_s + name + u" ?"_s))
        return false;
    platform::BusyGuard busy(prompter_);
    Data->cancel();
    int number = 0;
    QString path;
    bool existed = true;
    try {
        // Other programs may be creating data sets at the same moment: the number is taken
        // while the catalogue is locked for writing, from its rows as they are then, and the
        // lock waits for the others' creation to end.
        engine::GroupTransaction change({Data.get()}, kCatalogueWaitMs);
        Data->refresh();
        number = nextNumber();
        applyOrdering(OrderAutomatic);
        const QString directory = u"D"_s + QString::number(number);
        path = dirs_.dataRoot + directory;
        // The directory and its tables come first: a data set without them is not catalogued.
        existed = QFileInfo::exists(path);
        if (!QDir().mkpath(path) || !QFileInfo(path).isDir())
            RUR_THROW(engine::ErrGeneral, u"Adresář "_s + path + u" nelze vytvořit."_s);
        if (const QString problem =
                data::copyTemplateFiles(dirs_.dataRoot + u"Data/"_s, data::dataFileList(), path + u'/');
            !problem.isEmpty())
            RUR_THROW(engine::ErrGeneral, problem);
        Data->append();
        Data->field(u"Cislo"_s).setValue(number);
        Data->field(u"Adresar"_s).setValue(directory);
        Data->field(u"Pozice"_s).setValue(pendingIndexOrdering_ == OrderOwn && pendingPosition_ > 0 ? pendingPosition_
                                                                                                    : number);
        Data->field(u"Nazev"_s).setValue(name);
        Data->post();
        engine::crashPoint("catalogue:before-commit");
        change.commit();
    } catch (const EngineError &e) {
        if (!existed && !path.isEmpty())
            QDir(path).removeRecursively();
        applyOrdering(pendingIndexOrdering_);
        prompter_.error(e.message());
        return false;
    }
    applyOrdering(pendingIndexOrdering_);
    Data->locate(u"Cislo"_s, {number});
    return true;
}

bool Catalogue::nameAccepted(const QString &name)
{
    // A tab or a line break in a name would break every list that shows it.
    for (QChar c : name) {
        if (c.category() == QChar::Other_Control) {
            prompter_.error(u"Název RUR nesmí obsahovat řídicí znaky (tabulátor, konec řádku)."_s);
            return false;
        }
    }
    return true;
}

void Catalogue::cancelNew()
{
    if (newPending())
        Data->cancel();
    applyOrdering(pendingIndexOrdering_);
}

bool Catalogue::rename(const QString &name)
{
    if (isEmpty()) {
        prompter_.information(QString::fromUtf16(kNoDataSets));
        return false;
    }
    if (!nameAccepted(name))
        return false;
    return guarded([&] {
        Data->edit();
        Data->field(u"Nazev"_s).setValue(name);
        Data->post();
        return true;
    });
}

bool Catalogue::inUse(const QString &directory)
{
    const QString path = dirs_.dataRoot + directory + u'/';
    if (directory.isEmpty() || !QFile::exists(path + u"Dcis.DB"_s))
        return false;
    engine::Database probe(u"Danove"_s);
    probe.setDirectory(path);
    Table dcis(&probe, data::dcisDef());
    dcis.setExclusive(true);
    try {
        dcis.open();
    } catch (const EngineError &e) {
        return e.code() == engine::ErrLocked;
    }
    return false;
}

bool Catalogue::canOpenCurrent()
{
    return canUseDirectory(currentDirectory()) && passwordAccepted();
}

bool Catalogue::canUseDirectory(const QString &directory)
{
    if (!isDataSetDirectoryName(directory)) {
        prompter_.error(invalidDirectoryMessage(directory));
        return false;
    }
    const QString path = dirs_.dataRoot + directory + u'/';
    if (releaseDirectory)
        releaseDirectory(directory);
    engine::deleteStaleLockFiles(path);
    // A directory the user may not write is no sign of another user: it gets its own message.
    if (QFileInfo::exists(path) && !engine::isWritablePath(path)) {
        prompter_.error(engine::readOnlyDirectoryMessage(path));
        return false;
    }
    if (inUse(directory)) {
        prompter_.information(QString::fromUtf16(kInUse));
        return false;
    }
    return true;
}

bool Catalogue::deleteCurrent()
{
    if (isEmpty()) {
        prompter_.information(QString::fromUtf16(kNoDataSets));
        return false;
    }
    if (!canOpenCurrent())
        return false;
    const QString name = currentName();
    setStatus(u"Vymaže vybrané RUR z disku. P O Z O R  -  máte uložena data ?"_s);
    for (int i = 0; i < 2; ++i)
        if (!prompter_.confirm(u"Opravdu smazat RUR "_s + name + u" ?"_s))
            return false;
    platform::BusyGuard busy(prompter_);
    const QString directory = currentDirectory();
    // The catalogue row goes first: a data set whose row could not be deleted keeps its files.
    const int number = currentNumber();
    const bool removed = guarded([&] {
        engine::GroupTransaction change({Data.get(), Uziv->isActive() ? Uziv.get() : nullptr}, kCatalogueWaitMs);
        if (!Data->locate(u"Cislo"_s, {number}))
            return false;  // another program deleted it meanwhile
        while (Uziv->isActive() && !Uziv->isEmpty())
            Uziv->deleteRecord();
        Data->deleteRecord();
        change.commit();
        return true;
    });
    if (!removed)
        return false;
    if (!directory.isEmpty()) {
        const QString path = dirs_.dataRoot + directory + u'/';
        QStringList files = data::dataFileList();
        files << directory + u".ini"_s << QLatin1String(engine::kUsersLockFile)
              << QLatin1String(engine::kDirectoryLockFile);
        for (const QString &file : std::as_const(files))
            QFile::remove(path + file);
    }
    Data->first();
    if (!directory.isEmpty())
        QDir(dirs_.dataRoot).rmdir(directory);  // stays when other files are left in it
    setStatus(u"RUR "_s + name + u" bylo vymazáno."_s);
    return true;
}

bool Catalogue::markConversionOffer()
{
    if (!isEmpty())
        return false;
    platform::IniFile local(dirs_.localDataRoot + u"Dph.ini"_s);
    local.writeString(u"Dph"_s, u"%1o"_s.arg(conversionKey()), u"1"_s);
    local.writeString(u"Dph"_s, conversionKey(), QString());
    prompter_.information(u"Změny se projeví při novém spuštění programu."_s);
    return true;
}

}  // namespace rur::datasets
