#pragma once

#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

namespace rur::testing {

// A word of a PDF page as poppler's pdftotext finds it, in points from the page's top left.
struct PdfWord {
    QString text;
    QRectF box;
};

// What a user's PDF viewer finds in a file: the words with their boxes (pdftotext -bbox),
// the page sizes and the fonts (pdffonts).
class PdfText {
public:
    explicit PdfText(const QString &path);
    bool valid() const { return error_.isEmpty(); }
    QString error() const { return error_; }
    int pageCount() const { return int(pages_.size()); }
    QSizeF pageSize(int page) const { return page < pages_.size() ? pages_[page].size : QSizeF(); }
    QList<PdfWord> words(int page) const { return page < pages_.size() ? pages_[page].words : QList<PdfWord>(); }
    QStringList fonts() const { return fonts_; }
    bool fontsEmbedded() const { return embedded_; }

private:
    struct Page {
        QSizeF size;
        QList<PdfWord> words;
    };
    QList<Page> pages_;
    QStringList fonts_;
    bool embedded_ = false;
    QString error_;
};

}  // namespace rur::testing
