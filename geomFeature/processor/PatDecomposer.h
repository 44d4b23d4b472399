#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/pattern/IArrayPattern.h"
#include "geomFeature/pattern/IPattern.h"

namespace Norvane {

class PatternList;
using PatternListPtr = boost::shared_ptr<PatternList>;

// Breaks patterns into simpler ones: a standard shape into the lines and arcs of its outline, an array
// into one free pattern per copy. The given pattern is never changed, and the pieces are new patterns
// (new identifiers) that belong to no list and whose caches are still empty: the caller refreshes them.
// A class of static members; no state.
class GF_API PatDecomposer {
public:
    PatDecomposer() = delete;

    // One LinePattern per line and one ArcPattern per arc of the pattern's cached outline, in outline
    // order and direction (a circle gives one arc of sweep 2*pi). A pattern whose cache was never filled
    // is read from a freshly computed outline instead. An empty pattern gives an empty list.
    static PatternListPtr DecomposeStdPat(const IPatternPtr& pattern);
    // Every copy of the array, the first included, in copy order: each a clone of the seed carried to
    // its place and detached from the array. A seed that is an array itself is decomposed first, so the
    // result never holds an array. An array without a seed gives an empty list.
    static PatternListPtr DecomposeGridPat(const IArrayPatternPtr& array);
};

}  // namespace Norvane
