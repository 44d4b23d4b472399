#include "geomFeature/editor/EditScript.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <sstream>
#include <system_error>

#include "geomFeature/editor/PatternActionType.h"
#include "geomFeature/host/appframe/InputKey.h"
#include "geomFeature/host/appframe/ViewActionType.h"

namespace Norvane {

namespace {

struct Named {
    const char* name;
    int code;
};

constexpr Named kTools[] = {{"line", DRAW_LINE},
                            {"multiline", DRAW_MULTI_LINE},
                            {"rectline", DRAW_RECT_LINE},
                            {"recthole", DRAW_RECT_HOLE},
                            {"arc", DRAW_ARC},
                            {"arc3pt", DRAW_ARC_3PT},
                            {"rchole", DRAW_RC_HOLE},
                            {"rcline", DRAW_RC_LINE},
                            {"circle", DRAW_CIRCLE},
                            {"ellipse", DRAW_ELLIPSE},
                            {"singled", DRAW_SINGLE_D},
                            {"patline", DRAW_PAT_LINE},
                            {"trhole", DRAW_TR_HOLE},
                            {"doubled", DRAW_DOUBLE_D},
                            {"obround", DRAW_OBROUND},
                            {"radslot", DRAW_RAD_SLOT},
                            {"patarc", DRAW_PAT_ARC},
                            {"patcircle", DRAW_PAT_CIRCLE},
                            {"patgrid", DRAW_PAT_GRID}};
constexpr Named kActions[] = {{"select", EDIT_SELECT}, {"loopselect", EDIT_LOOP_SELECT},
                              {"delete", EDIT_DELETE}, {"explode", EDIT_EXPLODE},
                              {"copy", EDIT_COPY},     {"move", EDIT_MOVE},
                              {"rotate", EDIT_ROTATE}, {"offset", EDIT_OFFSET_LOOP}};
constexpr Named kViews[] = {{"zoomin", VIEW_ACTION_ZOOM_IN}, {"zoomout", VIEW_ACTION_ZOOM_OUT}};
constexpr Named kKeys[] = {{"enter", KEY_ENTER},         {"return", KEY_ENTER},  {"esc", KEY_ESCAPE},
                           {"escape", KEY_ESCAPE},       {"delete", KEY_DELETE}, {"del", KEY_DELETE},
                           {"backspace", KEY_BACKSPACE}, {"space", ' '}};
constexpr const char* kExpectations[] = {"action",   "prompt", "patterns", "loops",
                                         "selected", "undo",   "redo",     "message"};

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// "name code, name code, ...", broken into lines of at most 100 characters that start with `indent`.
template <std::size_t N>
std::string NameList(const Named (&table)[N], const std::string& indent = std::string()) {
    std::string names;
    std::size_t lineLength = indent.size();
    for (const Named& entry : table) {
        const std::string item = std::string(entry.name) + " " + std::to_string(entry.code);
        if (!indent.empty() && !names.empty() && lineLength + item.size() + 2 > 100) {
            names += ",\n" + indent;
            lineLength = indent.size();
        } else if (!names.empty()) {
            names += ", ";
            lineLength += 2;
        }
        names += item;
        lineLength += item.size();
    }
    return names;
}

bool ParseDouble(const std::string& token, double& value) {
    const char* first = token.data();
    const char* last = token.data() + token.size();
    if (first != last && *first == '+') {
        ++first;
    }
    const auto result = std::from_chars(first, last, value);
    return result.ec == std::errc() && result.ptr == last && std::isfinite(value);
}

bool ParseInt(const std::string& token, int& value) {
    const auto result = std::from_chars(token.data(), token.data() + token.size(), value);
    return result.ec == std::errc() && result.ptr == token.data() + token.size();
}

// A name of the table or one of its codes.
template <std::size_t N>
bool ParseNamed(const std::string& token, const Named (&table)[N], int& code) {
    const std::string lower = Lower(token);
    int number = 0;
    const bool isNumber = ParseInt(token, number);
    for (const Named& entry : table) {
        if (lower == entry.name || (isNumber && number == entry.code)) {
            code = entry.code;
            return true;
        }
    }
    return false;
}

class LineParser {
public:
    LineParser(const std::string& raw, int line, EditScript::Step& step) : m_step(step) {
        m_step.line = line;
        std::istringstream in(raw);
        for (std::string token; in >> token;) {
            m_tokens.push_back(token);
        }
    }

