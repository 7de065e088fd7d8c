#pragma once

#include <QString>
#include <stdexcept>

namespace rur::engine {

// Error codes the program reacts to. Key violations carry the code the post-error
// hooks test for; the other codes tell why an open failed.
enum ErrorCode : int {
    ErrGeneral = 1,
    ErrFileMissing = 2,      // the table's data file does not exist
    ErrFieldMissing = 3,     // the file lacks a declared field
    ErrUnreadable = 4,       // not a table, truncated, damaged
    ErrLocked = 5,           // another user holds the table (exclusive open)
    ErrNotEditing = 6,       // a stored field was set outside edit or insert state
    ErrOutOfRange = 7,       // a value outside the field's bounds
    ErrInvalidValue = 8,     // text that is not a number or a date
    ErrSql = 9,              // a local SQL statement failed
    ErrAbort = 10,           // silent abort: the caller shows nothing
    ErrReadOnly = 11,        // the table's directory or file may not be written
    ErrKeyViolation = 9729,  // duplicate key (hexadecimal 2601)
};

// Every failed engine operation throws this; the message is Czech and meant for the user.
class EngineError : public std::runtime_error {
public:
    EngineError(int code, const QString &message, const char *file = nullptr, int line = 0);

    int code() const { return code_; }
    QString message() const { return message_; }
    // Source position of the throw, for diagnostics.
    QString where() const;

private:
    int code_;
    QString message_;
    const char *file_;
    int line_;
};

}  // namespace rur::engine

#define RUR_THROW(code, message) throw ::rur::engine::EngineError((code), (message), __FILE__, __LINE__)
