#pragma once

#include <string>

#include "geomFeature/persist/PersistIssue.h"

namespace Norvane {

// Outcome of saving or loading a part file.
enum class tagPartFileStatus : int {
    Ok,
    CannotOpen,    // the file could not be opened or created (missing file or folder, permissions)
    NotADatabase,  // the file is not an SQLite database
    Damaged,       // the file is an SQLite database whose content is damaged (truncated, overwritten)
    MissingTable,  // one of the part tables is missing (an empty or foreign database)
    BadTable,      // a part table has the wrong number of columns
    BadData,       // rows that cannot be loaded soundly (see the issues); nothing was loaded
    ReadFailed,    // reading the database failed (an I/O error)
    WriteFailed,   // a statement of the save failed; the earlier content of the file is unchanged
    Interrupted,   // the save was stopped before its commit; the earlier content of the file is unchanged
};

// status, a one-line message for people (empty when all went well; it never names the file, which the
// caller knows) and every finding of the readers, including the warnings of a load that succeeded.
struct PartFileResult {
    tagPartFileStatus status = tagPartFileStatus::Ok;
    std::string message;
    PersistIssueList issues;

    bool IsOk() const { return status == tagPartFileStatus::Ok; }
};

}  // namespace Norvane
