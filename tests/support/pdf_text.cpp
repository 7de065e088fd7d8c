#include "support/pdf_text.h"

#include <QProcess>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace rur::testing {

namespace {

bool run(const QString &program, const QStringList &args, QByteArray *out, QString *error)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        *error = program + u" selhal: "_s + QString::fromUtf8(p.readAllStandardError()) + p.errorString();
        return false;
    }
    *out = p.readAllStandardOutput();
    return true;
}

}  // namespace

PdfText::PdfText(const QString &path)
{
    QByteArray xml;
    if (!run(u"pdftotext"_s, {u"-bbox"_s, path, u"-"_s}, &xml, &error_))
        return;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes a = reader.attributes();
        if (reader.name() == u"page"_s) {
            pages_.append({QSizeF(a.value(u"width"_s).toDouble(), a.value(u"height"_s).toDouble()), {}});
        } else if (reader.name() == u"word"_s && !pages_.isEmpty()) {
            const double x0 = a.value(u"xMin"_s).toDouble(), y0 = a.value(u"yMin"_s).toDouble();
            const double x1 = a.value(u"xMax"_s).toDouble(), y1 = a.value(u"yMax"_s).toDouble();
            pages_.last().words.append({reader.readElementText(), QRectF(QPointF(x0, y0), QPointF(x1, y1))});
        }
    }
    if (reader.hasError()) {
        error_ = reader.errorString();
        return;
    }
    QByteArray table;
    if (!run(u"pdffonts"_s, {path}, &table, &error_))
        return;
    // name, type, encoding, emb, sub, uni, object, ID: the first column and the "emb" column.
    embedded_ = true;
    const QList<QByteArray> lines = table.split('\n');
    for (qsizetype i = 2; i < lines.size(); ++i) {
        const QList<QByteArray> columns = lines[i].simplified().split(' ');
        if (columns.size() < 7)
            continue;
        fonts_.append(QString::fromUtf8(columns[0]));
        if (columns[columns.size() - 5] != "yes")
            embedded_ = false;
    }
    if (fonts_.isEmpty())
        embedded_ = false;
}

}  // namespace rur::testing
