#include "data/DataFileList.h"

#include "data/Schemas.h"

namespace rur::data {

namespace {

QStringList split(const char *names)
{
    return QString::fromLatin1(names).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

}  // namespace

const QStringList &dataFileList()
{
    static const QStringList list = split(
        "Dcis.DB Dtab1.DB Dtab2.DB Dtab3.DB Prp.DB Dmt.DB "
        "Dtab1s.DB Dtab1s.PX Dtab2s.DB Dtab2s.PX Dtabs.DB Dtabss.DB "
        "Mban.DB Mban.PX Mban.X09 Mban.Y09 Mban1.DB "
        "Mbzp.DB Mbzp.PX Mtt.DB Mtt.MB "
        "Maz.DB Maz.MB Maz.PX Maz.X04 Maz.X08 Maz.Y04 Maz.Y08 "
        "Mdp.DB Mdp.MB Mdp.PX Dzal1.DB "
        "Dtabn1.DB Dtabn2.DB Dtabn3.DB Dtabn1s.DB Dtabn1s.PX Dtabn2s.DB Dtabn2s.PX "
        "Dpsn1.DB Dpsn1.PX Dpsn2.DB Dpsn2.PX Dpsn2.X02 Dpsn2.X03 Dpsn2.X04 Dpsn2.Y02 Dpsn2.Y03 Dpsn2.Y04 "
        "Prppz.DB Prppz.MB "
        "Dkh.DB");
    return list;
}

QStringList dataFiles(int first, int last)
{
    return dataFileList().mid(first - 1, last - first + 1);
}

QStringList tableFiles(int first, int last)
{
    static const QStringList kept = [] {
        QStringList names;
        for (const engine::TableDef &def : dataSetTableDefs())
            names.append(def.fileName);
        return names;
    }();
    QStringList out;
    for (const QString &name : dataFiles(first, last))
        if (kept.contains(name, Qt::CaseInsensitive))
            out.append(name);
    return out;
}

const QStringList &catalogueFiles()
{
    static const QStringList list = split("Data.DB Data.PX Data.X02 Data.X03 Data.Y02 Data.Y03");
    return list;
}

const QStringList &passwordFiles()
{
    static const QStringList list = split("Uziv.DB Uziv.PX");
    return list;
}

}  // namespace rur::data
