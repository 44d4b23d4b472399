#include "geomFeature/persist/detail/IssueReport.h"

#include "geomFeature/host/logkit/LogMgr.h"

namespace Norvane {
namespace detail {

void ReportIssue(PersistIssueList* issues, tagPersistIssue kind, tagPersistSeverity severity,
                 const char* table, std::int64_t row, const std::string& message) {
    const std::string line = std::string(table) + " row " + std::to_string(row) + ": " + message;
    // The messages are built from ASCII text and numbers only, so widening byte by byte is exact.
    LogMgr::DebugWarn(std::wstring(line.begin(), line.end()));
    if (issues) {
        issues->push_back(PersistIssue{kind, severity, table, row, message});
    }
}

}  // namespace detail
}  // namespace Norvane
