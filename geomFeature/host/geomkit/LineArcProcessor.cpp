#include "geomFeature/host/geomkit/LineArcProcessor.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <optional>
#include <vector>

#include <boost/make_shared.hpp>

#include "geomFeature/host/geomkit/Arc2D.h"
#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/GeomTolerance.h"
#include "geomFeature/host/geomkit/Point2DList.h"
#include "geomFeature/host/geomkit/detail/LineArcChain.h"
#include "geomFeature/host/mathkit/MathEx.h"

namespace Norvane {

namespace {

// Iteration cap of the Gauss-Newton refinements; they converge in a handful of steps on points near a circle.
constexpr int kFitMaxIterations = 50;

// A refinement step shorter than this fraction of the points' spread ends the iteration.
constexpr double kFitStepRelTol = 1e-14;

struct Circle {
    Point2D centre;
    double radius = 0;
};

double SquaredResidualSum(const std::vector<Point2D>& pts, const Circle& c) {
    double sum = 0;
    for (const Point2D& p : pts) {
        const double d = p.DistanceTo(c.centre) - c.radius;
        sum += d * d;
    }
    return sum;
}

// Solves the 3×3 system a·x = b by Gaussian elimination with partial pivoting; nothing when it is singular.
std::optional<std::array<double, 3>> Solve3(std::array<std::array<double, 3>, 3> a, std::array<double, 3> b) {
    for (int col = 0; col < 3; ++col) {
        int pivot = col;
        for (int row = col + 1; row < 3; ++row) {
            if (std::fabs(a[row][col]) > std::fabs(a[pivot][col])) {
                pivot = row;
            }
        }
        if (!(std::fabs(a[pivot][col]) > 0)) {
            return std::nullopt;
        }
        std::swap(a[col], a[pivot]);
        std::swap(b[col], b[pivot]);
        for (int row = col + 1; row < 3; ++row) {
            const double f = a[row][col] / a[col][col];
            for (int k = col; k < 3; ++k) {
                a[row][k] -= f * a[col][k];
            }
            b[row] -= f * b[col];
        }
    }
    std::array<double, 3> x{};
    for (int row = 2; row >= 0; --row) {
        double s = b[row];
        for (int k = row + 1; k < 3; ++k) {
            s -= a[row][k] * x[k];
        }
        x[row] = s / a[row][row];
    }
    return x;
}

// Algebraic fit: the circle x² + y² + Dx + Ey + F = 0 that minimises the summed squared algebraic residuals,
// computed on points moved to their mean and scaled to unit spread for conditioning.
std::optional<Circle> KasaFit(const std::vector<Point2D>& pts, double spread) {
    double mx = 0;
    double my = 0;
    for (const Point2D& p : pts) {
        mx += p.x;
        my += p.y;
    }
    mx /= static_cast<double>(pts.size());
    my /= static_cast<double>(pts.size());
    std::array<std::array<double, 3>, 3> m{};
    std::array<double, 3> rhs{};
    for (const Point2D& p : pts) {
        const double u = (p.x - mx) / spread;
        const double v = (p.y - my) / spread;
        const double z = u * u + v * v;
        const std::array<double, 3> row{u, v, 1.0};
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j) {
                m[i][j] += row[i] * row[j];
            }
            rhs[i] -= row[i] * z;
        }
    }
    const auto def = Solve3(m, rhs);
    if (!def) {
        return std::nullopt;
    }
    const double cu = -(*def)[0] / 2;
    const double cv = -(*def)[1] / 2;
    const double r2 = cu * cu + cv * cv - (*def)[2];
    if (!(r2 > 0) || !std::isfinite(r2)) {
        return std::nullopt;
    }
    return Circle{Point2D(mx + cu * spread, my + cv * spread), std::sqrt(r2) * spread};
}

// Gauss-Newton on the geometric residuals d_i = |p_i − c| − r over (cx, cy, r); a step is kept only when it
// lowers the residual sum, so the result is never worse than the start.
Circle RefineFree(const std::vector<Point2D>& pts, Circle c, double spread) {
    double sse = SquaredResidualSum(pts, c);
    for (int it = 0; it < kFitMaxIterations; ++it) {
        std::array<std::array<double, 3>, 3> jtj{};
        std::array<double, 3> jtd{};
        for (const Point2D& p : pts) {
            const double rho = p.DistanceTo(c.centre);
            if (!(rho > kGeomZeroLength)) {
                continue;  // a point at the centre has no radial direction
            }
            const std::array<double, 3> j{-(p.x - c.centre.x) / rho, -(p.y - c.centre.y) / rho, -1.0};
            const double d = rho - c.radius;
            for (int a = 0; a < 3; ++a) {
                for (int b = 0; b < 3; ++b) {
                    jtj[a][b] += j[a] * j[b];
                }
                jtd[a] -= j[a] * d;
            }
        }
        const auto step = Solve3(jtj, jtd);
        if (!step) {
            break;
        }
        const Circle next{Point2D(c.centre.x + (*step)[0], c.centre.y + (*step)[1]), c.radius + (*step)[2]};
        const double nextSse = SquaredResidualSum(pts, next);
        if (!(next.radius > 0) || !(nextSse < sse)) {
            break;
        }
        c = next;
        sse = nextSse;
        if (std::hypot((*step)[0], (*step)[1]) + std::fabs((*step)[2]) <= kFitStepRelTol * spread) {
            break;
        }
    }
    return c;
}

