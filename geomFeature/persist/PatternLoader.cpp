#include "geomFeature/persist/PatternLoader.h"

#include <cstdint>
#include <string>
#include <unordered_map>

#include <boost/make_shared.hpp>

#include "geomFeature/host/datakit/DBConnect.h"
#include "geomFeature/pattern/PatRelation.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/persist/detail/IssueReport.h"
#include "geomFeature/persist/detail/PatternRow.h"

namespace Norvane {

namespace {

constexpr const char* kPatternTable = "geometry_patternData";
constexpr const char* kRelationTable = "geometry_patrelation";
constexpr std::size_t kRelationColumns = 4;

void Skip(PersistIssueList* issues, tagPersistIssue kind, const char* table, std::int64_t row,
          const std::string& message) {
    detail::ReportIssue(issues, kind, tagPersistSeverity::Error, table, row, message);
}

// The first pattern of the list for each identifier, as PatternList::GetPatFromID would answer, built once
// so that each relation row is resolved without a search through the whole list.
std::unordered_map<DataID, IPatternPtr> IndexByID(const PatternList& list) {
    std::unordered_map<DataID, IPatternPtr> byID;
    byID.reserve(list.size());
    for (const IPatternPtr& pattern : list) {
        if (pattern) {
            byID.emplace(pattern->GetID(), pattern);
        }
    }
    return byID;
}

IPatternPtr Find(const std::unordered_map<DataID, IPatternPtr>& byID, DataID id) {
    const auto it = byID.find(id);
    return it == byID.end() ? IPatternPtr() : it->second;
}

}  // namespace

void PatternLoader::LoadPatternList(const DBConnectPtr& db, const PatternListPtr& list) {
    LoadPatternList(db, list, nullptr);
}

void PatternLoader::LoadPatternList(const DBConnectPtr& db, const PatternListPtr& list,
                                    PersistIssueList* issues) {
    const DBResultPtr result = db->ExecuteQuery("select * from geometry_patternData;");
    std::int64_t rowNumber = 0;
    for (DBRecordPtr record = db->GetNextRecord(result); record; record = db->GetNextRecord(result)) {
        ++rowNumber;
        detail::PatternRow row;
        const std::string problem = detail::ReadPatternRecord(*record, row);
        if (!problem.empty()) {
            const tagPersistIssue kind = record->GetDBFieldList().size() == 12 ? tagPersistIssue::BadValue
                                                                               : tagPersistIssue::BadRowWidth;
            Skip(issues, kind, kPatternTable, rowNumber, problem + "; pattern skipped");
            continue;
        }
        const std::string who = "pattern " + std::to_string(row.id);
        if (!detail::IsKnownPatternType(row.type)) {
            Skip(issues, tagPersistIssue::UnknownPatternType, kPatternTable, rowNumber,
                 who + " has unknown type code " + std::to_string(row.type) + "; skipped");
            continue;
        }
        const std::string countProblem = detail::CheckPatternCounts(row);
        if (!countProblem.empty()) {
            Skip(issues, tagPersistIssue::BadValue, kPatternTable, rowNumber,
                 who + ": " + countProblem + "; skipped");
            continue;
        }
        const std::string geometryProblem = detail::CheckPatternGeometry(row);
        if (!geometryProblem.empty()) {
            Skip(issues, tagPersistIssue::BadValue, kPatternTable, rowNumber,
                 who + ": " + geometryProblem + "; skipped");
            continue;
        }
        const IPatternPtr pattern = detail::DecodePatternRow(row);
        // Finite columns can still build a shape that is not (a width ratio divided by a zero radius):
        // what the shape would store again must be finite too.
        if (!detail::IsFiniteRow(detail::EncodePatternRow(pattern))) {
            Skip(issues, tagPersistIssue::BadValue, kPatternTable, rowNumber,
                 who + " gives a shape with non-finite values; skipped");
            continue;
        }
        pattern->SetModified(0);
        list->push_back(pattern);
    }
    LoadPatRelation(db, list, issues);
    list->UpdateCache();
}

void PatternLoader::LoadPatRelation(const DBConnectPtr& db, const PatternListPtr& list,
                                    PersistIssueList* issues) {
    const std::unordered_map<DataID, IPatternPtr> byID = IndexByID(*list);
    const DBResultPtr result = db->ExecuteQuery("select * from geometry_patrelation;");
    std::int64_t rowNumber = 0;
    for (DBRecordPtr record = db->GetNextRecord(result); record; record = db->GetNextRecord(result)) {
        ++rowNumber;
        const DBFieldList& fields = record->GetDBFieldList();
        if (fields.size() != kRelationColumns) {
            Skip(issues, tagPersistIssue::BadRowWidth, kRelationTable, rowNumber,
                 "has " + std::to_string(fields.size()) + " columns instead of 4; relation skipped");
            continue;
        }
        // Column 0, the relation's own identifier, is not read: a loaded relation gets a fresh one.
        bool integers = true;
        for (std::size_t column = 1; column < kRelationColumns; ++column) {
            integers = integers && fields[column]->GetValueType() == tagDBValueType::Integer;
        }
        if (!integers) {
            Skip(issues, tagPersistIssue::BadValue, kRelationTable, rowNumber,
                 "an identifier or the type is not an integer; relation skipped");
            continue;
        }
        const DataID ownerID = fields[1]->GetInt64();
        const DataID targetID = fields[2]->GetInt64();
        const std::int64_t type = fields[3]->GetInt64();
        const IPatternPtr owner = Find(byID, ownerID);
        if (!owner) {
            Skip(issues, tagPersistIssue::MissingPattern, kRelationTable, rowNumber,
                 "owner pattern " + std::to_string(ownerID) + " is not in the part; relation skipped");
            continue;
        }
        if (type != PAT_RELATION_TO_SEED && type != PAT_RELATION_TO_ARRAY) {
            Skip(issues, tagPersistIssue::BadRelation, kRelationTable, rowNumber,
                 "unknown relation type " + std::to_string(type) + "; relation skipped");
            continue;
        }
        const IPatternPtr target = Find(byID, targetID);
        if (type == PAT_RELATION_TO_SEED && target && target->IsArrayPat()) {
            Skip(issues, tagPersistIssue::BadRelation, kRelationTable, rowNumber,
                 "array " + std::to_string(ownerID) + " would repeat array " + std::to_string(targetID) +
                     "; relation skipped");
            continue;
        }
        if (!target && targetID != 0) {
            // Kept as the owner's relation to no pattern, so the owner still knows it had a partner. Target 0
            // is how a relation to no pattern is stored: it loads back as one without complaint, so that a
            // part saved after such a load opens again.
            Skip(issues, tagPersistIssue::MissingPattern, kRelationTable, rowNumber,
                 "related pattern " + std::to_string(targetID) + " is not in the part; pattern " +
                     std::to_string(ownerID) + " keeps a relation to no pattern");
        }
        owner->AddPatRelation(
            boost::make_shared<PatRelation>(ownerID, target, static_cast<tagPatRelationType>(type)));
    }
}

}  // namespace Norvane
