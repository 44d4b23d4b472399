#include "geomFeature/editor/MultiLinePatternEditor.h"

#include <boost/make_shared.hpp>

#include "geomFeature/editor/AddPatternCommand.h"
#include "geomFeature/editor/PatternActionType.h"
#include "geomFeature/pattern/PatternList.h"

namespace Norvane {

MultiLinePatternEditor::MultiLinePatternEditor(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                                               const GlViewPortPtr& viewPort)
    : LinePatternEditor(patterns, loops, viewPort) {}

int MultiLinePatternEditor::GetActionType() const {
    return DRAW_MULTI_LINE;
}

int MultiLinePatternEditor::RButtonUp(double& /*x*/, double& /*y*/) {
    if (!GetGripEditPat()) {
        Restart();
    }
    return 1;
}

void MultiLinePatternEditor::Record(const PatternListPtr& made) {
    for (const IPatternPtr& line : *made) {
        RunCommand(boost::make_shared<AddPatternCommand>(GetEditorData(), m_patterns, m_loops, line));
    }
    const Point2D end = m_points.back();
    Restart();
    TakePoint(end);
}

}  // namespace Norvane
