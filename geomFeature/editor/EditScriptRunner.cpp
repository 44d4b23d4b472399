#include "geomFeature/editor/EditScriptRunner.h"

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/editor/LoopSelectAction.h"
#include "geomFeature/editor/PatternPropBar.h"
#include "geomFeature/editor/PreSelectActionBase.h"
#include "geomFeature/host/appframe/CommandManager.h"
#include "geomFeature/host/appframe/ValInputMgr.h"
#include "geomFeature/host/uikit/XDialogBase.h"
#include "geomFeature/host/uikit/XMessageBox.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/pattern/PatternList.h"

namespace Norvane {

namespace {

// Installs the runner's services for the length of a run and puts the earlier ones back.
class ServiceScope {
public:
    ServiceScope(const IMessageBoxServicePtr& messages, const IDialogServicePtr& dialogs)
        : m_messages(XMessageBox::SetService(messages)), m_dialogs(XDialogBase::SetService(dialogs)) {}
    ServiceScope(const ServiceScope&) = delete;
    ServiceScope& operator=(const ServiceScope&) = delete;
    ~ServiceScope() {
        XMessageBox::SetService(m_messages);
        XDialogBase::SetService(m_dialogs);
        ValInputMgr::GetInstance()->SetCtrlDown(0);
    }

private:
    IMessageBoxServicePtr m_messages;
    IDialogServicePtr m_dialogs;
};

std::wstring Widen(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

}  // namespace

EditScriptRunner::EditScriptRunner(const GeometryEditorPtr& editor)
    : m_editor(editor),
      m_messages(boost::make_shared<RecordingMessageBox>()),
      m_dialogs(boost::make_shared<ScriptedDialogService>()) {}

std::string EditScriptRunner::GetErrorText() const {
    return m_error.empty() ? std::string() : "line " + std::to_string(m_errorLine) + ": " + m_error;
}

int EditScriptRunner::RunText(const std::string& text) {
    EditScript script;
    if (script.Parse(text) == 0) {
        m_errorLine = script.GetErrorLine();
        m_error = script.GetError();
        return 0;
    }
    return Run(script);
}

int EditScriptRunner::Run(const EditScript& script) {
    m_errorLine = 0;
    m_error.clear();
    if (!m_editor || !m_editor->GetDrawer() || !m_editor->GetPatternList() || !m_editor->GetPatLoopList()) {
        m_error = "the editor has no viewport, pattern list or loop list";
        return 0;
    }
    const ServiceScope services(m_messages, m_dialogs);
    for (const EditScript::Step& step : script.GetSteps()) {
        if (!RunStep(step)) {
            m_errorLine = step.line;
            return 0;
        }
        ++m_stepsRun;
        m_editor->DrawTransient();
    }
    return 1;
}

void EditScriptRunner::Press(double x, double y, int ctrl, bool down, bool up) {
    ValInputMgr::GetInstance()->SetCtrlDown(ctrl);
    double mx = x;
    double my = y;
    m_editor->MovePoint(mx, my);
    double px = x;
    double py = y;
    if (m_snap) {
        m_editor->ApplySnap(px, py);
    }
    if (down) {
        double dx = px;
        double dy = py;
        m_editor->LButtonDown(dx, dy);
    }
    if (up) {
        double ux = px;
        double uy = py;
        m_editor->LButtonUp(ux, uy);
    }
    ValInputMgr::GetInstance()->SetCtrlDown(0);
}

void EditScriptRunner::Key(unsigned int ch, int ctrl) {
    ValInputMgr::GetInstance()->SetCtrlDown(ctrl);
    m_editor->OnKeyDown(ch, 1, 0);
    m_editor->OnKeyUp(ch, 1, 0);
    ValInputMgr::GetInstance()->SetCtrlDown(0);
}

bool EditScriptRunner::RunStep(const EditScript::Step& step) {
    using K = EditScript::StepKind;
    const std::vector<double>& v = step.values;
    switch (step.kind) {
        case K::Tool:
            m_editor->SetDrawAction(static_cast<tagDrawActionType>(step.code));
            return true;
        case K::Action:
            if (step.code == EDIT_LOOP_SELECT) {
                m_editor->SetLoopSelectAction();
            } else {
                m_editor->SetEditAction(static_cast<tagEditActionType>(step.code));
            }
            return true;
        case K::View:
            m_editor->SetViewAction(static_cast<tagViewActionType>(step.code));
            return true;
        case K::Move: {
            double x = v[0];
            double y = v[1];
            m_editor->MovePoint(x, y);
            return true;
        }
        case K::Click:
            Press(v[0], v[1], step.ctrl, true, true);
            return true;
        case K::Down:
            Press(v[0], v[1], step.ctrl, true, false);
            return true;
        case K::Up:
            Press(v[0], v[1], step.ctrl, false, true);
            return true;
        case K::DoubleClick: {
            Press(v[0], v[1], step.ctrl, true, true);
            ValInputMgr::GetInstance()->SetCtrlDown(step.ctrl);
            double x = v[0];
            double y = v[1];
            m_editor->LButtonDBClk(x, y);
            m_editor->LButtonUp(x, y);
            ValInputMgr::GetInstance()->SetCtrlDown(0);
            return true;
        }
        case K::Drag:
            Press(v[0], v[1], step.ctrl, true, false);
            Press(v[2], v[3], step.ctrl, false, true);
            return true;
        case K::RightClick: {
            double x = v[0];
            double y = v[1];
            m_editor->MovePoint(x, y);
            m_editor->RButtonUp(x, y);
            return true;
        }
        case K::Type:
            for (const char c : step.text) {
                Key(static_cast<unsigned char>(c), 0);
            }
            return true;
        case K::Key:
            Key(static_cast<unsigned int>(step.code), step.ctrl);
            return true;
        case K::Undo:
        case K::Redo:
            for (int i = 0; i < step.code; ++i) {
                if ((step.kind == K::Undo ? m_editor->Undo() : m_editor->Redo()) == 0) {
                    m_error = step.kind == K::Undo ? "nothing to undo" : "nothing to redo";
                    return false;
                }
            }
            return true;
        case K::Answer: {
            ScriptedDialogService::Answer answer;
            answer.result = step.code != 0 ? MSGBOX_RESULT_OK : MSGBOX_RESULT_CANCEL;
            for (const auto& [id, text] : step.texts) {
                answer.texts.emplace_back(id, Widen(text));
            }
            answer.choices = step.choices;
            m_dialogs->QueueAnswer(answer);
            return true;
        }
        case K::Prop: {
            PatternPropBar* bar = PatternPropBar::GetInstance();
            std::size_t group = 0;
            std::size_t entry = 0;
            if (bar->IsVisible() == 0 || bar->GetGrid().FindEntry(step.code, group, entry) == 0 ||
                bar->GetGrid().GetEntry(group, entry)->kind == PropGrid::EntryKind::ReadOnly) {
                m_error = "the property bar shows no editable row for item " + std::to_string(step.code);
                return false;
            }
            bar->EditProperty(step.code, Widen(step.text));
            return true;
        }
        case K::Snap:
            m_snap = step.code != 0;
            return true;
        case K::Window: {
            const Rect2D box(std::min(v[0], v[2]), std::max(v[0], v[2]), std::min(v[1], v[3]),
                             std::max(v[1], v[3]));
            if (!(box.right > box.left) || !(box.top > box.bottom)) {
                m_error = "the window must have a width and a height";
                return false;
            }
            m_editor->GetDrawer()->ZoomToFit(box, 0.0);
            return true;
        }
        case K::Expect:
            return Check(step);
    }
    return true;
}

bool EditScriptRunner::Check(const EditScript::Step& step) {
    const std::string& what = step.text;
    long long found = 0;
    const IActionPtr action = m_editor->GetActionObject();
    if (what == "action") {
        found = action ? action->GetActionType() : 0;
    } else if (what == "prompt") {
        int prompt = 0;
        int second = 0;
        if (action) {
            action->GetPromptMsg(prompt, second);
        }
        found = prompt;
    } else if (what == "patterns") {
        found = static_cast<long long>(m_editor->GetPatternList()->size());
    } else if (what == "loops") {
        found = static_cast<long long>(m_editor->GetPatLoopList()->size());
    } else if (what == "selected") {
        if (const auto select = boost::dynamic_pointer_cast<PreSelectActionBase>(action)) {
            found = static_cast<long long>(select->GetSelPatList()->size());
        } else if (const auto loops = boost::dynamic_pointer_cast<LoopSelectAction>(action)) {
            found = static_cast<long long>(loops->GetSelLoopList()->size());
        }
    } else if (what == "undo") {
        found = static_cast<long long>(CommandManager::GetInstance()->GetUndoCount());
    } else if (what == "redo") {
        found = static_cast<long long>(CommandManager::GetInstance()->GetRedoCount());
    } else if (what == "message") {
        const std::vector<MessageBoxRequest>& shown = m_messages->GetShown();
        found = shown.size() > m_messagesChecked ? shown.back().textID : -1;
        m_messagesChecked = shown.size();
    }
    if (found == step.code) {
        return true;
    }
    const auto show = [&what](long long n) {
        return (what == "message" && n < 0) ? std::string("none") : std::to_string(n);
    };
    m_error = "expected " + what + " " + show(step.code) + ", found " + show(found);
    return false;
}

}  // namespace Norvane
