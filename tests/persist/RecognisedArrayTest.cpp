// Arrays made by recognition save and load like arrays drawn by hand: the seed stays in the pattern list,
// so the loaded array still has its copies.
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/loop/StdPatLoop.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/IArrayPattern.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/persist/PartFile.h"
#include "geomFeature/processor/PatArrayBuilder.h"
#include "geomFeature/processor/PatDecomposer.h"
#include "tests/persist/PersistTestSupport.h"

namespace Norvane {
namespace {

using Places = std::vector<std::pair<double, double>>;

// The copies' centres of every array in the list, rounded to 1e-6 and sorted.
Places CopyPlaces(const PatternList& patterns) {
    Places places;
    for (const IPatternPtr& p : patterns) {
        if (const auto array = boost::dynamic_pointer_cast<IArrayPattern>(p)) {
            const PatternListPtr copies = PatDecomposer::DecomposeGridPat(array);
            for (const IPatternPtr& c : *copies)
                places.emplace_back(std::round(c->GetBasePoint().x * 1e6),
                                    std::round(c->GetBasePoint().y * 1e6));
        }
    }
    std::sort(places.begin(), places.end());
    return places;
}

TEST(RecognisedArrays, SaveAndLoadWithTheirSeeds) {
    auto patterns = boost::make_shared<PatternList>();
    auto loops = boost::make_shared<PatLoopList>();
    const auto add = [&](double x, double y, double r) {
        auto hole = boost::make_shared<CirclePattern>(Point2D(x, y), r);
        hole->UpdateCache();
        patterns->push_back(hole);
        loops->push_back(boost::make_shared<StdPatLoop>(boost::make_shared<PatLoopNode>(hole, 1)));
    };
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 4; ++j) add(10.0 * j, 8.0 * i, 1.0);  // a 3 x 4 grid
    for (int k = 0; k < 6; ++k)
        add(100 + 20 * std::cos(k * MathEx::PI / 3), 20 * std::sin(k * MathEx::PI / 3), 2.0);  // a ring
    PatArrayBuilder::GridPat(patterns, loops);
    const Places before = CopyPlaces(*patterns);
    ASSERT_EQ(before.size(), 18u);
    ASSERT_EQ(patterns->size(), 4u);  // two arrays, two seeds

    const DBConnectPtr db = persisttest::MemoryPart();
    ASSERT_TRUE(PartFile::Save(db, patterns, loops).IsOk());
    auto loadedPatterns = boost::make_shared<PatternList>();
    auto loadedLoops = boost::make_shared<PatLoopList>();
    ASSERT_TRUE(PartFile::Load(db, loadedPatterns, loadedLoops).IsOk());

    EXPECT_EQ(CopyPlaces(*loadedPatterns), before);
    EXPECT_EQ(loadedPatterns->GetAllCtrlPat()->size(), 2u);
    EXPECT_EQ(loadedLoops->GetPatLoopByType(LOOP_ARRAY)->size(), 2u);
    EXPECT_EQ(loadedLoops->size(), 2u);
}

}  // namespace
}  // namespace Norvane
