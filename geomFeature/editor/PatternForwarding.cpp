#include "geomFeature/editor/PatternForwarding.h"

#include <cstddef>
#include <unordered_map>

#include <boost/weak_ptr.hpp>

#include "geomFeature/pattern/PatternList.h"

namespace Norvane {

namespace {

// Which pattern replaced the one with a given identifier. The chain is followed by identifier, so it holds
// even when a pattern in its middle no longer exists (a piece rebuilt by one redo and replaced by the next).
struct Replacement {
    DataID id;
    boost::weak_ptr<IPattern> pattern;
};

struct Registry {
    // Keyed by identifier: identifiers are never reused within a process, addresses are.
    std::unordered_map<DataID, Replacement> forward;
    std::size_t sizeAtLastPrune = 0;
};

Registry& GetRegistry() {
    static Registry registry;
    return registry;
}

// Once the registry has doubled since the last time: drops the entries that lead only to patterns that
// are gone (the replacement is gone and was not replaced itself), until none is left.
void PruneIfGrown(Registry& registry) {
    if (registry.forward.size() < 2 * registry.sizeAtLastPrune + 64) {
        return;
    }
    for (std::size_t before = 0; before != registry.forward.size();) {
        before = registry.forward.size();
        std::erase_if(registry.forward, [&registry](const auto& entry) {
            return entry.second.pattern.expired() && registry.forward.count(entry.second.id) == 0;
        });
    }
    registry.sizeAtLastPrune = registry.forward.size();
}

}  // namespace

void PatternForwarding::Forward(const IPatternPtr& original, const IPatternPtr& replacement) {
    if (!original || !replacement || original == replacement) {
        return;
    }
    Registry& registry = GetRegistry();
    registry.forward[original->GetID()] = Replacement{replacement->GetID(), replacement};
    PruneIfGrown(registry);
}

// The latest pattern of the chain that still exists.
IPatternPtr PatternForwarding::Resolve(const IPatternPtr& pattern) {
    if (!pattern) {
        return pattern;
    }
    IPatternPtr latest = pattern;
    const Registry& registry = GetRegistry();
    DataID id = pattern->GetID();
    // Each step leads to a pattern built after the one before, so the chain cannot loop; the bound only
    // guards against a registry that was fed nonsense.
    for (std::size_t steps = 0; steps <= registry.forward.size(); ++steps) {
        const auto it = registry.forward.find(id);
        if (it == registry.forward.end()) {
            break;
        }
        if (const IPatternPtr next = it->second.pattern.lock()) {
            latest = next;
        }
        id = it->second.id;
    }
    return latest;
}

void PatternForwarding::ResolveList(PatternList& patterns) {
    if (GetRegistry().forward.empty()) {
        return;
    }
    for (IPatternPtr& pattern : patterns) {
        pattern = Resolve(pattern);
    }
}

void PatternForwarding::Clear() {
    GetRegistry().forward.clear();
    GetRegistry().sizeAtLastPrune = 0;
}

}  // namespace Norvane
