#include "engine/EngineError.h"

namespace rur::engine {

EngineError::EngineError(int code, const QString &message, const char *file, int line)
    : std::runtime_error(message.toStdString()), code_(code), message_(message), file_(file), line_(line)
{
}

QString EngineError::where() const
{
    if (!file_)
        return {};
    return QString::fromUtf8(file_) + u':' + QString::number(line_);
}

}  // namespace rur::engine
