#pragma once

// Fingerprints of a pattern outline (a chain of Line2D / Arc2D elements) for the shape tests: whether the
// chain closes, its signed area, its box, and whether two outlines cover the same curve.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <sstream>
#include <string>

#include <boost/pointer_cast.hpp>
#include <gtest/gtest.h>

#include "geomFeature/host/geomkit/Arc2D.h"
#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/Rect2D.h"
#include "tests/support/GeomExpect.h"

namespace Norvane {
namespace testutil {

inline std::string Literal(const Rect2D& r) {
    std::ostringstream os;
    os.precision(17);
    os << "Rect2D(" << r.left << ", " << r.right << ", " << r.bottom << ", " << r.top << ")";
    return os.str();
}

// Each element starts within tol of where the previous one ends, and the last ends where the first starts.
inline ::testing::AssertionResult ChainCloses(const Geom2DList& chain, double tol) {
    if (chain.empty()) {
        return ::testing::AssertionFailure() << "empty outline";
    }
    for (std::size_t i = 0; i < chain.size(); ++i) {
        const Point2D end = chain[i]->GetEndPoint();
        const Point2D next = chain[(i + 1) % chain.size()]->GetStartPoint();
        if (end.DistanceTo(next) > tol) {
            return ::testing::AssertionFailure() << "element " << i << " ends at " << Literal(end)
                                                 << " but element " << (i + 1) % chain.size() << " starts at "
                                                 << Literal(next);
        }
    }
    return ::testing::AssertionSuccess();
}

// Signed area enclosed by a closed chain (positive when counter-clockwise): the polygon of the element
// ends by the shoelace formula, plus for every arc the circular segment between its chord and the arc,
// r^2/2 (s - sin s), signed with its sweep s.
inline double ChainSignedArea(const Geom2DList& chain) {
    double area = 0.0;
    for (const IGeom2DPtr& g : chain) {
        const Point2D a = g->GetStartPoint();
        const Point2D b = g->GetEndPoint();
        area += 0.5 * (a.x * b.y - b.x * a.y);
        if (const auto arc = boost::dynamic_pointer_cast<Arc2D>(g)) {
            const double r = arc->GetRadius();
            const double s = arc->GetSweepAngle();
            area += 0.5 * r * r * (s - std::sin(s));
        }
    }
    return area;
}

inline double DistanceToChain(const Geom2DList& chain, const Point2D& p) {
    double best = std::numeric_limits<double>::infinity();
    for (const IGeom2DPtr& g : chain) {
        best = std::min(best, g->DistanceTo(p));
    }
    return best;
}

// Every sample point of one chain (each element at fractions 0, 1/4, 1/2, 3/4) lies within tol of the
// other chain, both ways: the two outlines trace the same curve, whatever their element order or direction.
inline ::testing::AssertionResult SameCurve(const Geom2DList& actual, const Geom2DList& expected, double tol) {
    const auto oneWay = [tol](const Geom2DList& from, const Geom2DList& to, const char* what,
                              std::string& message) {
        for (std::size_t i = 0; i < from.size(); ++i) {
            for (double f : {0.0, 0.25, 0.5, 0.75}) {
                const Point2D p = from[i]->GetPointAtPercent(f);
                const double d = DistanceToChain(to, p);
                if (!(d <= tol)) {
                    std::ostringstream os;
                    os << what << " element " << i << " at " << f << ", " << Literal(p) << ", is " << d
                       << " away from the other outline";
                    message = os.str();
                    return false;
                }
            }
        }
        return true;
    };
    std::string message;
    if (!oneWay(actual, expected, "actual", message) || !oneWay(expected, actual, "expected", message)) {
        return ::testing::AssertionFailure() << message;
    }
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult BoxNear(const Rect2D& actual, const Rect2D& expected, double tol) {
    if (std::fabs(actual.left - expected.left) <= tol && std::fabs(actual.right - expected.right) <= tol &&
        std::fabs(actual.bottom - expected.bottom) <= tol && std::fabs(actual.top - expected.top) <= tol) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "box " << Literal(actual) << " expected " << Literal(expected)
                                         << " within " << tol;
}

}  // namespace testutil
}  // namespace Norvane
