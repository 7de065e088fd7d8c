#include "support/editions.h"

#include "data/Schemas.h"
#include "data/Templates.h"
#include "engine/TableFile.h"

#include <QDir>
#include <QFile>
#include <QVariantMap>

using namespace Qt::StringLiterals;

namespace rur::testing {

void makeEdition(const QString &root, const QStringList &names)
{
    data::installDataRoot(root);
    const QString base = QDir::cleanPath(root) + u'/';
    QList<QVariantMap> rows;
    for (int i = 0; i < names.size(); ++i) {
        const QString dir = u"D"_s + QString::number(i + 1);
        QDir().mkpath(base + dir);
        for (const engine::TableDef &def : data::dataSetTableDefs())
            QFile::copy(base + u"Data/"_s + def.fileName, base + dir + u'/' + def.fileName);
        rows.append({{u"Cislo"_s, i + 1}, {u"Pozice"_s, i + 1}, {u"Nazev"_s, names[i]}, {u"Adresar"_s, dir}});
    }
    engine::createTableFile(base + u"Data.DB"_s, data::catalogueDef(), rows);
}

void setPassword(const QString &root, int number, const QString &password)
{
    engine::createTableFile(QDir::cleanPath(root) + u"/Uziv.DB"_s, data::passwordsDef(),
                            {{{u"Cislo"_s, number}, {u"Heslo"_s, password}}});
}

}  // namespace rur::testing
