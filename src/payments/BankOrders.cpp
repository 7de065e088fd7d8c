#include "payments/BankOrders.h"

#include "base/Paths.h"
#include "data/DataM1.h"
#include "engine/Table.h"
#include "payments/AboFile.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"

#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace rur::payments {

namespace {

const QString kFiles = u"Banka1"_s;
const QString kPrograms = u"Bankah1"_s;

QStringList readHistory(const platform::IniFile &ini, const QString &section)
{
    QStringList history;
    for (int i = 0; i < kHistorySize; ++i) {
        const QString entry = ini.readString(section, QString::number(i));
        if (!entry.isEmpty() && !history.contains(entry))
            history.append(entry);
    }
    return history;
}

bool writeHistory(platform::IniFile &ini, const QString &section, const QStringList &history)
{
    bool ok = true;
    for (int i = 0; i < kHistorySize; ++i) {
        if (i < history.size())
            ok = ini.writeString(section, QString::number(i), history[i]) && ok;
        else if (ini.hasKey(section, QString::number(i)))
            ok = ini.deleteKey(section, QString::number(i)) && ok;
    }
    return ok;
}

}  // namespace

AboPaths readAboPaths(const platform::IniFile &ini)
{
    return {ini.readBool(kFiles, u"Nazev"_s, false), readHistory(ini, kFiles), readHistory(ini, kPrograms)};
}

bool writeAboPaths(platform::IniFile &ini, const AboPaths &paths)
{
    bool ok = ini.writeBool(kFiles, u"Nazev"_s, paths.firmName);
    ok = writeHistory(ini, kFiles, paths.files) && ok;
    return writeHistory(ini, kPrograms, paths.programs) && ok;
}

QStringList pushHistory(QStringList history, const QString &entry)
{
    if (entry.trimmed().isEmpty())
        return history;
    history.removeAll(entry);
    history.prepend(entry);
    while (history.size() > kHistorySize)
        history.removeLast();
    return history;
}

QString defaultAboPath(const base::Directories &dirs, int type, const QString &stem)
{
    return base::CestyTyp1(dirs, type, base::KindKpc, u"Banka - "_s, stem);
}

QString fullAboPath(const base::Directories &dirs, const QString &pathTemplate)
{
    return base::CestyTyp2(dirs, pathTemplate, base::KindKpc);
}

QString initialAboPath(const base::Directories &dirs, const AboPaths &paths, const QString &stem)
{
    return paths.files.isEmpty() ? defaultAboPath(dirs, 1, stem) : paths.files.first();
}

bool deleteKpcFile(const QString &path)
{
    // Only a file the program would have written: the extension exactly ".kpc".
    if (!path.endsWith(u".kpc"_s) || !QFileInfo(path).isFile())
        return false;
    return QFile::remove(path);
}

void orderFromPaymentOrder(data::TDM1 &dm)
{
    engine::Table &mtt = *dm.Mtt;
    engine::Table &mban = *dm.Mban;
    if (!mtt.isActive())
        mtt.open();
    if (mtt.isEditing())
        mtt.post();
    if (!mban.isActive())
        mban.open();
    mban.append();
    const std::pair<const char16_t *, const char16_t *> copies[] = {
        {u"Cu1", u"Cui"}, {u"Kodi", u"Kbi"}, {u"Ds", u"D1"}, {u"Cu2", u"Cu"},
        {u"Kod", u"Kb"},  {u"Vs", u"Vs"},    {u"Ks", u"Ks"}, {u"Ca", u"Cad1"}};
    try {
        for (const auto &[to, from] : copies)
            mban.field(QString::fromUtf16(to)).setValue(mtt.field(QString::fromUtf16(from)).value());
        mban.post();
    } catch (...) {
        mban.cancel();
        throw;
    }
}

TransferResult Prenos(data::TDM1 &dm, AboTransfer &t, platform::Prompter &prompter)
{
    if (base::isPathMessage(t.fullPath)) {
        prompter.information(u"Nastavte správně cestu."_s);
        return TransferResult::NotWritten;
    }
    if (!prompter.confirm(u"Opravdu přenést příkazy do souboru "_s + t.fullPath))
        return TransferResult::NotWritten;
    for (engine::Table *table : {dm.Mtt.get(), dm.Mban.get()})
        if (table->isActive() && table->isEditing())
            table->post();
    const bool displayWasOn = dm.statusDisplayOn;
    bool written = false;
    {
        platform::BusyGuard busy(prompter);
        dm.statusDisplayOn = false;
        try {
            written = writeAboFile(dm, {t.fullPath, t.today, t.dataSetIni}, prompter);
        } catch (...) {
            dm.statusDisplayOn = displayWasOn;
            throw;
        }
        dm.statusDisplayOn = displayWasOn;
    }
    if (!written)
        return TransferResult::NotWritten;
    if (dm.Mtt->isActive() && dm.Mtt->field(u"Z1"_s).asBoolean() && t.showList)
        t.showList();
    if (startsBankProgram(t.program, t.programStarted)) {
        t.programStarted = true;
        if (t.startProgram)
            t.startProgram(t.program.trimmed());
    }
    if (!prompter.confirm(u"Byly příkazy vpořádku načteny do bankovního programu ?"_s))
        return TransferResult::Kept;
    emptyOrders(dm);
    return TransferResult::Emptied;
}

}  // namespace rur::payments
