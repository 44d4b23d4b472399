#include "geomFeature/editor/PatternCopyAction.h"

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/editor/CopyPatternCommand.h"
#include "geomFeature/editor/EditorResource.h"
#include "geomFeature/editor/PatternActionType.h"
#include "geomFeature/host/appframe/ResourceString.h"
#include "geomFeature/pattern/IArrayPattern.h"
#include "geomFeature/pattern/PatternList.h"

namespace Norvane {

PatternCopyAction::PatternCopyAction(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                                     const GlViewPortPtr& viewPort, const PatternListPtr& selection)
    : TransformPatActionBase(patterns, loops, viewPort, selection) {
    ConfirmGivenSelection();
}

int PatternCopyAction::GetActionType() const {
    return EDIT_COPY;
}

Matrix2D PatternCopyAction::CalcTransform(const Point2D& base, const Point2D& second) const {
    Matrix2D m;
    m.SetTransfer(second - base);
    return m;
}

std::wstring PatternCopyAction::GetCommandName() const {
    return ResourceString::Load(kResCopyPatternCmd);
}

int PatternCopyAction::GetTransformPrompt(int step) const {
    return step == 0 ? kResBasePointPrompt : kResTargetPointPrompt;
}

// The originals with each array's seed just before it, cloned as one list so that every cloned array
// repeats the clone of its seed, then moved. The copies of seeds go into the part with their arrays but are
// not selected: their arrays stand for them.
void PatternCopyAction::RecordTransform(const Matrix2D& matrix) {
    auto originals = boost::make_shared<PatternList>();
    const PatternListPtr selected = SelectionCopy();
    for (const IPatternPtr& pattern : *selected) {
        if (const auto array = boost::dynamic_pointer_cast<IArrayPattern>(pattern)) {
            if (const IPatternPtr seed = array->GetControlPat()) {
                originals->push_back(seed);
            }
        }
        originals->push_back(pattern);
    }
    if (originals->empty()) {
        SwitchToSelection(originals);
        return;
    }
    const auto copies = boost::dynamic_pointer_cast<PatternList>(originals->Clone());
    auto shown = boost::make_shared<PatternList>();
    for (const IPatternPtr& copy : *copies) {
        copy->Transform(matrix);
        if (!copy->IsControlPat()) {
            shown->push_back(copy);
        }
    }
    RunCommand(boost::make_shared<CopyPatternCommand>(GetEditorData(), m_patterns, m_loops, copies));
    SwitchToSelection(shown);
}

}  // namespace Norvane
