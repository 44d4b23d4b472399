#pragma once

// Test doubles for driving the geometry editor through its public entry points: a probe action that
// records what it receives, guards that install action makers, a message-box recorder and a dialog script
// for one test, and a recording output bar.

#include <string>
#include <vector>

#include <boost/make_shared.hpp>

#include "geomFeature/editor/PatternActionBase.h"
#include "geomFeature/editor/PatternActionFactory.h"
#include "geomFeature/host/appframe/IOutputBar.h"
#include "geomFeature/host/uikit/RecordingMessageBox.h"
#include "geomFeature/host/uikit/ScriptedDialogService.h"
#include "geomFeature/host/uikit/XDialogBase.h"
#include "geomFeature/host/uikit/XMessageBox.h"

namespace Norvane {
namespace testutil {

// An action of the module that logs every event ("LButtonDown 1 2", "OnKeyDown 27") and hands over to
// whatever it is told to.
class ProbeAction : public PatternActionBase {
public:
    ProbeAction(const PatternActionContext& c, int type, int assist, int prompt)
        : PatternActionBase(c.patterns, c.loops, c.viewPort), selection(c.selection), m_type(type) {
        SetDrawAssist(assist);
        SetPromptMsg(prompt);
    }

    int GetActionType() const override { return m_type; }
    int LButtonDown(double& x, double& y) override { return Log("LButtonDown", x, y); }
    int LButtonUp(double& x, double& y) override { return Log("LButtonUp", x, y); }
    int LButtonDBClk(double& x, double& y) override { return Log("LButtonDBClk", x, y); }
    int RButtonUp(double& x, double& y) override { return Log("RButtonUp", x, y); }
    int MovePoint(double& x, double& y) override { return Log("MovePoint", x, y); }
    int OnKeyDown(unsigned int ch, unsigned int repeat, unsigned int flags) override {
        events.push_back("OnKeyDown " + std::to_string(ch) + " " + std::to_string(repeat) + " " +
                         std::to_string(flags));
        return KeyDownForPoint(ch, repeat, flags);
    }
    int OnKeyUp(unsigned int ch, unsigned int repeat, unsigned int flags) override {
        events.push_back("OnKeyUp " + std::to_string(ch) + " " + std::to_string(repeat) + " " +
                         std::to_string(flags));
        return 1;
    }
    void UpdateForUndoRedo() override {
        events.push_back("UpdateForUndoRedo");
        if (nextOnUndoRedo) {
            SetNextAction(nextOnUndoRedo);
        }
    }

    void HandOver(const IActionPtr& next) { SetNextAction(next); }
    void Enter(const Point2D& p) { AddInput(p); }
    using PatternActionBase::SwitchToSelection;

    std::vector<std::string> events;
    PatternListPtr selection;  // what the editor built it with
    IActionPtr nextOnUndoRedo;

private:
    int Log(const char* what, double x, double y) {
        std::string e = what;
        e += " " + std::to_string(x) + " " + std::to_string(y);
        events.push_back(e);
        return 1;
    }

    int m_type;
};

using ProbeActionPtr = boost::shared_ptr<ProbeAction>;

// Installs a maker of probe actions for one code while it lives; keeps the last probe made.
class ProbeMaker {
public:
    ProbeMaker(int code, int assist = 1, int prompt = 0) : m_code(code) {
        m_previous = PatternActionFactory::GetInstance()->SetMaker(
            code, [this, code, assist, prompt](const PatternActionContext& c) -> IActionPtr {
                last = boost::make_shared<ProbeAction>(c, code, assist, prompt);
                return last;
            });
    }
    ProbeMaker(const ProbeMaker&) = delete;
    ProbeMaker& operator=(const ProbeMaker&) = delete;
    ~ProbeMaker() { PatternActionFactory::GetInstance()->SetMaker(m_code, m_previous); }

    ProbeActionPtr last;

private:
    int m_code;
    PatternActionFactory::Maker m_previous;
};

// Records the message boxes shown while it lives.
class MessageBoxGuard {
public:
    MessageBoxGuard() : m_previous(XMessageBox::SetService(recorder)) {}
    MessageBoxGuard(const MessageBoxGuard&) = delete;
    MessageBoxGuard& operator=(const MessageBoxGuard&) = delete;
    ~MessageBoxGuard() { XMessageBox::SetService(m_previous); }

    RecordingMessageBoxPtr recorder = boost::make_shared<RecordingMessageBox>();

private:
    IMessageBoxServicePtr m_previous;
};

// Answers the modal dialogs shown while it lives from a script.
class DialogGuard {
public:
    DialogGuard() : m_previous(XDialogBase::SetService(script)) {}
    DialogGuard(const DialogGuard&) = delete;
    DialogGuard& operator=(const DialogGuard&) = delete;
    ~DialogGuard() { XDialogBase::SetService(m_previous); }

    ScriptedDialogServicePtr script = boost::make_shared<ScriptedDialogService>();

private:
    IDialogServicePtr m_previous;
};

class RecordingOutputBar : public IOutputBar {
public:
    void ShowPrompt(int promptID, int secondID, const std::wstring& typedText) override {
        prompt = promptID;
        second = secondID;
        typed = typedText;
        ++shown;
    }
    int prompt = -1;
    int second = -1;
    std::wstring typed;
    int shown = 0;
};

}  // namespace testutil
}  // namespace Norvane
