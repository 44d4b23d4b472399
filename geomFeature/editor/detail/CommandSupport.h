#pragma once

#include "geomFeature/pattern/PatternList.h"

namespace Norvane {
namespace detail {

// Pieces of an explode computed anew stand for those of the Do before, piece by piece, when there are as
// many (the decomposition is deterministic, so they are the same pieces rebuilt).
void ForwardPieces(const PatternList& before, const PatternList& now);

// A free pattern holding exactly the geometry of `pattern`, for putting it back later with UpdateFrom.
// Clone alone may not do: a circle's clone is built from centre and radius, which drops the direction of
// its base vector; so the clone is given the pattern's reference point and vector as they are.
IPatternPtr GeometryCopy(const IPatternPtr& pattern);
PatternListPtr GeometryCopies(const PatternList& patterns);

}  // namespace detail
}  // namespace Norvane
