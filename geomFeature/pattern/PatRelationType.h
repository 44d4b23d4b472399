#pragma once

namespace Norvane {

// Kind of link between an array pattern and the seed pattern it repeats. Both ends hold one relation:
// the array points at its seed, the seed points back at the array that controls it. Stored in the
// relation table, so the values are fixed.
enum tagPatRelationType : int {
    PAT_RELATION_TO_SEED = 100,   // held by an array; its target is the array's seed (control) pattern
    PAT_RELATION_TO_ARRAY = 101,  // held by a seed; its target is the array that controls it
};

}  // namespace Norvane
