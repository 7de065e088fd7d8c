#include "backup/ZipErrors.h"

#include <zip.h>

namespace rur::backup {

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

QString zipErrorText(int code)
{
    zip_error_t ze;
    zip_error_init_with_code(&ze, code);
    const QString text = QString::fromUtf8(zip_error_strerror(&ze));
    zip_error_fini(&ze);
    return text;
}

}  // namespace rur::backup
