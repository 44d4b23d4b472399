#include "geomFeature/editor/GeometryEditor.h"

#include <algorithm>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/editor/EditorResource.h"
#include "geomFeature/editor/IPatManAction.h"
#include "geomFeature/editor/LoopSelectAction.h"
#include "geomFeature/editor/PatternActionFactory.h"
#include "geomFeature/editor/PatternPropBar.h"
#include "geomFeature/editor/PatternSelectAction.h"
#include "geomFeature/host/appframe/ResourceString.h"
#include "geomFeature/host/appframe/ZoomInAction.h"
#include "geomFeature/host/appframe/ZoomOutAction.h"
#include "geomFeature/host/uikit/XMessageBox.h"
#include "geomFeature/pattern/PatternList.h"

namespace Norvane {

namespace {

// Every switch of action hides the property bar: what it shows belongs to the action being left.
void HidePatPropBar() {
    PatternPropBar::GetInstance()->ShowPane(0, 0, 1);
}

}  // namespace

GeometryEditor::GeometryEditor(const GlViewPortPtr& viewPort, const DrawAssistorPtr& assistor)
    : EditorBase(viewPort), m_assistor(assistor) {}

std::wstring GeometryEditor::GetEditorName() const {
    return ResourceString::Load(kResEditorName);
}

int GeometryEditor::SetDrawAction(tagDrawActionType code) {
    HidePatPropBar();
    if (PatternActionFactory::IsDrawActionCode(code) != 0) {
        SetActionObject(PatternActionFactory::GetInstance()->Create(code, MakeContext(PatternListPtr())));
    }
    return 1;
}

int GeometryEditor::SetEditAction(tagEditActionType code) {
    HidePatPropBar();
    PatternActionFactory& factory = *PatternActionFactory::GetInstance();
    if (code == EDIT_SELECT) {
        SetActionObject(factory.Create(code, MakeContext(PatternListPtr())));
        return 1;
    }

    // The selection handed over: the selection action's own list (shared, not copied), else an empty one.
    PatternListPtr selection;
    if (const auto select = boost::dynamic_pointer_cast<PatternSelectAction>(m_action)) {
        selection = select->GetSelPatList();
    }
    if (!selection) {
        selection = boost::make_shared<PatternList>();
    }

    switch (code) {
        case EDIT_COPY:
        case EDIT_MOVE:
        case EDIT_OFFSET_LOOP:
            SetActionObject(factory.Create(code, MakeContext(selection)));
            break;
        case EDIT_DELETE: {
            const IActionPtr action = factory.Create(code, MakeContext(selection));
            if (const auto patternAction = boost::dynamic_pointer_cast<PatternActionBase>(action)) {
                patternAction->DeleteSelected(selection);
            }
            SetActionObject(action);
            break;
        }
        case EDIT_EXPLODE: {
            // The explode action works pattern by pattern and is not given the selection.
            const IActionPtr action = factory.Create(code, MakeContext(PatternListPtr()));
            const auto patternAction = boost::dynamic_pointer_cast<PatternActionBase>(action);
            if (patternAction && selection->size() == 1) {
                const IPatternPtr& only = selection->front();
                if (only && (only->IsStdPat() != 0 || only->IsArrayPat() != 0)) {
                    patternAction->ExplodePat(only);
                }
            }
            SetActionObject(action);
            break;
        }
        case EDIT_ROTATE: {
            const bool hasArray = std::any_of(selection->begin(), selection->end(),
                                              [](const IPatternPtr& p) { return p && p->IsArrayPat() != 0; });
            if (hasArray) {
                XMessageBox::Show(kResRotateArrayRefused, kResWarningCaption, MSGBOX_OK, MSGBOX_ICON_WARNING,
                                  m_viewPort ? m_viewPort->GetWindow() : nullptr);
                break;
            }
            SetActionObject(factory.Create(code, MakeContext(selection)));
            break;
        }
        default:
            break;
    }
    return 1;
}

int GeometryEditor::SetLoopSelectAction() {
    HidePatPropBar();
    SetActionObject(boost::make_shared<LoopSelectAction>(m_loops, m_viewPort));
    return 1;
}

int GeometryEditor::SetViewAction(tagViewActionType code) {
    HidePatPropBar();
    if (code == VIEW_ACTION_ZOOM_IN) {
        SetActionObject(boost::make_shared<ZoomInAction>(m_viewPort));
    } else if (code == VIEW_ACTION_ZOOM_OUT) {
        SetActionObject(boost::make_shared<ZoomOutAction>(m_viewPort));
    }
    return 1;
}

int GeometryEditor::MovePoint(double& x, double& y) {
    if (m_action && m_assistor) {
        if (const auto patternAction = boost::dynamic_pointer_cast<IPatManAction>(m_action)) {
            if (patternAction->SupportDrawAssist() != 0) {
                m_assistor->Init(m_patterns, patternAction->GetFstInput());
                m_assistor->RefreshAssistor(x, y);
            } else {
                m_assistor->Clear();
            }
        }
    }
    return EditorBase::MovePoint(x, y);
}

void GeometryEditor::DrawTransient() {
    EditorBase::DrawTransient();
    if (m_assistor && CurrentAssistFlag() > 0) {
        m_assistor->DrawAssistInfo();
    }
}

int GeometryEditor::ApplySnap(double& x, double& y) const {
    if (!m_assistor || CurrentAssistFlag() <= 0) {
        return 0;
    }
    const Point2DPtr snap = m_assistor->GetSnapPt();
    if (!snap) {
        return 0;
    }
    x = snap->x;
    y = snap->y;
    return 1;
}

PatternActionContext GeometryEditor::MakeContext(const PatternListPtr& selection) const {
    return PatternActionContext{m_patterns, m_loops, m_viewPort, selection};
}

int GeometryEditor::CurrentAssistFlag() const {
    const auto patternAction = boost::dynamic_pointer_cast<IPatManAction>(m_action);
    return patternAction ? patternAction->SupportDrawAssist() : -1;
}

}  // namespace Norvane
