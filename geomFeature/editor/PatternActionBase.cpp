#include "geomFeature/editor/PatternActionBase.h"

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/editor/DeletePatternCommand.h"
#include "geomFeature/editor/EditorResource.h"
#include "geomFeature/editor/ExplodeArrayPatCommand.h"
#include "geomFeature/editor/ExplodeStdPatCommand.h"
#include "geomFeature/editor/PatternSelectAction.h"
#include "geomFeature/host/appframe/CommandManager.h"
#include "geomFeature/host/appframe/ResourceString.h"
#include "geomFeature/host/appframe/ValInputMgr.h"
#include "geomFeature/host/uikit/XMessageBox.h"
#include "geomFeature/pattern/IArrayPattern.h"
#include "geomFeature/pattern/PatternList.h"

namespace Norvane {

PatternActionBase::PatternActionBase(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                                     const GlViewPortPtr& viewPort)
    : ActionBase(viewPort), m_patterns(patterns), m_loops(loops) {}

int PatternActionBase::OnKeyDown(unsigned int ch, unsigned int /*repeatCount*/, unsigned int /*flags*/) {
    if (ValInputMgr::GetInstance()->IsInputCancel(ch) != 0) {
        SetNextAction(boost::make_shared<PatternSelectAction>(m_patterns, m_loops, m_viewPort));
    }
    return 1;
}

int PatternActionBase::KeyDownForPoint(unsigned int ch, unsigned int repeatCount, unsigned int flags) {
    PatternActionBase::OnKeyDown(ch, repeatCount, flags);
    ValInputMgr& input = *ValInputMgr::GetInstance();
    if (input.IsInputEnd(ch) != 0) {
        double x = 0.0;
        double y = 0.0;
        if (input.GetInput(x, y) == 0 && m_viewPort) {
            m_viewPort->GetCursorPos(x, y);
        }
        ConvertKBInput(x, y);
        LButtonDown(x, y);
    }
    input.AcceptInputChar(ch);
    return 1;
}

EditorData PatternActionBase::GetEditorData() const {
    return EditorData(m_viewPort ? m_viewPort->GetWindow() : nullptr, ResourceString::Load(kResEditorName));
}

int PatternActionBase::DeleteSelected(const PatternListPtr& selection) {
    if (!selection || selection->empty() || !m_patterns) {
        return 0;
    }
    auto doomed = boost::make_shared<PatternList>();
    for (const IPatternPtr& pattern : *selection) {
        if (!pattern) {
            continue;
        }
        doomed->push_back(pattern);
        // An array's seed goes with it: without the array nothing would show or reach it.
        if (const auto array = boost::dynamic_pointer_cast<IArrayPattern>(pattern)) {
            if (const IPatternPtr seed = array->GetControlPat();
                seed && doomed->GetPatternIndex(seed) < 0 && selection->GetPatternIndex(seed) < 0) {
                doomed->push_back(seed);
            }
        }
    }
    if (doomed->empty()) {
        return 0;
    }
    RunCommand(boost::make_shared<DeletePatternCommand>(GetEditorData(), m_patterns, m_loops, doomed));
    SetNextAction(boost::make_shared<PatternSelectAction>(m_patterns, m_loops, m_viewPort));
    return 1;
}

int PatternActionBase::ExplodePat(const IPatternPtr& pattern) {
    if (!pattern || !m_patterns) {
        return 0;
    }
    if (pattern->IsArrayPat() != 0) {
        const auto array = boost::dynamic_pointer_cast<IArrayPattern>(pattern);
        if (!array) {
            return 0;
        }
        RunCommand(boost::make_shared<ExplodeArrayPatCommand>(GetEditorData(), m_patterns, m_loops, array));
    } else if (pattern->IsStdPat() != 0) {
        RunCommand(boost::make_shared<ExplodeStdPatCommand>(GetEditorData(), m_patterns, m_loops, pattern));
    } else {
        return 0;
    }
    SetNextAction(boost::make_shared<PatternSelectAction>(m_patterns, m_loops, m_viewPort));
    return 1;
}

void PatternActionBase::SwitchToSelection(const IPatternPtr& pattern) {
    auto selected = boost::make_shared<PatternList>();
    if (pattern) {
        selected->push_back(pattern);
    }
    SwitchToSelection(selected);
}

void PatternActionBase::SwitchToSelection(const PatternListPtr& patterns) {
    const auto select = boost::make_shared<PatternSelectAction>(m_patterns, m_loops, m_viewPort);
    select->SelectPatList(patterns);
    SetNextAction(select);
}

void PatternActionBase::RunCommand(const ICommandPtr& command) {
    command->Do();
    CommandManager::GetInstance()->AddCommand(command);
}

int PatternActionBase::ShowWarning(int textID) const {
    return XMessageBox::Show(textID, kResWarningCaption, MSGBOX_OK, MSGBOX_ICON_WARNING,
                             m_viewPort ? m_viewPort->GetWindow() : nullptr);
}

}  // namespace Norvane
