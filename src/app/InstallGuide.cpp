#include "app/InstallGuide.h"

#include "base/Program.h"

#include <QDir>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTextDocument>

using namespace Qt::StringLiterals;

namespace rur::app {

QString installGuideFolder()
{
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    return cache.isEmpty() ? QDir::tempPath() + u'/' : cache + u"/Tervik/RUR "_s + QString::number(base::kProgramYear) + u'/';
}

QString writeInstallGuide(const QString &folder, const HelpTopics &topics)
{
    if (!topics.hasContext(kInstallGuideContext) || !QDir().mkpath(folder))
        return {};
    const QString path = QDir(folder).filePath(u"Návod k instalaci.pdf"_s);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    {
        QPdfWriter pdf(&file);
        pdf.setTitle(topics.topic(kInstallGuideContext).title);
        pdf.setCreator(base::applicationTitle());
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(20, 20, 20, 20),
                                      QPageLayout::Millimeter));
        QTextDocument document;
        document.setHtml(topics.html(kInstallGuideContext));
        document.print(&pdf);
    }
    return file.commit() ? path : QString();
}

}  // namespace rur::app
