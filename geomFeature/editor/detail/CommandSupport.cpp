#include "geomFeature/editor/detail/CommandSupport.h"

#include <cstddef>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/editor/PatternForwarding.h"

namespace Norvane {
namespace detail {

void ForwardPieces(const PatternList& before, const PatternList& now) {
    if (before.size() != now.size()) {
        return;
    }
    for (std::size_t i = 0; i < now.size(); ++i) {
        PatternForwarding::Forward(before[i], now[i]);
    }
}

IPatternPtr GeometryCopy(const IPatternPtr& pattern) {
    if (!pattern) {
        return IPatternPtr();
    }
    const IPatternPtr copy = boost::dynamic_pointer_cast<IPattern>(pattern->Clone());
    if (copy) {
        copy->SetBasePoint(pattern->GetBasePoint());
        copy->SetBaseVector(pattern->GetBaseVector());
    }
    return copy;
}

PatternListPtr GeometryCopies(const PatternList& patterns) {
    auto copies = boost::make_shared<PatternList>();
    for (const IPatternPtr& pattern : patterns) {
        copies->push_back(GeometryCopy(pattern));
    }
    return copies;
}

}  // namespace detail
}  // namespace Norvane
