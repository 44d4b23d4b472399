#pragma once

#include <cstddef>
#include <vector>

#include "geomFeature/host/geomkit/Point2D.h"

namespace Norvane {

class IGeom2D;
class Geom2DList;

namespace detail {

// Two element ends closer than this are one joint of a chain: a chain of lines and arcs closes when its last
// element ends this near to where its first element starts. Same value as the module's open/closed test of
// loops.
constexpr double kChainJoinTol = 1e-4;

// Chord tolerance used when the caller passes none (zero, negative or not a number).
constexpr double kDefaultChordTol = 1e-3;

// Upper bound of the chords one arc is split into. Only a huge arc with a tiny tolerance reaches it; then the
// chords are as fine as this allows (a full circle deviates by about 2e-8 of its radius).
constexpr int kMaxArcChords = 1 << 14;

// One element of a chain and the sense in which the chain runs it.
struct ChainStep {
    const IGeom2D* geom = nullptr;
    bool reversed = false;  // the chain runs the element from its end point to its start point
    Point2D start;          // where the chain enters the element
    Point2D end;            // where the chain leaves it
};

// A run of consecutive elements of a list.
struct Chain {
    std::vector<ChainStep> steps;
    bool closed = false;  // the last step ends within kChainJoinTol of where the first one starts
};

// Number of equal chords that keep the sagitta of an arc of that radius and sweep within tol:
// ceil(|sweep| / (2 acos(1 − tol / r))), at least 1 and at most kMaxArcChords. A radius at or below
// kGeomZeroLength, a sweep at or below kGeomAngleTol, or a radius so small that any chord is within tol
// (r <= tol / 2) gives 1. A tol that is not positive falls back to kDefaultChordTol.
int ArcChordCount(double radius, double sweep, double tol);

// The elements taken in list order as one chain. Each element is run in the sense that continues the chain:
// an element whose end point lies strictly nearer to the chain's current end than its start point does is run
// backwards; the first element is oriented towards the second in the same way (ties keep the element's own
// sense). Null elements are skipped. `closed` tells whether the chain returns to its start.
Chain MakeChain(const Geom2DList& geoms);

// The list cut into consecutive chains. A chain ends after the element with which it returns to the start of
// its first element (within kChainJoinTol, and only once the chain is longer than kChainJoinTol, so that a
// zero-length piece never closes a chain by itself; a full circle does). Elements after the last closing form
// one open chain. An empty list gives no chain.
std::vector<Chain> SplitIntoChains(const Geom2DList& geoms);

// Vertices approximating the chain: the start of the first step, then for every step its inner chord points
// (arcs, see ArcChordCount) and its end. Consecutive points equal within kGeomEqualTol are kept once; for a
// closed chain the final point, being the first one again (within kChainJoinTol), is dropped.
std::vector<Point2D> ApproximateChain(const Chain& chain, double tol);

// Exact signed area enclosed by the chain (lines and true arcs, no approximation), positive when it runs
// counter-clockwise. A gap between the last end and the first start is bridged by a straight segment.
double ChainSignedArea(const Chain& chain);

}  // namespace detail
}  // namespace Norvane
