#pragma once

#include <stdexcept>
#include <string>

namespace Norvane {

// What went wrong with the part database, coarse enough for a caller to pick an exit code or a message.
enum class tagDBError : int {
    CannotOpen,    // the file could not be opened or created (missing folder, permissions, missing file)
    NotADatabase,  // the file exists but is not an SQLite database (or is encrypted / damaged)
    SqlError,      // a statement failed: syntax, missing table, constraint, full disk, I/O
    Misuse,        // the connection was used out of order (end of a batch that never began)
};

// Thrown by the database layer for every real failure. The message names the file or the statement.
class DBException : public std::runtime_error {
public:
    DBException(tagDBError error, const std::string& message) : std::runtime_error(message), m_error(error) {}

    tagDBError GetError() const { return m_error; }

private:
    tagDBError m_error;
};

}  // namespace Norvane