    const std::vector<std::string>& Tokens() const { return m_tokens; }

    // Reads `count` numbers after the step name, then an optional "ctrl" when allowed.
    bool Numbers(std::size_t count, bool ctrlAllowed, std::string& error) {
        const std::size_t given = m_tokens.size() - 1;
        const bool withCtrl = ctrlAllowed && given == count + 1 && Lower(m_tokens.back()) == "ctrl";
        if (given != count && !withCtrl) {
            error = "'" + m_tokens[0] + "' needs " + std::to_string(count) + " numbers" +
                    (ctrlAllowed ? " and optionally 'ctrl'" : "");
            return false;
        }
        for (std::size_t i = 1; i <= count; ++i) {
            double value = 0.0;
            if (!ParseDouble(m_tokens[i], value)) {
                error = "'" + m_tokens[i] + "' is not a number";
                return false;
            }
            m_step.values.push_back(value);
        }
        m_step.ctrl = withCtrl ? 1 : 0;
        return true;
    }

private:
    EditScript::Step& m_step;
    std::vector<std::string> m_tokens;
};

bool ParseKey(std::string token, EditScript::Step& step, std::string& error) {
    const std::string lower = Lower(token);
    if (lower.rfind("ctrl+", 0) == 0 && lower.size() > 5) {
        step.ctrl = 1;
        token = token.substr(5);
    }
    for (const Named& key : kKeys) {
        if (Lower(token) == key.name) {
            step.code = key.code;
            return true;
        }
    }
    if (token.size() == 1 && std::isgraph(static_cast<unsigned char>(token[0]))) {
        step.code = static_cast<unsigned char>(token[0]);
        return true;
    }
    error = "unknown key '" + token + "' (keys: enter, esc, delete, backspace, space, or one character)";
    return false;
}

bool ParseAnswer(const std::vector<std::string>& tokens, EditScript::Step& step, std::string& error) {
    if (tokens.size() < 2 || (Lower(tokens[1]) != "ok" && Lower(tokens[1]) != "cancel")) {
        error = "'answer' needs ok or cancel, then ID=TEXT or ID:INDEX for the dialog's controls";
        return false;
    }
    step.code = Lower(tokens[1]) == "ok" ? 1 : 0;
    for (std::size_t i = 2; i < tokens.size(); ++i) {
        const std::string& t = tokens[i];
        const std::size_t eq = t.find('=');
        const std::size_t colon = t.find(':');
        int id = 0;
        int index = 0;
        if (eq != std::string::npos && ParseInt(t.substr(0, eq), id)) {
            step.texts.emplace_back(id, t.substr(eq + 1));
        } else if (colon != std::string::npos && ParseInt(t.substr(0, colon), id) &&
                   ParseInt(t.substr(colon + 1), index)) {
            step.choices.emplace_back(id, index);
        } else {
            error = "'" + t + "' is neither ID=TEXT nor ID:INDEX";
            return false;
        }
    }
    return true;
}

bool ParseExpect(const std::vector<std::string>& tokens, EditScript::Step& step, std::string& error) {
    const std::string what = tokens.size() == 3 ? Lower(tokens[1]) : std::string();
    const bool known = std::find_if(std::begin(kExpectations), std::end(kExpectations),
                                    [&what](const char* e) { return what == e; }) != std::end(kExpectations);
    if (!known) {
        error =
            "'expect' needs one of action, prompt, patterns, loops, selected, undo, redo, message and a "
            "number";
        return false;
    }
    step.text = what;
    if (what == "message" && Lower(tokens[2]) == "none") {
        step.code = -1;
        return true;
    }
    if (!ParseInt(tokens[2], step.code)) {
        error = "'" + tokens[2] + "' is not a whole number";
        return false;
    }
    return true;
}

// The text after the step name, as written (inner spaces kept).
std::string RestOfLine(const std::string& line, const std::string& name) {
    const std::size_t at = line.find(name);
    std::string rest = line.substr(at + name.size());
    const std::size_t first = rest.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return std::string();
    }
    rest = rest.substr(first);
    return rest.substr(0, rest.find_last_not_of(" \t\r") + 1);
}

bool ParseLine(const std::string& line, int number, EditScript::Step& step, std::string& error) {
    LineParser parser(line, number, step);
    const std::vector<std::string>& t = parser.Tokens();
    const std::string name = Lower(t[0]);
    using K = EditScript::StepKind;
    const auto named = [&](K kind, const auto& table, const char* what) {
        step.kind = kind;
        if (t.size() != 2 || !ParseNamed(t[1], table, step.code)) {
            error = std::string("unknown ") + what + " '" + (t.size() > 1 ? t[1] : std::string()) + "' (" +
                    what + "s: " + NameList(table) + ")";
            return false;
        }
        return true;
    };
    const auto count = [&](K kind) {
        step.kind = kind;
        step.code = 1;
        if (t.size() > 2 || (t.size() == 2 && (!ParseInt(t[1], step.code) || step.code < 1))) {
            error = "'" + t[0] + "' takes an optional count of at least 1";
            return false;
        }
        return true;
    };
    if (name == "tool")
        return named(K::Tool, kTools, "tool");
    if (name == "action")
        return named(K::Action, kActions, "action");
    if (name == "view")
        return named(K::View, kViews, "view");
    // Steps of numbers: the mouse and the window.
    struct NumberStep {
        const char* name;
        K kind;
        std::size_t numbers;
        bool ctrl;
    };
    static constexpr NumberStep kNumberSteps[] = {{"move", K::Move, 2, false},
                                                  {"click", K::Click, 2, true},
                                                  {"dblclick", K::DoubleClick, 2, true},
                                                  {"drag", K::Drag, 4, true},
                                                  {"rclick", K::RightClick, 2, false},
                                                  {"down", K::Down, 2, true},
                                                  {"up", K::Up, 2, true},
                                                  {"window", K::Window, 4, false}};
    for (const NumberStep& ns : kNumberSteps) {
        if (name == ns.name) {
            step.kind = ns.kind;
            return parser.Numbers(ns.numbers, ns.ctrl, error);
        }
    }
    if (name == "undo")
        return count(K::Undo);
    if (name == "redo")
        return count(K::Redo);
    if (name == "type") {
        step.kind = K::Type;
        step.text = RestOfLine(line, t[0]);
        if (step.text.empty()) {
            error = "'type' needs the text to type";
            return false;
        }
        return true;
    }
    if (name == "key") {
        step.kind = K::Key;
        if (t.size() != 2) {
            error = "'key' needs one key, such as enter, esc, delete or ctrl+a";
            return false;
        }
        return ParseKey(t[1], step, error);
    }
    if (name == "snap") {
        step.kind = K::Snap;
        if (t.size() != 2 || (Lower(t[1]) != "on" && Lower(t[1]) != "off")) {
            error = "'snap' needs on or off";
            return false;
        }
        step.code = Lower(t[1]) == "on" ? 1 : 0;
        return true;
    }
    if (name == "prop") {
        step.kind = K::Prop;
        if (t.size() != 3 || !ParseInt(t[1], step.code)) {
            error = "'prop' needs the item number and the value, such as: prop 12106 2.5";
            return false;
        }
        step.text = t[2];
        return true;
    }
    if (name == "answer") {
        step.kind = K::Answer;
        return ParseAnswer(t, step, error);
    }
    if (name == "expect") {
        step.kind = K::Expect;
        return ParseExpect(t, step, error);
    }
    error = "unknown step '" + t[0] + "' (see the step syntax in --help)";
    return false;
}

}  // namespace

