#include "geomFeature/persist/PatLoopLoader.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include <boost/make_shared.hpp>

#include "geomFeature/host/datakit/DBConnect.h"
#include "geomFeature/loop/ArrayPatLoop.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/loop/PolyPatLoop.h"
#include "geomFeature/loop/StdPatLoop.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/persist/detail/IssueReport.h"
#include "geomFeature/processor/LoopProcessor.h"

namespace Norvane {

namespace {

constexpr const char* kLoopTable = "geometry_loopData";
constexpr const char* kNodeTable = "geometry_loopnodeData";
constexpr std::size_t kNodeColumns = 5;

// Orders node rows, and a node row against a loop identifier, by loop identifier.
struct ByLoop {
    bool operator()(const LoopNodeData& a, const LoopNodeData& b) const { return a.loopID < b.loopID; }
    bool operator()(const LoopNodeData& a, DataID id) const { return a.loopID < id; }
    bool operator()(DataID id, const LoopNodeData& b) const { return id < b.loopID; }
};

bool FitsInt32(std::int64_t value) {
    return value >= std::numeric_limits<std::int32_t>::min() &&
           value <= std::numeric_limits<std::int32_t>::max();
}

void Report(PersistIssueList* issues, tagPersistIssue kind, tagPersistSeverity severity, const char* table,
            std::int64_t row, const std::string& message) {
    detail::ReportIssue(issues, kind, severity, table, row, message);
}

// The loop for a chain of resolved patterns. A single standard shape or array stands as a loop of its own
// kind; everything else is a chain of lines and arcs, taken as it stands.
IPatLoopPtr BuildLoop(const std::vector<IPatternPtr>& patterns, const std::vector<LoopNodeData>& nodes) {
    if (patterns.size() == 1) {
        const IPatternPtr& pattern = patterns[0];
        const int follow = nodes[0].follow;
        if (pattern->IsStdPat()) {
            return boost::make_shared<StdPatLoop>(boost::make_shared<PatLoopNode>(pattern, follow));
        }
        if (pattern->IsArrayPat()) {
            return boost::make_shared<ArrayPatLoop>(boost::make_shared<PatLoopNode>(pattern, follow));
        }
    }
    const auto loop = boost::make_shared<PolyPatLoop>();
    for (std::size_t i = 0; i < patterns.size(); ++i) {
        loop->AppendPattern(patterns[i], nodes[i].follow);
    }
    return loop;
}

}  // namespace

void PatLoopLoader::LoadPatLoops(const DBConnectPtr& db, const PatternListPtr& patterns,
                                 const PatLoopListPtr& loops) {
    LoadPatLoops(db, patterns, loops, nullptr);
}

void PatLoopLoader::LoadPatLoops(const DBConnectPtr& db, const PatternListPtr& patterns,
                                 const PatLoopListPtr& loops, PersistIssueList* issues) {
    std::vector<DataID> damaged;
    std::vector<LoopNodeData> nodes = LoadLoopNodesOfPart(db, issues, damaged);
    std::sort(damaged.begin(), damaged.end());
    // Group the rows by loop; stable, so that each loop's rows stay in node-index order.
    std::stable_sort(nodes.begin(), nodes.end(), ByLoop());

    // First pattern for each identifier, as PatternList::GetPatFromID answers, built once per load.
    std::unordered_map<DataID, IPatternPtr> byID;
    byID.reserve(patterns ? patterns->size() : 0);
    if (patterns) {
        for (const IPatternPtr& pattern : *patterns) {
            if (pattern) {
                byID.emplace(pattern->GetID(), pattern);
            }
        }
    }

    std::unordered_set<DataID> loopIDs;
    const DBResultPtr result = db->ExecuteQuery("select * from geometry_loopData;");
    std::int64_t rowNumber = 0;
    for (DBRecordPtr record = db->GetNextRecord(result); record; record = db->GetNextRecord(result)) {
        ++rowNumber;
        const DBFieldList& fields = record->GetDBFieldList();
        if (fields.size() != 1 || fields[0]->GetValueType() != tagDBValueType::Integer) {
            Report(issues, fields.size() != 1 ? tagPersistIssue::BadRowWidth : tagPersistIssue::BadValue,
                   tagPersistSeverity::Error, kLoopTable, rowNumber,
                   "is not a single integer loop identifier; loop skipped");
            continue;
        }
        const DataID loopID = fields[0]->GetInt64();
        const std::string who = "loop " + std::to_string(loopID);
        loopIDs.insert(loopID);
        if (std::binary_search(damaged.begin(), damaged.end(), loopID)) {
            Report(issues, tagPersistIssue::BadValue, tagPersistSeverity::Error, kLoopTable, rowNumber,
                   who + " has an unsound node row; loop skipped");
            continue;
        }
        const std::vector<LoopNodeData> mine = GetNodesOfLoop(nodes, loopID);
        std::vector<IPatternPtr> chain;
        chain.reserve(mine.size());
        for (const LoopNodeData& node : mine) {
            const auto it = byID.find(node.patternID);
            if (it == byID.end()) {
                break;
            }
            chain.push_back(it->second);
        }
        if (chain.size() != mine.size()) {
            Report(issues, tagPersistIssue::MissingPattern, tagPersistSeverity::Error, kLoopTable, rowNumber,
                   who + ": node " + std::to_string(mine[chain.size()].nodeID) + " names pattern " +
                       std::to_string(mine[chain.size()].patternID) +
                       ", which is not in the part; loop skipped");
            continue;
        }
        if (mine.empty()) {
            Report(issues, tagPersistIssue::LoopWithoutNodes, tagPersistSeverity::Warning, kLoopTable,
                   rowNumber, who + " has no node rows; loaded as an empty polygon loop");
        }
        const IPatLoopPtr loop = BuildLoop(chain, mine);
        loop->SetID(loopID);
        const PatLoopNodeListPtr loopNodes = loop->GetLoopNodes();
        loopNodes->SetModified(0);
        for (const PatLoopNodePtr& node : *loopNodes) {
            node->SetModified(0);
        }
        loop->SetModified(0);
        loops->push_back(loop);
    }

    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const LoopNodeData& node = nodes[i];
        const bool firstOfLoop = i == 0 || nodes[i - 1].loopID != node.loopID;
        if (firstOfLoop && loopIDs.count(node.loopID) == 0) {
            Report(
                issues, tagPersistIssue::UnknownLoop, tagPersistSeverity::Warning, kNodeTable, 0,
                "node rows of loop " + std::to_string(node.loopID) + ", which has no loop row, are ignored");
        }
    }

