#pragma once

#include <vector>

#include <boost/shared_ptr.hpp>

#include "geomFeature/host/appframe/IData.h"
#include "geomFeature/processor/ImportOptions.h"
#include "geomFeature/processor/Part.h"

namespace Norvane {

class IntegerList;
using IntegerListPtr = boost::shared_ptr<IntegerList>;

// The import algorithms exactly as first written: a scan of every candidate for each item, with no index.
// They are the yardstick of the indexed algorithms in the module, which must give the very same results
// (same pattern and loop order, same node order and follow flags, same nesting tree), only faster. Nothing
// here is tuned; keep it that way.
namespace reference {

// Each pattern absorbs every later pattern of its type that duplicates it or continues it; after an
// absorption the scan of the later patterns starts over.
void MergePattern(const PatternListPtr& patterns, double tolerance, std::vector<DataID>& removedIds);

// Chains loose lines and arcs by scanning every free pattern for each joint: an exact joint in list order
// wins at once, otherwise the nearest (ties: the earlier), and the taken pattern is swapped to the front of
// the free ones.
PatLoopListPtr BuildPolyPatLoops(const PatternListPtr& patterns, double tolerance);
PatLoopListPtr BuildPatLoops(const PatternListPtr& patterns, double tolerance);

// Joins open loops, taking for each chain the first free loop (in list order) that meets one of its ends.
PatLoopListPtr BuildClosedLoopByOpenLoop(const PatLoopListPtr& openLoops, double tolerance);

// Inserts every loop into the nesting tree in list order, comparing it with every item of each level it
// visits.
LoopTopItemListPtr CalcLoopTopStruct(const PatLoopListPtr& loops);

// The list operations with their linear searches.
void RemovePatternsEx(PatternList& patterns, const IntegerListPtr& ids);
void RemovePatterns(PatternList& patterns, const PatternListPtr& other);
void DeleteLoopList(PatLoopList& loops, const PatLoopListPtr& doomed);

// The import as the module's ImportPipeline runs it, stage by stage, with the algorithms above where the
// pipeline uses an indexed one. Recognition (PatGrouper) and orientation are the module's own: they have
// no index to compare.
Part RunImport(const PatternListPtr& patterns, const ImportOptions& options);

}  // namespace reference
}  // namespace Norvane