int EditScript::Parse(const std::string& text) {
    m_steps.clear();
    m_errorLine = 0;
    m_error.clear();
    std::istringstream in(text);
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        line = line.substr(0, line.find('#'));
        if (line.find_first_not_of(" \t\r") == std::string::npos) {
            continue;
        }
        Step step;
        std::string error;
        if (!ParseLine(line, number, step, error)) {
            m_steps.clear();
            m_errorLine = number;
            m_error = error;
            return 0;
        }
        m_steps.push_back(step);
    }
    return 1;
}

std::string EditScript::SyntaxHelp() {
    const std::string indent(26, ' ');
    return "Steps, one per line ('#' starts a comment). Coordinates are in drawing units.\n"
           "  tool NAME|CODE          choose a drawing tool:\n" +
           indent + NameList(kTools, indent) +
           "\n"
           "  action NAME|CODE        choose an action:\n" +
           indent + NameList(kActions, indent) +
           "\n"
           "  view zoomin|zoomout     the zoom actions\n"
           "  move X Y                move the mouse\n"
           "  click X Y [ctrl]        move there, press and release the left button (clicks snap to what\n"
           "                          the drawing assistant found, as in the editor's window)\n"
           "  dblclick X Y [ctrl]     a double click\n"
           "  drag X1 Y1 X2 Y2 [ctrl] press at the first point, release at the second (a selection window)\n"
           "  rclick X Y              click the right button (confirms a selection, ends a chain of lines)\n"
           "  down X Y [ctrl], up X Y [ctrl]   the left button alone\n"
           "  type TEXT               type a point or value: \"x,y\", \"@dx,dy\" (from the last point), or "
           "one\n"
           "                          value (a distance towards the mouse; see the tools below)\n"
           "  key NAME                enter, esc, delete, backspace, space or one character; ctrl+a and the\n"
           "                          like hold the control key (enter takes the typed value as a click;\n"
           "                          with nothing typed it clicks at the mouse; esc leaves a tool)\n"
           "  undo [N], redo [N]      undo or redo N commands\n"
           "  answer ok|cancel [ID=TEXT ...] [ID:INDEX ...]\n"
           "                          the answer to the next dialog: texts for its numeric edits, the\n"
           "                          buttons chosen in its radio groups\n"
           "  prop ITEM VALUE         enter VALUE in the property bar's row of item ITEM (12106 radius,\n"
           "                          12105 length, 12117 angle in degrees, 12122 count, ...)\n"
           "  snap on|off             snapping of clicks (on at the start)\n"
           "  window X1 Y1 X2 Y2      show this box of the drawing (pick and snap distances are pixels)\n"
           "  expect WHAT N           stop unless WHAT is N: action (current action's code), prompt,\n"
           "                          patterns, loops, selected, undo, redo (commands on each stack),\n"
           "                          message (text number of the last message box since the last\n"
           "                          'expect message'; N may be 'none')\n"
           "\n"
           "The clicks of each tool (a typed single value where it differs from a distance):\n"
           "  line            start, end                 multiline  start, then one end per line\n"
           "  rectline        two opposite corners       recthole   two opposite corners\n"
           "  arc             centre, start, end (counter-clockwise; typed: sweep in degrees)\n"
           "  arc3pt          start, a point on the arc, end\n"
           "  rchole          centre, a corner, corner radius (distance from that corner)\n"
           "  rcline          corner, opposite corner, corner radius (distance from the second corner)\n"
           "  circle          centre, a point on the circle\n"
           "  ellipse         centre, end of the major axis, half the width (distance from the centre)\n"
           "  singled, doubled  centre, a point on the circle, the middle of a flat\n"
           "  obround         centre, centre of an end arc, half the width (distance from the centre)\n"
           "  trhole          middle of the base, an end of the base, apex side and height\n"
           "  radslot         centre, start of the centre line, end angle (typed: sweep in degrees),\n"
           "                  a point on the slot's edge (typed: the width)\n"
           "  patline         shape to repeat, second copy, last copy (typed: number of copies)\n"
           "  patarc          shape to repeat, centre, second copy, last copy (typed: number of copies)\n"
           "  patcircle       shape to repeat, centre, second copy (typed: number of copies)\n"
           "  patgrid         shape to repeat, the copy diagonally next to it, the opposite corner\n"
           "Selecting: click a pattern or drag a window; ctrl adds; ctrl+a selects all; a click on a grip\n"
           "of a selected pattern drags it (click again to drop it); move, copy and rotate then ask for a\n"
           "base point and a second point (rotate: typed angle in degrees).\n"
           "\n"
           "Example: a 40 x 20 plate outline with a hole in the middle, then a check.\n"
           "  tool rectline\n"
           "  click 0 0\n"
           "  click 40 20\n"
           "  tool circle\n"
           "  type 20,10\n"
           "  key enter\n"
           "  type 4\n"
           "  key enter\n"
           "  expect patterns 5\n";
}

}  // namespace Norvane
