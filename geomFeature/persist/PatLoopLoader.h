#pragma once

#include <vector>

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/host/appframe/IData.h"
#include "geomFeature/persist/LoopNodeData.h"
#include "geomFeature/persist/PersistIssue.h"

namespace Norvane {

class DBConnect;
class PatternList;
class PatLoopList;
using DBConnectPtr = boost::shared_ptr<DBConnect>;
using PatternListPtr = boost::shared_ptr<PatternList>;
using PatLoopListPtr = boost::shared_ptr<PatLoopList>;

// Reads a part's loops back from the part database, after its patterns (PatternLoader).
//
// Loops come in the order of their rows and keep their stored identifiers; their nodes are rebuilt in
// node-index order with the stored follow flags (and fresh node identifiers). The kind is derived again:
// one node on a standard shape makes a StdPatLoop, one node on an array an ArrayPatLoop, anything else a
// PolyPatLoop. Afterwards every loop's cache is rebuilt, the boundary loop is chosen again, and all
// modified flags are cleared.
//
// Findings (debug log, and the issue list when one is given):
// - a node row of the wrong width, or with a column that is no integer (or a position or flag beyond 32
//   bits): the row is skipped (error), and so is the loop it names, which would miss a node;
// - a node naming a pattern that was not loaded: the whole loop is skipped (error), since a chain with a
//   piece missing, or a node without a pattern, is not the loop that was saved;
// - a loop row of the wrong width or without an integer identifier: skipped (error);
// - a loop row without node rows: loaded as an empty PolyPatLoop (warning);
// - node rows of a loop that has no loop row: ignored (warning).
class GF_API PatLoopLoader {
public:
    // Appends the stored loops to loops; patterns is the part's pattern list, already loaded.
    static void LoadPatLoops(const DBConnectPtr& db, const PatternListPtr& patterns,
                             const PatLoopListPtr& loops);
    // The same, also appending every finding to issues when it is not null.
    static void LoadPatLoops(const DBConnectPtr& db, const PatternListPtr& patterns,
                             const PatLoopListPtr& loops, PersistIssueList* issues);

private:
    // Every sound node row, in node-index order over all loops. Loops with unsound rows are added to
    // damagedLoops.
    static std::vector<LoopNodeData> LoadLoopNodesOfPart(const DBConnectPtr& db, PersistIssueList* issues,
                                                         std::vector<DataID>& damagedLoops);
    // The entries of nodes whose loop is loopID, in the order they stand in nodes. nodes must be sorted by
    // loop identifier (stably, so that each loop's entries keep node-index order): the entries of a loop
    // are then found by bisection rather than by a scan of every node of the part, which would make a
    // load quadratic in the number of loops.
    static std::vector<LoopNodeData> GetNodesOfLoop(const std::vector<LoopNodeData>& nodes, DataID loopID);
};

}  // namespace Norvane
