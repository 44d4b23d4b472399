#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/loop/PatLoopBase.h"

namespace Norvane {

// A loop made of one standard shape (a circle, an ellipse or a hole shape), which closes by itself. The loop
// has exactly one node, given at construction; its follow flag is the loop's sense: a shape run in its own
// (counter-clockwise) sense makes a counter-clockwise loop.
class GF_API StdPatLoop : public PatLoopBase {
public:
    // A new loop (new identifier, new cache, not the boundary) whose single node is `node`.
    explicit StdPatLoop(const PatLoopNodePtr& node);
    ~StdPatLoop() override = default;

    // DIR_CCW when node 0 follows its shape, else DIR_CW.
    tagDirection GetDirection() override;
    // Inverts node 0's follow flag; the shape itself is not touched.
    void ReverseDirection() override;
    // Unit tangent in the sense of travel at pos on the shape's cached outline; the zero vector when
    // patternId is not the shape's or pos names no element of the outline.
    Vector2D GetDirectionOnPt(DataID patternId, const PatPosition& pos) override;
    tagLoopType GetLoopType() const override { return LOOP_STD; }
    // A standard shape is always closed.
    int IsOpenPath(double tolerance) const override;

    // A new loop of a clone of node 0: new node, same shape object, same follow flag; boundary flag 0.
    IDataPtr Clone() const override;
};

using StdPatLoopPtr = boost::shared_ptr<StdPatLoop>;

}  // namespace Norvane
