#pragma once

#include <cstddef>
#include <string>

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/EditScript.h"
#include "geomFeature/editor/GeometryEditor.h"
#include "geomFeature/host/uikit/RecordingMessageBox.h"
#include "geomFeature/host/uikit/ScriptedDialogService.h"

namespace Norvane {

// Plays an EditScript through a geometry editor's public entry points, as a host's window does: mouse moves
// before every button, clicks snapped to the drawing assistant's point while the action uses it (ApplySnap),
// keys down and up, the editor's Undo and Redo, the property bar's edits, and a repaint (DrawTransient)
// after every step. While it runs, message boxes are recorded (and answered OK) and dialogs take the
// answers the script queued; the services installed before are put back afterwards.
//
// The editor must have its viewport, its pattern list and its loop list. Run stops at the first step that
// fails (an unmet expectation, a property row that is not shown, nothing to undo) and answers 0; the steps
// before it have happened (the caller decides whether to keep the part).
class GF_API EditScriptRunner {
public:
    explicit EditScriptRunner(const GeometryEditorPtr& editor);

    // Runs every step; 1 when all ran, 0 with GetError and GetErrorLine otherwise.
    int Run(const EditScript& script);
    // Parses and runs; a text that does not parse runs nothing.
    int RunText(const std::string& text);

    int GetErrorLine() const { return m_errorLine; }
    const std::string& GetError() const { return m_error; }
    // "line N: message", or empty.
    std::string GetErrorText() const;
    std::size_t GetStepsRun() const { return m_stepsRun; }

    // The boxes shown and the dialogs run so far, over every Run of this runner.
    const RecordingMessageBoxPtr& GetMessages() const { return m_messages; }
    const ScriptedDialogServicePtr& GetDialogs() const { return m_dialogs; }

private:
    // Runs one step; false with m_error set when it fails.
    bool RunStep(const EditScript::Step& step);
    bool Check(const EditScript::Step& step);
    void Press(double x, double y, int ctrl, bool down, bool up);
    void Key(unsigned int ch, int ctrl);

    GeometryEditorPtr m_editor;
    RecordingMessageBoxPtr m_messages;
    ScriptedDialogServicePtr m_dialogs;
    bool m_snap = true;
    std::size_t m_messagesChecked = 0;
    std::size_t m_stepsRun = 0;
    int m_errorLine = 0;
    std::string m_error;
};

}  // namespace Norvane
