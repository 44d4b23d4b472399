#pragma once

#include <vector>

#include "geomFeature/pattern/IArrayPattern.h"
#include "geomFeature/pattern/IPattern.h"
#include "geomFeature/pattern/PatRelationList.h"

namespace Norvane {
namespace testutil {

// An array and its seed point at each other through relations that hold shared pointers, so a linked
// pair keeps itself alive after the test lets go of it. A test that links patterns holds one guard; when
// the guard goes out of scope it clears the relations of every pattern it watched, which cuts those
// cycles, and the leak checker then reports only real leaks.
class SeedLinkGuard {
public:
    SeedLinkGuard() = default;
    SeedLinkGuard(const SeedLinkGuard&) = delete;
    SeedLinkGuard& operator=(const SeedLinkGuard&) = delete;
    ~SeedLinkGuard() {
        for (const IPatternPtr& pattern : m_watched) {
            pattern->GetPatRelationList()->Clear();
        }
    }

    // Makes seed the control pattern of array, links the seed back to the array, fills the array's cache
    // and watches both.
    IArrayPatternPtr Link(const IArrayPatternPtr& array, const IPatternPtr& seed) {
        array->SetControlPat(seed);
        seed->SetBeControlPat(array);
        array->UpdateCache();
        Watch(array);
        Watch(seed);
        return array;
    }

    // Watches a pattern linked some other way (a clone, a copied list).
    void Watch(const IPatternPtr& pattern) {
        if (pattern) {
            m_watched.push_back(pattern);
        }
    }

private:
    std::vector<IPatternPtr> m_watched;
};

}  // namespace testutil
}  // namespace Norvane
