#pragma once

#include <stdexcept>
#include <string>
#include <utility>

namespace Norvane {

// What went wrong with the part database, coarse enough for a caller to pick an exit code or a message.
enum class tagDBError : int {
    CannotOpen,    // the file could not be opened or created (missing folder, permissions, missing file)
    NotADatabase,  // the file exists but is not an SQLite database (or is encrypted)
    Damaged,       // the file is an SQLite database whose content is damaged (truncated, overwritten pages)
    IoError,       // reading or writing the file failed (an I/O error, a full disk)
    SqlError,      // a statement failed: syntax, missing table, constraint
    Misuse,        // the connection was used out of order (end of a batch that never began)
};

// The kind of error of an SQLite result code (primary or extended).
tagDBError DBErrorOfCode(int sqliteCode);

// Thrown by the database layer for every real failure. The message names the file or the statement; the
// detail says the same without naming the file, for callers that name it themselves.
class DBException : public std::runtime_error {
public:
    DBException(tagDBError error, const std::string& message)
        : std::runtime_error(message), m_error(error), m_detail(message) {}
    DBException(tagDBError error, const std::string& message, std::string detail)
        : std::runtime_error(message), m_error(error), m_detail(std::move(detail)) {}

    tagDBError GetError() const { return m_error; }
    const std::string& GetDetail() const { return m_detail; }

private:
    tagDBError m_error;
    std::string m_detail;
};

}  // namespace Norvane
