#pragma once

#include "geomFeature/pattern/IPattern.h"

namespace Norvane {
namespace detail {

// Whether a pattern's geometry is sound enough to be put into a part by an edit: every value finite, every
// size (length, radius, width, spacing) above kShapeMinSize, every sweep or angle step above
// kShapeMinAngle, and the proportions each kind needs:
// - an ellipse is drawn with 2 to 10000 arcs;
// - a rounded rectangle's corners fit (radius at most half the smaller side);
// - a D shape's flat cuts its circle (|distance to the flat| below the radius; a double D's flats apart);
// - a radius slot is narrower than its centre line's diameter and sweeps less than a full turn;
// - an arc array's copies do not come round onto the first one;
// - an array has 2 to kMaxArrayCopies copies (a grid counts rows times columns).
// The drawing tools ignore a click that would build a shape that is not sound, the grips keep the last
// sound shape, and the property bar refuses a value that would give one.
bool IsSoundShape(const IPattern& pattern);

}  // namespace detail
}  // namespace Norvane
