#pragma once

namespace Norvane {

// How a piece (a pattern, or another open chain) meets the chain that is being grown, and therefore where
// it goes and in which sense it is run. S, E are the piece's start and end; CS, CE the chain's.
//
//   value                    meets      goes             run
//   CONNECT_START_AT_START   S at CS    in front         reversed (follow 0)
//   CONNECT_START_AT_END     S at CE    after            own sense (follow 1)
//   CONNECT_END_AT_START     E at CS    in front         own sense (follow 1)
//   CONNECT_END_AT_END       E at CE    after            reversed (follow 0)
enum tagPatConnectType : int {
    CONNECT_NONE = -1,  // no end pair within the tolerance
    CONNECT_START_AT_START = 0,
    CONNECT_START_AT_END = 1,
    CONNECT_END_AT_START = 2,
    CONNECT_END_AT_END = 3,
};

// True when the piece goes in front of the chain (it meets the chain's start).
inline bool ConnectsInFront(tagPatConnectType type) {
    return type == CONNECT_START_AT_START || type == CONNECT_END_AT_START;
}

// The follow flag the piece gets: 1 when the chain runs through it from its start to its end.
inline int ConnectFollowFlag(tagPatConnectType type) {
    return (type == CONNECT_START_AT_END || type == CONNECT_END_AT_START) ? 1 : 0;
}

}  // namespace Norvane
