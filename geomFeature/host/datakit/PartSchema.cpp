#include "geomFeature/host/datakit/PartSchema.h"

#include "geomFeature/host/datakit/DBConnect.h"

namespace Norvane {

namespace {

// No primary keys: a plain table hands its rows back in insertion order, which is the order the readers
// rebuild the lists in. An integer primary key on the identifier would sort the rows by identifier.
constexpr const char* kCreateTables =
    "create table if not exists geometry_patternData ("
    "id integer not null, type integer not null, "
    "r0 real not null, r1 real not null, r2 real not null, r3 real not null, "
    "r4 real not null, r5 real not null, r6 real not null, r7 real not null, "
    "i0 integer not null, i1 integer not null);"
    "create table if not exists geometry_patrelation ("
    "id integer not null, parent_id integer not null, pattern_id integer not null, type integer not null);"
    "create table if not exists geometry_loopData (id integer not null);"
    "create table if not exists geometry_loopnodeData ("
    "id integer not null, pattern_id integer not null, loop_id integer not null, "
    "node_index integer not null, follow integer not null);";

struct TableWidth {
    const char* name;
    int columns;
};

constexpr TableWidth kTables[] = {
    {PartSchema::kPatternTable, PartSchema::kPatternColumns},
    {PartSchema::kRelationTable, PartSchema::kRelationColumns},
    {PartSchema::kLoopTable, PartSchema::kLoopColumns},
    {PartSchema::kLoopNodeTable, PartSchema::kLoopNodeColumns},
};

}  // namespace

void PartSchema::CreateMissingTables(DBConnect& db) {
    db.Execute(kCreateTables, 0);
}

std::string PartSchema::FindProblem(DBConnect& db, bool* missingOnly) {
    std::string problem;
    bool onlyMissing = true;
    for (const TableWidth& table : kTables) {
        const int columns = db.GetColumnCount(table.name);
        if (columns == table.columns) {
            continue;
        }
        if (columns >= 0) {
            onlyMissing = false;
        }
        if (problem.empty()) {
            problem = columns < 0 ? "table " + std::string(table.name) + " is missing"
                                  : "table " + std::string(table.name) + " has " + std::to_string(columns) +
                                        " columns instead of " + std::to_string(table.columns);
        }
    }
    if (missingOnly) {
        *missingOnly = !problem.empty() && onlyMissing;
    }
    return problem;
}

}  // namespace Norvane
