#pragma once

#include <string>
#include <vector>

#include "geomFeature/processor/Part.h"

namespace Norvane {
namespace testplate {

// Everything an import decides, as lines of text that two runs can be compared by: each pattern in list
// order (type, box and every element of its outline, all numbers exact), each loop in list order (kind,
// boundary flag, and per node the place of its pattern in the pattern list and the follow flag), the nesting
// tree (pre-order: depth and place of the loop in the loop list). Identifiers are left out: they are fresh
// in every run.
std::vector<std::string> Fingerprint(const Part& part);

// Empty when the fingerprints are equal, else the first difference (line number, both lines) and the sizes.
std::string FirstDifference(const std::vector<std::string>& expected, const std::vector<std::string>& actual);

}  // namespace testplate
}  // namespace Norvane