// The circle through a and b (distinct) that best fits the points: centre m + t·n on the bisector, radius
// sqrt(h² + t²). The algebraic residual |p − c|² − r² = |p − m|² − h² − 2t n·(p − m) is linear in t, which
// gives the start; Gauss-Newton in t on the geometric residuals refines it.
std::optional<Circle> PinnedFit(const std::vector<Point2D>& pts, const Point2D& a, const Point2D& b,
                                double spread) {
    const Point2D m((a.x + b.x) / 2, (a.y + b.y) / 2);
    const Vector2D n = Vector2D(a, b).Orthogonal().GetUnit();
    const double h = a.DistanceTo(b) / 2;
    double num = 0;
    double den = 0;
    for (const Point2D& p : pts) {
        const Vector2D q(m, p);
        const double lin = 2 * n.DotProduct(q);
        num += (q.DotProduct(q) - h * h) * lin;
        den += lin * lin;
    }
    if (!(den > 0)) {
        return std::nullopt;
    }
    auto circleAt = [&](double t) { return Circle{m + n * t, std::sqrt(h * h + t * t)}; };
    double t = num / den;
    Circle c = circleAt(t);
    double sse = SquaredResidualSum(pts, c);
    for (int it = 0; it < kFitMaxIterations; ++it) {
        double jj = 0;
        double jd = 0;
        for (const Point2D& p : pts) {
            const double rho = p.DistanceTo(c.centre);
            if (!(rho > kGeomZeroLength)) {
                continue;
            }
            // d/dt (|p − c(t)| − r(t)) = −n·(p − c)/|p − c| − t/r
            const double j = -n.DotProduct(Vector2D(c.centre, p)) / rho - t / c.radius;
            jj += j * j;
            jd -= j * (rho - c.radius);
        }
        if (!(jj > 0)) {
            break;
        }
        const double dt = jd / jj;
        const Circle next = circleAt(t + dt);
        const double nextSse = SquaredResidualSum(pts, next);
        if (!(nextSse < sse)) {
            break;
        }
        t += dt;
        c = next;
        sse = nextSse;
        if (std::fabs(dt) <= kFitStepRelTol * spread) {
            break;
        }
    }
    if (!std::isfinite(c.radius) || !std::isfinite(c.centre.x) || !std::isfinite(c.centre.y)) {
        return std::nullopt;
    }
    return c;
}

// True when every point lies within kGeomEqualTol of one line (or all coincide). The line runs from the first
// point to the point farthest from it.
bool AllCollinear(const std::vector<Point2D>& pts, double& spread) {
    std::size_t far = 0;
    spread = 0;
    for (std::size_t i = 1; i < pts.size(); ++i) {
        const double d = pts[0].DistanceTo(pts[i]);
        if (d > spread) {
            spread = d;
            far = i;
        }
    }
    if (!(spread > kGeomZeroLength)) {
        return true;
    }
    const Vector2D dir = Vector2D(pts[0], pts[far]) / spread;
    for (const Point2D& p : pts) {
        if (std::fabs(dir.CrossProduct(Vector2D(pts[0], p))) >
            kGeomEqualTol) {  // strict: within tol is on the line
            return false;
        }
    }
    return true;
}

}  // namespace

double LineArcProcessor::GetSignedArea(const Geom2DList& geoms) {
    return detail::ChainSignedArea(detail::MakeChain(geoms));
}

void LineArcProcessor::AdjustLoopToCCW(Geom2DList& geoms) {
    if (!(GetSignedArea(geoms) < 0)) {
        return;  // counter-clockwise, flat or empty
    }
    std::reverse(geoms.begin(), geoms.end());
    for (IGeom2DPtr& g : geoms) {
        if (g) {
            IGeom2DPtr copy = g->Clone();
            copy->Reverse();
            g = copy;
        }
    }
}

boost::shared_ptr<Arc2D> LineArcProcessor::BuildPts2Arc(const Point2DList& pts, double& deviation, int flag) {
    deviation = 0;
    if (pts.size() < 3) {
        return {};
    }
    const std::vector<Point2D>& p = pts.GetPoints();
    double spread = 0;
    if (AllCollinear(p, spread)) {
        return {};
    }
    const Point2D& first = p.front();
    const Point2D& last = p.back();
    const bool closedRun = first.IsEqual(last, kGeomEqualTol) != 0;

    std::optional<Circle> fit;
    if (flag != 0 && !closedRun) {
        fit = PinnedFit(p, first, last, spread);
    } else {
        fit = KasaFit(p, spread);
        if (fit) {
            fit = RefineFree(p, *fit, spread);
            if (flag != 0) {
                fit->radius = first.DistanceTo(fit->centre);  // the circle through the first (= last) point
            }
        }
    }
    if (!fit || !(fit->radius > kGeomZeroLength) || !std::isfinite(fit->radius)) {
        return {};
    }

    // Sense: points in order along an arc form a convex polygon turning the same way as the arc.
    double twiceArea = 0;
    for (std::size_t i = 1; i + 1 < p.size(); ++i) {
        twiceArea += Vector2D(first, p[i]).CrossProduct(Vector2D(first, p[i + 1]));
    }
    const double sense = twiceArea < 0 ? -1.0 : 1.0;  // a flat (zero) turn counts as counter-clockwise

    const double a0 = MathEx::GetAngle(fit->centre, first);
    const double a1 = MathEx::GetAngle(fit->centre, last);
    double sweep = MathEx::GetUnsignedAng(sense * (a1 - a0), kGeomAngleTol);
    if (closedRun || sweep == 0) {  // exact: GetUnsignedAng snaps a near full turn to 0
        sweep = MathEx::PI2;
    }

    for (const Point2D& q : p) {
        deviation = std::max(deviation, std::fabs(q.DistanceTo(fit->centre) - fit->radius));
    }
    return boost::make_shared<Arc2D>(fit->centre, fit->radius, a0, sense * sweep);
}

}  // namespace Norvane
