#pragma once

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "geomFeature/host/geomkit/Point2D.h"
#include "geomFeature/host/geomkit/Point2DList.h"

namespace Norvane {
namespace testutil {

// A point as a literal that can be pasted back into a test.
inline std::string Literal(const Point2D& p) {
    std::ostringstream os;
    os.precision(17);
    os << "Point2D(" << p.x << ", " << p.y << ")";
    return os.str();
}

inline std::string Literal(const Point2DList& pts) {
    std::string s = "{";
    for (const Point2D& p : pts) {
        s += Literal(p) + " ";
    }
    return s + "}";
}

inline ::testing::AssertionResult PointNear(const Point2D& actual, const Point2D& expected,
                                            double tol = 1e-9) {
    if (std::fabs(actual.x - expected.x) <= tol && std::fabs(actual.y - expected.y) <= tol) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << Literal(actual) << " is not within " << tol << " of " << Literal(expected);
}

// Same points in the same order, each within tol.
inline ::testing::AssertionResult PointsNear(const Point2DList& actual, const std::vector<Point2D>& expected,
                                             double tol = 1e-9) {
    bool ok = actual.size() == expected.size();
    for (std::size_t i = 0; ok && i < expected.size(); ++i) {
        ok = std::fabs(actual[i].x - expected[i].x) <= tol && std::fabs(actual[i].y - expected[i].y) <= tol;
    }
    if (ok) {
        return ::testing::AssertionSuccess();
    }
    Point2DList exp;
    for (const Point2D& p : expected) {
        exp.push_back(p);
    }
    return ::testing::AssertionFailure() << "got " << Literal(actual) << " expected " << Literal(exp);
}

}  // namespace testutil
}  // namespace Norvane
