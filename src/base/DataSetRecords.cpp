#include "base/DataSetRecords.h"

#include "platform/IniFile.h"

using namespace Qt::StringLiterals;

namespace rur::base {

namespace {

const QString kSection = u"Prehled"_s;

QDateTime readTime(const platform::IniFile &ini, const QString &key)
{
    return QDateTime::fromString(ini.readString(kSection, key), Qt::ISODate);
}

}  // namespace

FilingFileRecord readFilingFileRecord(const QString &dataSetIni)
{
    if (dataSetIni.isEmpty())
        return {};
    const platform::IniFile ini(dataSetIni);
    return {ini.readString(kSection, u"Soubor"_s), ini.readString(kSection, u"SouborRUR"_s),
            readTime(ini, u"SouborCas"_s)};
}

bool recordFilingFile(const QString &dataSetIni, const FilingFileRecord &record)
{
    if (dataSetIni.isEmpty())
        return false;
    platform::IniFile ini(dataSetIni);
    const bool path = ini.writeString(kSection, u"Soubor"_s, record.path);
    const bool key = ini.writeString(kSection, u"SouborRUR"_s, record.returnKey);
    return ini.writeString(kSection, u"SouborCas"_s, record.written.toString(Qt::ISODate)) && path && key;
}

BackupRecord readBackupRecord(const QString &dataSetIni)
{
    if (dataSetIni.isEmpty())
        return {};
    const platform::IniFile ini(dataSetIni);
    return {ini.readString(kSection, u"Zaloha"_s), readTime(ini, u"ZalohaCas"_s)};
}

bool recordBackup(const QString &dataSetIni, const BackupRecord &record)
{
    if (dataSetIni.isEmpty())
        return false;
    platform::IniFile ini(dataSetIni);
    const bool path = ini.writeString(kSection, u"Zaloha"_s, record.path);
    return ini.writeString(kSection, u"ZalohaCas"_s, record.made.toString(Qt::ISODate)) && path;
}

}  // namespace rur::base
