#pragma once

#include "report/PreparedReport.h"

#include <QImage>
#include <QList>
#include <QString>

class QPainter;
class QPagedPaintDevice;

namespace rur::report {

// Draws one page; the painter's coordinates are report units (scaled by the caller).
void paintPage(QPainter &painter, const PreparedReport &report, int page);

// Draws pages (all when the list is empty) onto a printer or PDF writer, one device page
// each, scaled from units to the device's resolution; coordinates start at the corner of the
// sheet, so the device must not add margins of its own. False when the device can't be
// painted on (a printer that refused the job).
bool renderPages(const PreparedReport &report, QPagedPaintDevice &device, QList<int> pages = {});

// A page as a picture, white background, scale 1 = 96 dots per inch.
QImage renderImage(const PreparedReport &report, int page, double scale = 1.0);

// Writes the report as a PDF file with embedded fonts and real text. The file is written
// beside the target and renamed over it when complete, so a failure keeps an older file.
// False when the file can't be written.
bool writePdf(const PreparedReport &report, const QString &path);

}  // namespace rur::report
