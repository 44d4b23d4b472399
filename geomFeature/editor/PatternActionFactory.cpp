#include "geomFeature/editor/PatternActionFactory.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include <boost/make_shared.hpp>

#include "geomFeature/editor/Arc3PtPatEditor.h"
#include "geomFeature/editor/ArcPatternEditor.h"
#include "geomFeature/editor/CirclePatternEditor.h"
#include "geomFeature/editor/DoubleDPatternEditor.h"
#include "geomFeature/editor/EllipsePatternEditor.h"
#include "geomFeature/editor/ExplodePatAction.h"
#include "geomFeature/editor/LinePatternEditor.h"
#include "geomFeature/editor/MultiLinePatternEditor.h"
#include "geomFeature/editor/OBroundPatEditor.h"
#include "geomFeature/editor/OffsetLoopAction.h"
#include "geomFeature/editor/PatArcPatternEditor.h"
#include "geomFeature/editor/PatCirclePatternEditor.h"
#include "geomFeature/editor/PatDeleteAction.h"
#include "geomFeature/editor/PatGridPatternEditor.h"
#include "geomFeature/editor/PatLinePatternEditor.h"
#include "geomFeature/editor/PatternActionType.h"
#include "geomFeature/editor/PatternCopyAction.h"
#include "geomFeature/editor/PatternMoveAction.h"
#include "geomFeature/editor/PatternRotateAction.h"
#include "geomFeature/editor/PatternSelectAction.h"
#include "geomFeature/editor/RCHolePatternEditor.h"
#include "geomFeature/editor/RCLinePatternEditor.h"
#include "geomFeature/editor/RadSlotPatEditor.h"
#include "geomFeature/editor/RectHolePatternEditor.h"
#include "geomFeature/editor/RectLinePatternEditor.h"
#include "geomFeature/editor/SingleDPatternEditor.h"
#include "geomFeature/editor/TRHolePatternEditor.h"

namespace Norvane {

namespace {

constexpr int kDrawActionCodes[] = {DRAW_LINE,    DRAW_MULTI_LINE, DRAW_RECT_LINE, DRAW_RECT_HOLE,
                                    DRAW_ARC,     DRAW_ARC_3PT,    DRAW_RC_HOLE,   DRAW_RC_LINE,
                                    DRAW_CIRCLE,  DRAW_ELLIPSE,    DRAW_SINGLE_D,  DRAW_PAT_LINE,
                                    DRAW_TR_HOLE, DRAW_DOUBLE_D,   DRAW_OBROUND,   DRAW_RAD_SLOT,
                                    DRAW_PAT_ARC, DRAW_PAT_CIRCLE, DRAW_PAT_GRID};

// The tool that reshapes each pattern kind by its grips.
struct GripTool {
    tagPatternType type;
    tagDrawActionType tool;
};
constexpr GripTool kGripTools[] = {
    {PAT_LINE, DRAW_LINE},           {PAT_ARC, DRAW_ARC},
    {PAT_RECT_HOLE, DRAW_RECT_HOLE}, {PAT_RC_HOLE, DRAW_RC_HOLE},
    {PAT_CIRCLE, DRAW_CIRCLE},       {PAT_ELLIPSE, DRAW_ELLIPSE},
    {PAT_SINGLE_D, DRAW_SINGLE_D},   {PAT_LINE_ARRAY, DRAW_PAT_LINE},
    {PAT_TR_HOLE, DRAW_TR_HOLE},     {PAT_DOUBLE_D, DRAW_DOUBLE_D},
    {PAT_OBROUND, DRAW_OBROUND},     {PAT_RAD_SLOT, DRAW_RAD_SLOT},
    {PAT_ARC_ARRAY, DRAW_PAT_ARC},   {PAT_CIRCLE_ARRAY, DRAW_PAT_CIRCLE},
    {PAT_GRID_ARRAY, DRAW_PAT_GRID},
};

// A maker of the tool or action T built with (patterns, loops, viewport).
template <class T>
PatternActionFactory::Maker Plain() {
    return [](const PatternActionContext& c) -> IActionPtr {
        return boost::make_shared<T>(c.patterns, c.loops, c.viewPort);
    };
}

// A maker of the action T that acts on the selection it is given.
template <class T>
PatternActionFactory::Maker OnSelection() {
    return [](const PatternActionContext& c) -> IActionPtr {
        return boost::make_shared<T>(c.patterns, c.loops, c.viewPort, c.selection);
    };
}

}  // namespace

PatternActionFactory* PatternActionFactory::GetInstance() {
    static PatternActionFactory instance;
    return &instance;
}

PatternActionFactory::PatternActionFactory() {
    RegisterBuiltins();
}

// The module's actions by code. The loop offset action (65) comes with the offsetting.
void PatternActionFactory::RegisterBuiltins() {
    m_makers[DRAW_LINE] = Plain<LinePatternEditor>();
    m_makers[DRAW_MULTI_LINE] = Plain<MultiLinePatternEditor>();
    m_makers[DRAW_RECT_LINE] = Plain<RectLinePatternEditor>();
    m_makers[DRAW_RECT_HOLE] = Plain<RectHolePatternEditor>();
    m_makers[DRAW_ARC] = Plain<ArcPatternEditor>();
    m_makers[DRAW_ARC_3PT] = Plain<Arc3PtPatEditor>();
    m_makers[DRAW_RC_HOLE] = Plain<RCHolePatternEditor>();
    m_makers[DRAW_RC_LINE] = Plain<RCLinePatternEditor>();
    m_makers[DRAW_CIRCLE] = Plain<CirclePatternEditor>();
    m_makers[DRAW_ELLIPSE] = Plain<EllipsePatternEditor>();
    m_makers[DRAW_SINGLE_D] = Plain<SingleDPatternEditor>();
    m_makers[DRAW_PAT_LINE] = Plain<PatLinePatternEditor>();
    m_makers[DRAW_TR_HOLE] = Plain<TRHolePatternEditor>();
    m_makers[DRAW_DOUBLE_D] = Plain<DoubleDPatternEditor>();
    m_makers[DRAW_OBROUND] = Plain<OBroundPatEditor>();
    m_makers[DRAW_RAD_SLOT] = Plain<RadSlotPatEditor>();
    m_makers[DRAW_PAT_ARC] = Plain<PatArcPatternEditor>();
    m_makers[DRAW_PAT_CIRCLE] = Plain<PatCirclePatternEditor>();
    m_makers[DRAW_PAT_GRID] = Plain<PatGridPatternEditor>();

    m_makers[EDIT_SELECT] = Plain<PatternSelectAction>();
    m_makers[EDIT_DELETE] = OnSelection<PatDeleteAction>();
    m_makers[EDIT_EXPLODE] = Plain<ExplodePatAction>();
    m_makers[EDIT_COPY] = OnSelection<PatternCopyAction>();
    m_makers[EDIT_MOVE] = OnSelection<PatternMoveAction>();
    m_makers[EDIT_ROTATE] = OnSelection<PatternRotateAction>();
    m_makers[EDIT_OFFSET_LOOP] = Plain<OffsetLoopAction>();
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

int PatternActionFactory::GetGripToolCode(tagPatternType type) {
    for (const GripTool& entry : kGripTools) {
        if (entry.type == type) {
            return entry.tool;
        }
    }
    return 0;
}

int PatternActionFactory::IsDrawActionCode(int code) {
    return std::find(std::begin(kDrawActionCodes), std::end(kDrawActionCodes), code) !=
                   std::end(kDrawActionCodes)
               ? 1
               : 0;
}

}  // namespace Norvane
