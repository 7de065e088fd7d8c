#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>

namespace rur::platform {

// The windows-1250 (Central European) code page, in which older data files, exports and
// printer streams of the program are written. Bytes below 0x80 are ASCII.

// A character the code page cannot hold becomes '?' (one '?' per character, also for a
// character outside the Basic Multilingual Plane, which QString stores as two units).
QByteArray toCp1250(const QString &text);

// Bytes the code page leaves undefined (0x81, 0x83, 0x88, 0x90, 0x98) become U+FFFD.
QString fromCp1250(const QByteArray &bytes);

bool representableInCp1250(QChar c);

}  // namespace rur::platform
