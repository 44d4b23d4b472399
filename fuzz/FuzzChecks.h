#pragma once

// What every fuzz harness checks beyond "no crash, no sanitizer report": facts about the results that
// must hold for any input. A broken fact stops the run like a crash, so libFuzzer keeps the input.

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "geomFeature/pattern/PatternCache.h"
#include "geomFeature/pattern/PatternList.h"

namespace Norvane::fuzz {

// Patterns may reach a few times the kernel's range (a circle of radius 1e8 centred at 1e8), never more.
constexpr double kMaxBoxCoordinate = 1e9;

[[noreturn]] inline void Broken(const char* fact) {
    std::fprintf(stderr, "broken fact: %s\n", fact);
    std::abort();
}

inline void Require(bool fact, const char* text) {
    if (!fact) {
        Broken(text);
    }
}

// Every pattern has a cache whose box is finite and within kMaxBoxCoordinate.
inline void RequireSaneBoxes(const PatternList& patterns) {
    for (const IPatternPtr& pattern : patterns) {
        Require(pattern != nullptr, "a pattern is null");
        const PatternCachePtr cache = pattern->GetCacheData();
        Require(cache != nullptr, "a pattern has no cache");
        const Rect2D& box = cache->GetRect();
        for (const double v : {box.left, box.right, box.bottom, box.top}) {
            Require(std::fabs(v) <= kMaxBoxCoordinate, "a pattern's box is not finite or beyond the range");
        }
    }
}

}  // namespace Norvane::fuzz
