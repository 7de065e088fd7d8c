#pragma once

#include <QString>

namespace rur::backup {

// Sets *error to the text when the caller asked for one (error is not null).
void setError(QString *error, const QString &text);
// libzip's own text for one of its error codes.
QString zipErrorText(int code);

}  // namespace rur::backup
