#pragma once

#include <vector>

#include "geomFeature/pattern/IArrayPattern.h"
#include "geomFeature/pattern/IPattern.h"
#include "geomFeature/pattern/PatRelationList.h"

namespace Norvane {
namespace testutil {

// Links arrays to seeds for a test and unlinks every watched pattern when it goes out of scope, so that a
// test leaves no relation behind. (The seed's link back to its array is weak, so a linked pair is freed
// either way; the guard keeps the tests' set-up in one place.)
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
