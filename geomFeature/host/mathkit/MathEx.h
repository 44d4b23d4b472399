#pragma once

#include "geomFeature/host/geomkit/Point2D.h"

namespace Norvane {

// Elementary angle and point routines. Angles are radians, counter-clockwise from +x.
class MathEx {
public:
    static constexpr double PI = 3.14159265358979323846;
    static constexpr double PI2 = 2 * PI;

    // Direction from (x1, y1) to (x2, y2), in [0, 2π). Coincident points answer 0.
    static double GetAngle(double x1, double y1, double x2, double y2);
    static double GetAngle(const Point2D& from, const Point2D& to);
    // The equivalent angle in (−π, π]. An angle within tol of the half turn (from either side, so also within
    // tol of −π) answers exactly π.
    static double GetSignedAng(double a, double tol);
    // A sweep reduced by whole turns into (−2π, 2π), sign kept: 5π/2 → π/2, −5π/2 → −π/2. A nonzero sweep
    // within tol of a whole number of turns (2π, 4π, ... or 2π − tol) answers exactly ±2π, so a full turn
    // never collapses into an empty sweep; |m| <= tol is returned as it is.
    static double GetSignedAngEx(double m, double tol);
    // The equivalent angle in [0, 2π); within tol below 2π (also a tiny negative angle) answers 0.
    static double GetUnsignedAng(double a, double tol);
    // 1 when direction `ang` lies on the sweep from `start` (counter-clockwise for a positive sweep,
    // clockwise for a negative one), both ends included within tol (radians, non-strict). A sweep of a full
    // turn or more (within tol) contains every direction; a zero sweep only its start (within tol).
    static int CheckAngleRange(double ang, double start, double sweep, double tol);
    // Centre of the circle arc that runs from s to e with the signed sweep (positive counter-clockwise). The
    // centre lies left of the chord s→e for sweeps in (0, π), on it for ±π, right of it for (π, 2π), and
    // mirrored for negative sweeps. Undefined cases (zero sweep, a whole turn, coincident points) answer the
    // chord's midpoint.
    static Point2D GetArcCenter(double sx, double sy, double ex, double ey, double sweep);
    // The arc that starts at p1, passes through p2 and ends at p3: centre, radius (distance from the centre
    // to p1), base angle (direction of p1, in [0, 2π)) and signed sweep (positive counter-clockwise, |sweep|
    // < 2π). Collinear points (p2 within kGeomEqualTol of the line p1p3) or coincident points answer radius 0
    // with centre (0, 0) and both angles 0.
    static void GetArcFrom3Point(const Point2D& p1, const Point2D& p2, const Point2D& p3, Point2D& centre,
                                 double& radius, double& baseAngle, double& sweep);
    // Rotates (x, y) counter-clockwise by angle about (cx, cy).
    static void RotatePoint(double x, double y, double cx, double cy, double angle, double& xOut,
                            double& yOut);
    // 1 when both coordinates agree within kGeomEqualTol (non-strict).
    static int PointEqual(double x1, double y1, double x2, double y2);
    // 1 when |a − b| <= tol (non-strict).
    static int EqualA(double a, double b, double tol);
};

}  // namespace Norvane
