#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/loop/PatLoopBase.h"

namespace Norvane {

// A loop made of one array pattern whose every copy is a closed contour: one loop stands for all the
// copies. The loop has exactly one node (the array), given at construction; its follow flag is the sense of
// every copy, counter-clockwise when the copies run in their seed's own sense. An array loop is never the
// part's boundary.
class GF_API ArrayPatLoop : public PatLoopBase {
public:
    // A new loop (new identifier, new cache, not the boundary) whose single node is `node`.
    explicit ArrayPatLoop(const PatLoopNodePtr& node);
    ~ArrayPatLoop() override = default;

    // A new pattern list: the array, then its seed (the seed is left out when the array has none).
    PatternListPtr GetPatternList() override;
    // DIR_CCW when node 0 follows the array, else DIR_CW.
    tagDirection GetDirection() override;
    // Inverts node 0's follow flag; the array and its seed are not touched.
    void ReverseDirection() override;
    // Unit tangent in the sense of travel at pos, read on the seed's cached outline (array positions index
    // the outline of one copy, and every copy is a translation of the seed). patternId may name the array
    // or its seed. The zero vector when it names neither or pos names no element.
    Vector2D GetDirectionOnPt(DataID patternId, const PatPosition& pos) override;
    tagLoopType GetLoopType() const override { return LOOP_ARRAY; }
    // The copies are closed shapes: never open.
    int IsOpenPath(double tolerance) const override;

    // A new loop of a clone of node 0: new node, same array object, same follow flag; boundary flag 0.
    IDataPtr Clone() const override;

private:
    // The seed of the array in node 0, or empty.
    IPatternPtr ControlPattern() const;
};

using ArrayPatLoopPtr = boost::shared_ptr<ArrayPatLoop>;

}  // namespace Norvane
