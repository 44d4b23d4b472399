#pragma once

#include <string>

namespace Norvane {

class DBConnect;

// The tables of a part database: the patterns and their relations, the loops and their nodes. The
// module's readers address columns by position only, so the column names here are for people reading
// the file with other tools; the order and the count of the columns are what matter.
class PartSchema {
public:
    static constexpr const char* kPatternTable = "geometry_patternData";
    static constexpr const char* kRelationTable = "geometry_patrelation";
    static constexpr const char* kLoopTable = "geometry_loopData";
    static constexpr const char* kLoopNodeTable = "geometry_loopnodeData";
    static constexpr int kPatternColumns = 12;
    static constexpr int kRelationColumns = 4;
    static constexpr int kLoopColumns = 1;
    static constexpr int kLoopNodeColumns = 5;

    // Creates whichever of the four tables is missing; existing tables are left as they are.
    static void CreateMissingTables(DBConnect& db);
    // A message naming the first table that is missing or has the wrong number of columns; empty when the
    // four tables are all there with their widths. missingOnly is set when every problem is a missing
    // table (an empty or foreign database rather than a damaged part).
    static std::string FindProblem(DBConnect& db, bool* missingOnly = nullptr);
};

}  // namespace Norvane
