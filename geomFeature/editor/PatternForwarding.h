#pragma once

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/pattern/IPattern.h"

namespace Norvane {

class PatternList;

// Which pattern stands for which after a redo rebuilt some of them.
//
// Exploding computes its pieces afresh every time it is done, so redoing an explode puts new piece objects
// into the part. Commands recorded later (a move of a piece, its deletion) still hold the pieces of the
// first explode; each rebuilt piece is therefore registered as standing for the piece it replaces, and
// every command resolves the patterns it holds before it acts. Chains are followed (a piece rebuilt twice);
// a replacement that no longer exists ends the chain. Replacements are held weakly: the registry keeps
// nothing alive. Used on the user-interface thread.
class GF_API PatternForwarding {
public:
    PatternForwarding() = delete;

    // From now on `replacement` stands for `original`.
    static void Forward(const IPatternPtr& original, const IPatternPtr& replacement);
    // The pattern standing for `pattern` now (itself when it was never replaced; empty for empty).
    static IPatternPtr Resolve(const IPatternPtr& pattern);
    // Resolves every entry of the list in place.
    static void ResolveList(PatternList& patterns);
    // Forgets every replacement (a part was closed).
    static void Clear();
};

}  // namespace Norvane
