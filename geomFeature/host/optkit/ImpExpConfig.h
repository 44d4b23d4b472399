#pragma once

namespace Norvane {

// Settings for importing drawings and for cleaning up imported geometry.
//
// The loop optimisation reads ArcFirst on every polygon loop; the programs that run the optimisation take
// their tolerances from here. The fields are plain values: change them freely while no task runs, or
// publish a whole new set through NVOptionInfo::SetImpExpConfig.
class ImpExpConfig {
public:
    // Non-zero: a polygon loop is first fitted with arcs, then runs of short lines are merged; zero: lines
    // first. Arcs first keeps finely tessellated curves from being flattened into long lines before the
    // arc fit has seen them, which suits imported drawings whose curves arrive as short segments.
    int ArcFirst = 1;
    // The tolerance handed to every loop optimisation step (the bound on how far merged pieces may stray
    // from the original path, and on the squared change of direction that a merged line may absorb).
    double OptimizeTol = 0.001;
    // The second tolerance of the list-wide arc fit: how far a fitted arc may deviate from the pieces it
    // replaces, in drawing units.
    double ArcFitTol = 0.01;
};

}  // namespace Norvane