    LoopProcessor::UpdateCache(loops);
    if (!loops->empty()) {
        loops->UpdateBoundaryLoop();
    }
    loops->SetModified(0);
}

std::vector<LoopNodeData> PatLoopLoader::LoadLoopNodesOfPart(const DBConnectPtr& db, PersistIssueList* issues,
                                                             std::vector<DataID>& damagedLoops) {
    std::vector<LoopNodeData> nodes;
    const DBResultPtr result = db->ExecuteQuery("select * from geometry_loopnodeData order by 4;");
    std::int64_t rowNumber = 0;
    for (DBRecordPtr record = db->GetNextRecord(result); record; record = db->GetNextRecord(result)) {
        ++rowNumber;
        const DBFieldList& fields = record->GetDBFieldList();
        if (fields.size() != kNodeColumns) {
            Report(issues, tagPersistIssue::BadRowWidth, tagPersistSeverity::Error, kNodeTable, rowNumber,
                   "has " + std::to_string(fields.size()) + " columns instead of 5; node skipped");
            continue;
        }
        bool sound = true;
        for (const DBFieldPtr& field : fields) {
            sound = sound && field->GetValueType() == tagDBValueType::Integer;
        }
        sound = sound && FitsInt32(fields[3]->GetInt64()) && FitsInt32(fields[4]->GetInt64());
        if (!sound) {
            if (fields[2]->GetValueType() == tagDBValueType::Integer) {
                damagedLoops.push_back(fields[2]->GetInt64());
            }
            Report(issues, tagPersistIssue::BadValue, tagPersistSeverity::Error, kNodeTable, rowNumber,
                   "a column is not an integer or does not fit; node skipped");
            continue;
        }
        LoopNodeData node;
        node.nodeID = fields[0]->GetInt64();
        node.patternID = fields[1]->GetInt64();
        node.loopID = fields[2]->GetInt64();
        node.follow = fields[4]->GetInt32();
        nodes.push_back(node);
    }
    return nodes;
}

std::vector<LoopNodeData> PatLoopLoader::GetNodesOfLoop(const std::vector<LoopNodeData>& nodes,
                                                        DataID loopID) {
    const auto range = std::equal_range(nodes.begin(), nodes.end(), loopID, ByLoop());
    return std::vector<LoopNodeData>(range.first, range.second);
}

}  // namespace Norvane
