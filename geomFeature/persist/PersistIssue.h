#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Norvane {

// What was wrong with a row that the part readers met.
enum class tagPersistIssue : int {
    BadRowWidth,         // the row has another number of columns than its table should
    BadValue,            // a column holds null, text, a non-integer identifier, a non-finite real or an
                         // integer outside its range; or the shape built from the row is not finite
    UnknownPatternType,  // a pattern row whose type code is none of the known codes
    MissingPattern,      // a relation or loop node names a pattern that was not loaded
    BadRelation,         // a relation of unknown type, or one that would make an array repeat an array
    LoopWithoutNodes,    // a loop row that no node row refers to
    UnknownLoop,         // node rows naming a loop that has no loop row
};

// Error: the row (or the link it describes) was skipped, so the part in memory differs from the file.
// Warning: the row was loaded in a documented way that may not be what was saved.
enum class tagPersistSeverity : int {
    Warning,
    Error,
};

// One finding of a reader: which table, which row (1-based, in the order the database returned the
// rows) and a sentence saying what was found and what the reader did about it.
struct PersistIssue {
    tagPersistIssue kind;
    tagPersistSeverity severity;
    std::string table;
    std::int64_t row;
    std::string message;
};

using PersistIssueList = std::vector<PersistIssue>;

}  // namespace Norvane
