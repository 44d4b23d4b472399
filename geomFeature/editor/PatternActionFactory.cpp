#include "geomFeature/editor/PatternActionFactory.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include <boost/make_shared.hpp>

#include "geomFeature/editor/OffsetLoopAction.h"
#include "geomFeature/editor/PatternActionType.h"
#include "geomFeature/editor/PatternSelectAction.h"

namespace Norvane {

namespace {

constexpr int kDrawActionCodes[] = {DRAW_LINE,    DRAW_MULTI_LINE, DRAW_RECT_LINE, DRAW_RECT_HOLE,
                                    DRAW_ARC,     DRAW_ARC_3PT,    DRAW_RC_HOLE,   DRAW_RC_LINE,
                                    DRAW_CIRCLE,  DRAW_ELLIPSE,    DRAW_SINGLE_D,  DRAW_PAT_LINE,
                                    DRAW_TR_HOLE, DRAW_DOUBLE_D,   DRAW_OBROUND,   DRAW_RAD_SLOT,
                                    DRAW_PAT_ARC, DRAW_PAT_CIRCLE, DRAW_PAT_GRID};

}  // namespace

PatternActionFactory* PatternActionFactory::GetInstance() {
    static PatternActionFactory instance;
    return &instance;
}

PatternActionFactory::PatternActionFactory() {
    RegisterBuiltins();
}

// The module's actions by code. Drawing tools and the actions that act on a selection are added here as
// they are written.
void PatternActionFactory::RegisterBuiltins() {
    m_makers[EDIT_SELECT] = [](const PatternActionContext& c) -> IActionPtr {
        return boost::make_shared<PatternSelectAction>(c.patterns, c.loops, c.viewPort);
    };
    m_makers[EDIT_OFFSET_LOOP] = [](const PatternActionContext& c) -> IActionPtr {
        return boost::make_shared<OffsetLoopAction>(c.patterns, c.loops, c.viewPort);
    };
}

IActionPtr PatternActionFactory::Create(int code, const PatternActionContext& context) const {
    const auto it = m_makers.find(code);
    if (it == m_makers.end()) {
        return IActionPtr();
    }
    return it->second(context);
}

PatternActionFactory::Maker PatternActionFactory::SetMaker(int code, Maker maker) {
    Maker previous;
    const auto it = m_makers.find(code);
    if (it != m_makers.end()) {
        previous = std::move(it->second);
        m_makers.erase(it);
    }
    if (maker) {
        m_makers[code] = std::move(maker);
    }
    return previous;
}

int PatternActionFactory::HasMaker(int code) const {
    return m_makers.count(code) != 0 ? 1 : 0;
}

int PatternActionFactory::IsDrawActionCode(int code) {
    return std::find(std::begin(kDrawActionCodes), std::end(kDrawActionCodes), code) !=
                   std::end(kDrawActionCodes)
               ? 1
               : 0;
}

}  // namespace Norvane
