#pragma once

#include <string>
#include <utility>
#include <vector>

#include "geomFeature/GeomFeatureExport.h"

namespace Norvane {

// A scenario for the geometry editor: a small text of steps (choose a tool or action, move, click, type,
// press keys, undo, answer dialogs, edit properties, check the outcome) that EditScriptRunner plays through
// the editor's public entry points, as a host's window would. Tests write their cases as scenarios; the
// geomfeature program runs one against a saved part, so an edit can be automated and reproduced.
//
// Parse reads the whole text first: a text with any bad step runs no step at all. The syntax is
// SyntaxHelp's.
class GF_API EditScript {
public:
    enum class StepKind {
        Tool,         // code
        Action,       // code
        View,         // code
        Move,         // x y
        Click,        // x y, ctrl
        DoubleClick,  // x y, ctrl
        Drag,         // x1 y1 x2 y2, ctrl
        RightClick,   // x y
        Down,         // x y, ctrl
        Up,           // x y, ctrl
        Type,         // text
        Key,          // key code, ctrl
        Undo,         // count
        Redo,         // count
        Answer,       // confirm, texts, choices
        Prop,         // item code, text
        Snap,         // on (code 1) or off (0)
        Window,       // x1 y1 x2 y2
        Expect,       // what (text), value (code; -1 for "none")
    };

    struct Step {
        StepKind kind = StepKind::Move;
        int line = 0;                // 1-based line of the text
        std::vector<double> values;  // coordinates
        int code = 0;                // action code, key, count, item, on/off, expected value
        int ctrl = 0;                // the control key held
        std::string text;            // typed text, property value, what an expectation checks
        std::vector<std::pair<int, std::string>> texts;  // answer: control id, text typed
        std::vector<std::pair<int, int>> choices;        // answer: control id, index chosen
    };

    // Answers 1 and holds the steps, or 0 with the line and a message of the first bad step (and no steps).
    int Parse(const std::string& text);

    const std::vector<Step>& GetSteps() const { return m_steps; }
    int GetErrorLine() const { return m_errorLine; }
    const std::string& GetError() const { return m_error; }

    // The step syntax, for a program's --help.
    static std::string SyntaxHelp();

private:
    std::vector<Step> m_steps;
    int m_errorLine = 0;
    std::string m_error;
};

}  // namespace Norvane
