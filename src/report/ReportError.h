#pragma once

#include <QString>
#include <stdexcept>

namespace rur::report {

// A layout that can't be read or used, or an output that failed; the message is Czech and
// names the layout or file.
class ReportError : public std::runtime_error {
public:
    explicit ReportError(const QString &message) : std::runtime_error(message.toStdString()), message_(message) {}
    QString message() const { return message_; }

private:
    QString message_;
};

}  // namespace rur::report
