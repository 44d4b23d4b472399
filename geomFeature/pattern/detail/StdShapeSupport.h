#pragma once

// Small building blocks shared by the standard shapes (circle, ellipse and the hole shapes): sizing and
// turning their base vector, comparing centres, and opening their property lists. Header-only and internal
// to the pattern model.

#include <cmath>

#include "geomFeature/host/appframe/DataPropItem.h"
#include "geomFeature/host/appframe/DataProperty.h"
#include "geomFeature/host/appframe/ResourceString.h"
#include "geomFeature/host/geomkit/Point2D.h"
#include "geomFeature/host/geomkit/Vector2D.h"
#include "geomFeature/pattern/PatternPropID.h"

namespace Norvane::detail {

// (length, 0) turned counter-clockwise by angle: the base vector of a shape of that size and rotation.
inline Vector2D VectorAtAngle(double length, double angle) {
    Vector2D v(length, 0.0);
    v.Rotate(angle);
    return v;
}

// v rescaled to length, keeping its direction. A zero vector has no direction left to keep, so it takes +x:
// a shape whose main dimension was set to zero can be given a size again.
inline Vector2D WithLength(const Vector2D& v, double length) {
    if (v.x == 0.0 && v.y == 0.0) {  // exact: only a truly zero vector has lost its direction
        return Vector2D(length, 0.0);
    }
    Vector2D scaled = v;
    scaled.Magnitude(length);
    return scaled;
}

// v turned a quarter turn counter-clockwise and rescaled to length (a shape's width or flat direction).
inline Vector2D OrthogonalWithLength(const Vector2D& v, double length) {
    return WithLength(v.Orthogonal(), length);
}

// |dx| + |dy|: how the duplicate tests measure the distance between two centres.
inline double ManhattanDistance(const Point2D& a, const Point2D& b) {
    return std::fabs(a.x - b.x) + std::fabs(a.y - b.y);
}

// A property list opened by the title item that names the shape (typeNameResource is its type-name text).
inline DataProperty TitledProperty(int typeNameResource) {
    DataProperty property;
    property.AddProperty(DataPropItem(kPropGroupTitle, kPropItemTitle, ResourceString::Load(typeNameResource)));
    return property;
}

// Appends one editable value item.
inline void AddValueItem(DataProperty& property, int itemId, double value) {
    property.AddProperty(DataPropItem(kPropGroupValues, itemId, value));
}

// Half the angle that a flat at distance toChord from the centre cuts out of a circle of that radius,
// acos(toChord / radius): the flat's ends lie at +-this angle from the direction of its middle. The cosine is
// clamped into [-1, 1] so that a flat at (or, by rounding, just beyond) the circle gives a zero-length flat
// instead of an undefined angle.
inline double FlatHalfAngle(double toChord, double radius) {
    double cosine = toChord / radius;
    if (cosine > 1.0) {
        cosine = 1.0;
    } else if (cosine < -1.0) {
        cosine = -1.0;
    }
    return std::acos(cosine);
}

}  // namespace Norvane::detail
