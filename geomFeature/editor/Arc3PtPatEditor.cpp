#include "geomFeature/editor/Arc3PtPatEditor.h"

#include <boost/make_shared.hpp>

#include "geomFeature/editor/AddPatternCommand.h"
#include "geomFeature/editor/PatternActionType.h"
#include "geomFeature/editor/detail/ShapeBuild.h"
#include "geomFeature/pattern/PatternList.h"

namespace Norvane {

namespace {
constexpr int kPrompts[] = {12340, 12341, 12342};
}  // namespace

Arc3PtPatEditor::Arc3PtPatEditor(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                                 const GlViewPortPtr& viewPort)
    : GripEditActionBase(patterns, loops, viewPort) {
    Restart();
}

int Arc3PtPatEditor::GetActionType() const {
    return DRAW_ARC_3PT;
}

int Arc3PtPatEditor::GetStepPrompt(int step) const {
    return PromptOf(kPrompts, step);
}

PatternListPtr Arc3PtPatEditor::MakePatterns(const std::vector<Point2D>& points) const {
    if (points.size() < 3) {
        return PatternListPtr();
    }
    return ListOf(detail::MakeArcThrough(points[0], points[1], points[2]));
}

void Arc3PtPatEditor::Record(const PatternListPtr& made) {
    for (const IPatternPtr& arc : *made) {
        RunCommand(boost::make_shared<AddPatternCommand>(GetEditorData(), m_patterns, m_loops, arc));
    }
}

}  // namespace Norvane
