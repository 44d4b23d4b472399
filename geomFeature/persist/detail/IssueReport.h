#pragma once

#include <cstdint>
#include <string>

#include "geomFeature/persist/PersistIssue.h"

namespace Norvane {
namespace detail {

// Writes the finding to the debug log and, when issues is given, appends it there.
void ReportIssue(PersistIssueList* issues, tagPersistIssue kind, tagPersistSeverity severity,
                 const char* table, std::int64_t row, const std::string& message);

}  // namespace detail
}  // namespace Norvane
