#pragma once

#include "geomFeature/processor/PatConnectType.h"

namespace Norvane {

// How another open polygon loop meets the chain being grown. The values and their actions are those of
// tagPatConnectType (an open loop is joined exactly like a pattern, by its start and end points), so the
// two names denote one enumeration and share its enumerators.
using tagLoopConnectType = tagPatConnectType;

}  // namespace Norvane
