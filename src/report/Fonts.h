#pragma once

#include "report/ReportLayout.h"

#include <QFont>
#include <QString>
#include <QStringList>

namespace rur::report {

// The family a layout's font name is drawn with: Arial, Courier New and Times New Roman
// (also with " CE" appended, the old names of their Central European versions) become the
// metric-compatible Liberation Sans, Liberation Mono and Liberation Serif, so that texts take
// the room the layouts were measured for. Other names stay as they are, less a " CE" ending.
QString resolveFamily(const QString &name);

// The font of a layout item in report units: pixel size = character height, unhinted, so
// that measurements do not depend on the device.
QFont qfont(const FontSpec &spec);
// The same, made once per distinct font and kept for the run.
const QFont &fontOf(const FontSpec &spec);

// Width of one line of text in units.
double textWidth(const FontSpec &spec, const QString &text);
// Distance from one line to the next, in units.
double lineHeight(const FontSpec &spec);
// Lines of text broken at spaces (or inside a word longer than the width) so that none is
// wider than width; explicit line ends are kept.
QStringList wrapLines(const FontSpec &spec, const QString &text, double width);

}  // namespace rur::report
