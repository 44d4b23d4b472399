// The undo/redo model check: seeded random edits of random parts through every kind of command, and
// through the editor's tools and actions as a user drives them (drawing, grips, rotating, copying and
// moving, the property bar), interleaved with random undos and redos through the editor. After every step the
// part must match the facts recorded when that state of the history was first reached (the same pattern
// objects, geometry bit for bit, relations, loops in chain order, boundary loop) and stay consistent (no
// pattern twice, every free pattern in one loop, current caches). A failure is shrunk to the shortest
// sequence of steps that still fails and printed as a literal that can be pasted into a test.
//
// GF_MODEL_CHECK_EPISODES and GF_MODEL_CHECK_STEPS change the number of episodes and their length (default
// 200 episodes of 100 steps);
// GF_MODEL_CHECK_TRACE=1 prints the loops after every step (for replaying a printed sequence).

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/draw/DrawAssistor.h"
#include "geomFeature/editor/AddPatternCommand.h"
#include "geomFeature/editor/ArrayPatternCommand.h"
#include "geomFeature/editor/CopyPatternCommand.h"
#include "geomFeature/editor/DeletePatternCommand.h"
#include "geomFeature/editor/EditScriptRunner.h"
#include "geomFeature/editor/ExplodeArrayPatCommand.h"
#include "geomFeature/editor/ExplodeStdPatCommand.h"
#include "geomFeature/editor/GeometryEditor.h"
#include "geomFeature/editor/GripEditCommand.h"
#include "geomFeature/editor/OffsetLoopCommand.h"
#include "geomFeature/editor/PartEditCommand.h"
#include "geomFeature/editor/PatPropEditCommand.h"
#include "geomFeature/editor/PatternForwarding.h"
#include "geomFeature/editor/PatternPropBar.h"
#include "geomFeature/editor/PatternSelectAction.h"
#include "geomFeature/editor/TransformPatCommand.h"
#include "geomFeature/host/appframe/CommandManager.h"
#include "geomFeature/host/geomkit/Matrix2D.h"
#include "geomFeature/host/geomkit/Point2DList.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/host/viewkit/RecordingViewPort.h"
#include "geomFeature/loop/PolyPatLoop.h"
#include "geomFeature/pattern/ArcPattern.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/EllipsePattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/OBroundPattern.h"
#include "geomFeature/pattern/PatGridPattern.h"
#include "geomFeature/pattern/PatLinePattern.h"
#include "geomFeature/pattern/PatternCache.h"
#include "geomFeature/pattern/PatternPropID.h"
#include "geomFeature/pattern/RCHolePattern.h"
#include "geomFeature/pattern/RectHolePattern.h"
#include "geomFeature/pattern/SingleDPattern.h"
#include "geomFeature/pattern/TRHolePattern.h"
#include "geomFeature/processor/LoopBuilder.h"
#include "geomFeature/processor/LoopProcessor.h"
#include "tests/editor/PartFacts.h"

namespace Norvane {
namespace {

enum class Op {
    Add,
    Copy,
    Delete,
    Grip,
    Prop,
    ExplodeStd,
    ExplodeArray,
    MakeArray,
    Transform,
    PartEdit,
    Offset,
    Undo,
    Redo,
    // Through the editor, as a user does it.
    Draw,
    GripDrag,
    RotateAct,
    CopyMoveAct,
    PropBar,
};
constexpr int kOpCount = 18;
const char* const kOpNames[kOpCount] = {
    "Add",    "Copy", "Delete", "Grip",     "Prop",      "ExplodeStd",  "ExplodeArray", "MakeArray", "Transform",
    "PartEdit", "Offset", "Undo", "Redo", "Draw", "GripDrag", "RotateAct", "CopyMoveAct", "PropBar"};

bool IsEditorOp(Op op) {
    return op >= Op::Draw;
}

// A step names its targets by raw numbers taken modulo what the part offers when it runs, so any
// subsequence of steps is still a valid sequence (what shrinking needs).
struct Step {
    Op op;
    std::uint32_t a, b, c;
};

std::string Literal(const std::vector<Step>& steps) {
    std::ostringstream os;
    for (const Step& s : steps) {
        os << "    {Op::" << kOpNames[static_cast<int>(s.op)] << ", " << s.a << "u, " << s.b << "u, " << s.c
           << "u},\n";
    }
    return os.str();
}

// Points and moves on a small grid, so that ends meet often: chains, junctions of three or more ends,
// closed rings, duplicates.
Point2D GridPt(std::uint32_t k) {
    return Point2D(static_cast<double>(k % 7), static_cast<double>((k / 7) % 7));
}

Vector2D GridMove(std::uint32_t k) {
    const Vector2D v(static_cast<double>(k % 5) - 2.0, static_cast<double>((k / 5) % 5) - 2.0);
    return (v.x == 0.0 && v.y == 0.0) ? Vector2D(1.0, 0.0) : v;
}

Matrix2D Translation(const Vector2D& v) {
    Matrix2D m;
    m.SetTransfer(v);
    return m;
}

IPatternPtr CloneOf(const IPatternPtr& p) {
    return boost::dynamic_pointer_cast<IPattern>(p->Clone());
}

// One random part and the edits applied to it.
class ModelPart {
public:
    explicit ModelPart(unsigned seed) {
        Build(seed);
        m_editor->SetPatternList(m_patterns);
        m_editor->SetPatLoopList(m_loops);
    }

    const PatternListPtr& Patterns() const { return m_patterns; }
    const PatLoopListPtr& Loops() const { return m_loops; }
    const GeometryEditorPtr& Editor() const { return m_editor; }

    // Plays the step through the editor (a user's clicks and keys); what it recorded, if anything, is what
    // the command manager holds afterwards. False when the part offers nothing to apply it to.
    bool ApplyInEditor(const Step& s) {
        std::string script;
        switch (s.op) {
            case Op::Draw:
                script = DrawScript(s);
                break;
            case Op::GripDrag:
                script = GripScript(s);
                break;
            case Op::RotateAct:
                script = TransformScript(s, EDIT_ROTATE);
                break;
            case Op::CopyMoveAct:
                script = TransformScript(s, s.c % 2 == 0 ? EDIT_COPY : EDIT_MOVE);
                break;
            case Op::PropBar:
                return EditInBar(s);
            default:
                break;
        }
        if (script.empty()) {
            return false;
        }
        if (m_runner.RunText(script + "key esc\n") == 0) {
            ADD_FAILURE() << m_runner.GetErrorText() << " in\n" << script;
        }
        return true;
    }

    // Builds the step's command and does it; false when the part offers nothing to apply it to.
    bool Apply(const Step& s) {
        const ICommandPtr command = MakeCommand(s);
        if (!command) {
            return false;
        }
        command->Do();
        CommandManager::GetInstance()->AddCommand(command);
        return true;
    }

private:
    void Build(unsigned seed) {
        std::mt19937 rng(seed);
        auto pick = [&rng](std::uint32_t n) { return static_cast<std::uint32_t>(rng() % n); };
        // Chains wandering over the grid (some closing on themselves) and a ring of four lines.
        for (int chain = 0; chain < 2; ++chain) {
            std::uint32_t at = pick(49);
            const std::uint32_t start = at;
            const int pieces = 2 + static_cast<int>(pick(4));
            for (int i = 0; i < pieces; ++i) {
                std::uint32_t next = (i == pieces - 1 && pick(2) == 0 && pieces > 2) ? start : pick(49);
                if (next == at) {
                    next = (at + 1) % 49;
                }
                m_patterns->push_back(boost::make_shared<LinePattern>(GridPt(at), GridPt(next)));
                at = next;
            }
        }
        const Point2D o = GridPt(pick(25));
        const Point2D ring[4] = {o, o + Vector2D(2, 0), o + Vector2D(2, 2), o + Vector2D(0, 2)};
        for (int i = 0; i < 4; ++i) {
            m_patterns->push_back(boost::make_shared<LinePattern>(ring[i], ring[(i + 1) % 4]));
        }
        m_patterns->push_back(boost::make_shared<ArcPattern>(GridPt(pick(49)), 1.0, 0.0, MathEx::PI));
        m_patterns->push_back(boost::make_shared<CirclePattern>(GridPt(pick(49)), 0.5));
        m_patterns->push_back(StdShape(pick(6), GridPt(pick(49))));
        if (pick(2) == 0) {
            const IPatternPtr seedShape = boost::make_shared<CirclePattern>(GridPt(pick(49)), 0.25);
            const auto row = boost::make_shared<PatLinePattern>(seedShape->GetBasePoint(), Vector2D(1, 0), 3);
            row->SetControlPat(seedShape);
            seedShape->SetBeControlPat(row);
            m_patterns->push_back(seedShape);
            m_patterns->push_back(row);
        }
        m_patterns->UpdateCache();
        m_loops = LoopBuilder::BuildPatLoops(m_patterns, kLoopClosedTol);
        LoopProcessor::UpdateCache(m_loops);
        m_loops->UpdateBoundaryLoop();
    }

    static IPatternPtr StdShape(std::uint32_t kind, const Point2D& c) {
        switch (kind) {
            case 0:
                return boost::make_shared<RectHolePattern>(c, c + Vector2D(1.0, 0.5), 0.0);
            case 1:
                return boost::make_shared<OBroundPattern>(c, 0.3, 1.0, 0.4);
            case 2:
                return boost::make_shared<RCHolePattern>(c, 1.2, 0.8, 0.2, 0.0);
            case 3:
                return boost::make_shared<SingleDPattern>(c, 0.5, 0.3, 0.0);
            case 4:
                return boost::make_shared<TRHolePattern>(c, 0.0, 1.0, 0.8);
            default:
                return boost::make_shared<EllipsePattern>(c, 0.5, 1.0, 0.5);
        }
    }

    // The patterns of the list that pass the filter, in list order.
    template <class Filter>
    std::vector<IPatternPtr> Candidates(Filter filter) const {
        std::vector<IPatternPtr> found;
        for (const IPatternPtr& p : *m_patterns) {
            if (filter(p)) {
                found.push_back(p);
            }
        }
        return found;
    }
    // What a user can pick: everything but the seeds of arrays.
    std::vector<IPatternPtr> Pickable() const {
        return Candidates([](const IPatternPtr& p) { return !p->IsControlPat(); });
    }
    // Up to `count` distinct patterns of `from`, starting at index a.
    static PatternListPtr Several(const std::vector<IPatternPtr>& from, std::uint32_t a,
                                  std::uint32_t count) {
        auto list = boost::make_shared<PatternList>();
        for (std::uint32_t i = 0; i < count && i < from.size(); ++i) {
            list->push_back(from[(a + i) % from.size()]);
        }
        return list;
    }

    ICommandPtr MakeCommand(const Step& s) {
        const EditorData ed(nullptr, L"model check");
        switch (s.op) {
            case Op::Add:
                return MakeAdd(ed, s);
            case Op::Copy: {
                const auto free =
                    Candidates([](const IPatternPtr& p) { return !p->IsControlPat() && !p->IsArrayPat(); });
                if (free.empty())
                    return ICommandPtr();
                auto copies = boost::make_shared<PatternList>();
                const PatternListPtr originals = Several(free, s.a, 1 + s.b % 3);
                for (const IPatternPtr& p : *originals) {
                    const IPatternPtr copy = CloneOf(p);
                    copy->Transform(Translation(GridMove(s.c)));
                    copies->push_back(copy);
                }
                return boost::make_shared<CopyPatternCommand>(ed, m_patterns, m_loops, copies);
            }
            case Op::Delete: {
                const auto pickable = Pickable();
                if (pickable.empty())
                    return ICommandPtr();
                const PatternListPtr doomed = Several(pickable, s.a, 1 + s.b % 3);
                for (const IPatternPtr& p : std::vector<IPatternPtr>(doomed->begin(), doomed->end())) {
                    if (const auto array = boost::dynamic_pointer_cast<IArrayPattern>(p)) {
                        doomed->push_back(array->GetControlPat());
                    }
                }
                return boost::make_shared<DeletePatternCommand>(ed, m_patterns, m_loops, doomed);
            }
            case Op::Grip: {
                const auto pickable = Pickable();
                if (pickable.empty())
                    return ICommandPtr();
                const IPatternPtr p = pickable[s.a % pickable.size()];
                const IPatternPtr geometry = CloneOf(p);
                if (p->GetPatternType() == PAT_LINE) {
                    Point2D to = GridPt(s.b);
                    const Point2D fixed = s.c % 2 == 0 ? p->GetEndPoint() : p->GetStartPoint();
                    if (to == fixed)
                        to = GridPt(s.b + 1);
                    s.c % 2 == 0 ? geometry->SetStartPoint(to) : geometry->SetEndPoint(to);
                } else {
                    geometry->Transform(Translation(GridMove(s.b)));
                }
                return boost::make_shared<GripEditCommand>(ed, m_loops, p, geometry);
            }
            case Op::Prop: {
                const auto pickable = Pickable();
                if (pickable.empty())
                    return ICommandPtr();
                const IPatternPtr p = pickable[s.a % pickable.size()];
                std::vector<DataPropItem> items;
                p->GetProperty().GetItemsByType(kPropGroupValues, items);
                if (items.empty())
                    return ICommandPtr();
                const DataPropItem oldItem = items[s.b % items.size()];
                DataPropItem newItem = oldItem;
                if (std::holds_alternative<double>(oldItem.GetValue())) {
                    newItem.SetValue(oldItem.GetDouble() + 0.5 * (1 + s.c % 3));
                } else {
                    newItem.SetValue(oldItem.GetInt() + 1);
                }
                return boost::make_shared<PatPropEditCommand>(ed, m_loops, p, newItem, oldItem);
            }
            case Op::ExplodeStd: {
                const auto shapes =
                    Candidates([](const IPatternPtr& p) { return p->IsStdPat() && !p->IsControlPat(); });
                if (shapes.empty())
                    return ICommandPtr();
                return boost::make_shared<ExplodeStdPatCommand>(ed, m_patterns, m_loops,
                                                                shapes[s.a % shapes.size()]);
            }
            case Op::ExplodeArray: {
                const auto arrays = Candidates([](const IPatternPtr& p) { return p->IsArrayPat() != 0; });
                if (arrays.empty())
                    return ICommandPtr();
                return boost::make_shared<ExplodeArrayPatCommand>(
                    ed, m_patterns, m_loops,
                    boost::dynamic_pointer_cast<IArrayPattern>(arrays[s.a % arrays.size()]));
            }
            case Op::MakeArray: {
                const auto shapes =
                    Candidates([](const IPatternPtr& p) { return p->IsStdPat() && !p->IsControlPat(); });
                if (shapes.empty())
                    return ICommandPtr();
                const IPatternPtr seed = shapes[s.a % shapes.size()];
                IArrayPatternPtr array;
                if (s.b % 2 == 0) {
                    array = boost::make_shared<PatLinePattern>(seed->GetBasePoint(), GridMove(s.c),
                                                               2 + static_cast<int>(s.c % 3));
                } else {
                    array =
                        boost::make_shared<PatGridPattern>(seed->GetBasePoint(), 2.0, 2, 1.5 + s.c % 2, 2);
                }
                return boost::make_shared<ArrayPatternCommand>(ed, m_patterns, m_loops, array, seed);
            }
            case Op::Transform:
                return MakeTransform(ed, s);
            case Op::PartEdit:
                return MakePartEdit(ed, s);
            case Op::Offset: {
                // Any closed loop, grown or shrunk; an offset that cannot be made is a command that did
                // nothing, which must undo and redo to the same part as well.
                std::vector<IPatLoopPtr> closed;
                for (const IPatLoopPtr& loop : *m_loops) {
                    if (loop->IsOpenPath(kLoopClosedTol) == 0)
                        closed.push_back(loop);
                }
                if (closed.empty())
                    return ICommandPtr();
                const double distances[] = {0.1, 0.25, 0.6};
                return boost::make_shared<OffsetLoopCommand>(ed, m_patterns, m_loops,
                                                             closed[s.a % closed.size()],
                                                             static_cast<int>(s.b % 2), distances[s.c % 3]);
            }
            case Op::Undo:
            case Op::Redo:
            case Op::Draw:
            case Op::GripDrag:
            case Op::RotateAct:
            case Op::CopyMoveAct:
            case Op::PropBar:
                break;
        }
        return ICommandPtr();
    }

    ICommandPtr MakeAdd(const EditorData& ed, const Step& s) {
        IPatternPtr added;
        switch (s.a % 4) {
            case 0:
            case 1: {
                const std::uint32_t end = (s.c % 49 == s.b % 49) ? s.c + 1 : s.c;
                added = boost::make_shared<LinePattern>(GridPt(s.b), GridPt(end));
                break;
            }
            case 2:
                added = boost::make_shared<ArcPattern>(GridPt(s.b), 1.0, (s.c % 4) * MathEx::PI / 2,
                                                       (s.c % 2 == 0 ? 1.0 : -0.5) * MathEx::PI);
                break;
            default:
                added = boost::make_shared<CirclePattern>(GridPt(s.b), 0.25 * (1 + s.c % 3));
                break;
        }
        return boost::make_shared<AddPatternCommand>(ed, m_patterns, m_loops, added);
    }

    ICommandPtr MakeTransform(const EditorData& ed, const Step& s) {
        PatternListPtr moved;
        if (s.c % 3 == 0 && !m_loops->empty()) {
            // A whole loop, as a user moving one contour does.
            moved = boost::make_shared<PatternList>();
            const PatternListPtr ofLoop = (*m_loops)[s.a % m_loops->size()]->GetPatternList();
            for (const IPatternPtr& p : *ofLoop) {
                if (!p->IsControlPat())
                    moved->push_back(p);
            }
        } else {
            const auto pickable = Pickable();
            if (pickable.empty())
                return ICommandPtr();
            moved = Several(pickable, s.a, 1 + s.b % 3);
        }
        const bool hasArray = std::any_of(moved->begin(), moved->end(),
                                          [](const IPatternPtr& p) { return p->IsArrayPat() != 0; });
        Matrix2D m = Translation(GridMove(s.b));
        if (!hasArray && s.c % 2 == 1) {
            m.Reset();
            m.RotateBy(GridPt(s.b), MathEx::PI / 2);
        }
        auto geometry = boost::make_shared<PatternList>();
        for (const IPatternPtr& p : *moved) {
            const IPatternPtr clone = CloneOf(p);
            clone->Transform(m);
            geometry->push_back(clone);
        }
        return boost::make_shared<TransformPatCommand>(ed, L"Move", m_loops, moved, geometry);
    }

    // Edits done by operations of their own, recorded by PartEditCommand.
    ICommandPtr MakePartEdit(const EditorData& ed, const Step& s) {
        const PatternListPtr patterns = m_patterns;
        const PatLoopListPtr loops = m_loops;
        switch (s.a % 3) {
            case 0: {  // split a line in two at its middle
                const auto lines =
                    Candidates([](const IPatternPtr& p) { return p->GetPatternType() == PAT_LINE; });
                if (lines.empty())
                    return ICommandPtr();
                const IPatternPtr line = lines[s.b % lines.size()];
                auto edit = [patterns, loops, line] {
                    const Point2D a = line->GetStartPoint();
                    const Point2D b = line->GetEndPoint();
                    const Point2D mid = (a + b) / 2.0;
                    patterns->RemovePattern(line);
                    LoopProcessor::DelPatFromLoopListEx(loops, line, kLoopClosedTol);
                    for (const IPatternPtr& half : {IPatternPtr(boost::make_shared<LinePattern>(a, mid)),
                                                    IPatternPtr(boost::make_shared<LinePattern>(mid, b))}) {
                        half->UpdateCache();
                        patterns->push_back(half);
                        LoopProcessor::AddPatToLoopListEx(loops, half, kLoopClosedTol);
                    }
                    return 1;
                };
                return boost::make_shared<PartEditCommand>(ed, L"Split", m_patterns, m_loops, edit,
                                                           PatternListPtr());
            }
            case 1: {  // turn a polygon loop round
                std::vector<IPatLoopPtr> polys;
                for (const IPatLoopPtr& loop : *m_loops) {
                    if (loop->GetLoopType() == LOOP_POLY)
                        polys.push_back(loop);
                }
                if (polys.empty())
                    return ICommandPtr();
                const IPatLoopPtr loop = polys[s.b % polys.size()];
                auto edit = [loop] {
                    loop->ReverseDirection();
                    LoopProcessor::UpdateCache(loop);
                    return 1;
                };
                return boost::make_shared<PartEditCommand>(ed, L"Reverse", m_patterns, m_loops, edit,
                                                           PatternListPtr());
            }
            default: {  // move a shape in place
                const auto shapes =
                    Candidates([](const IPatternPtr& p) { return p->IsStdPat() && !p->IsControlPat(); });
                if (shapes.empty())
                    return ICommandPtr();
                const IPatternPtr shape = shapes[s.b % shapes.size()];
                const Vector2D move = GridMove(s.c);
                auto edit = [loops, shape, move] {
                    shape->Transform(Translation(move));
                    shape->UpdateCache();
                    auto changed = boost::make_shared<PatternList>();
                    changed->push_back(shape);
                    LoopProcessor::ChangePatInLoopList(loops, changed);
                    return 1;
                };
                auto touched = boost::make_shared<PatternList>();
                touched->push_back(shape);
                return boost::make_shared<PartEditCommand>(ed, L"Move shape", m_patterns, m_loops, edit,
                                                           touched);
            }
        }
    }

    static std::string At(const Point2D& p) {
        std::ostringstream os;
        os.precision(17);
        os << p.x << " " << p.y;
        return os.str();
    }

    // Makes `chosen` the selection of a fresh selection action.
    void Select(const PatternListPtr& chosen) {
        m_editor->SetEditAction(EDIT_SELECT);
        boost::dynamic_pointer_cast<PatternSelectAction>(m_editor->GetActionObject())->SelectPatList(chosen);
    }

    // A tool and as many grid points as it takes; the array tools' first click lands on a standard shape's
    // outline when there is one (else it is refused). Degenerate points happen and must be refused too.
    std::string DrawScript(const Step& s) {
        static const int kCodes[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 18, 19, 22, 30, 31, 32, 33};
        static const int kClicks[] = {2, 3, 2, 2, 3, 3, 3, 3, 2, 3, 3, 3, 3, 3, 3, 4, 4, 3, 3};
        const std::size_t tool = s.a % 19;
        std::ostringstream os;
        os << "action select\ntool " << kCodes[tool] << "\n";
        for (int i = 0; i < kClicks[tool]; ++i) {
            Point2D p = GridPt(s.b + static_cast<std::uint32_t>(i) * (3 + s.c % 11) +
                               s.c * static_cast<std::uint32_t>(i * i));
            if (i == 0 && kCodes[tool] >= 12 && kCodes[tool] != 18 && kCodes[tool] != 19 &&
                kCodes[tool] != 22 && kCodes[tool] != 30) {
                const auto shapes =
                    Candidates([](const IPatternPtr& q) { return q->IsStdPat() && !q->IsControlPat(); });
                if (!shapes.empty()) {
                    p = shapes[s.c % shapes.size()]->GetCacheData()->GetBaseGeom()->front()->GetStartPoint();
                }
            }
            os << "click " << At(p) << "\n";
        }
        if (kCodes[tool] == 2) {
            os << "rclick 0 0\n";
        }
        return os.str();
    }

    // One grip of one pattern dragged to a grid point (or nudged by half a unit).
    std::string GripScript(const Step& s) {
        const auto pickable = Pickable();
        if (pickable.empty()) {
            return std::string();
        }
        const IPatternPtr p = pickable[s.a % pickable.size()];
        Point2DList snaps;
        p->GetSnapPoints(snaps);
        const Point2D grip = snaps[s.b % snaps.size()];
        const Point2D to = s.c % 3 == 0 ? grip + Vector2D(0.5, -0.5) : GridPt(s.c);
        Select(ListOf(p));
        return "click " + At(grip) + "\nclick " + At(to) + "\n";
    }

    static PatternListPtr ListOf(const IPatternPtr& p) {
        auto list = boost::make_shared<PatternList>();
        list->push_back(p);
        return list;
    }

    // Up to three patterns rotated about a grid point by a typed angle, or copied or moved between grid
    // points.
    std::string TransformScript(const Step& s, tagEditActionType code) {
        const auto pickable =
            code == EDIT_ROTATE
                ? Candidates([](const IPatternPtr& p) { return !p->IsControlPat() && !p->IsArrayPat(); })
                : Pickable();
        if (pickable.empty()) {
            return std::string();
        }
        Select(Several(pickable, s.a, 1 + s.b % 3));
        m_editor->SetEditAction(code);
        std::ostringstream os;
        os << "click " << At(GridPt(s.b)) << "\n";
        if (code == EDIT_ROTATE) {
            os << "type " << 90 * (1 + s.c % 3) << "\nkey enter\n";
        } else {
            os << "click " << At(GridPt(s.b) + GridMove(s.c)) << "\n";
        }
        return os.str();
    }

    // One value of one pattern changed in the property bar (refused values record nothing).
    bool EditInBar(const Step& s) {
        const auto pickable = Pickable();
        if (pickable.empty()) {
            return false;
        }
        Select(ListOf(pickable[s.a % pickable.size()]));
        const PropGrid& grid = PatternPropBar::GetInstance()->GetGrid();
        if (grid.GetGroups().size() < 2 || grid.GetGroups()[1].entries.empty()) {
            return false;
        }
        const auto& rows = grid.GetGroups()[1].entries;
        const PropGrid::Entry& row = rows[s.b % rows.size()];
        const double value =
            row.item.GetDouble() +
            (std::holds_alternative<double>(row.item.GetValue()) ? 0.25 * (1 + s.c % 4) : 1.0);
        std::ostringstream os;
        os << value;
        const std::string text = os.str();
        PatternPropBar::GetInstance()->EditProperty(row.item.GetItemID(),
                                                    std::wstring(text.begin(), text.end()));
        m_editor->SetEditAction(EDIT_SELECT);
        return true;
    }

    PatternListPtr m_patterns = boost::make_shared<PatternList>();
    PatLoopListPtr m_loops;
    // 100 pixels per unit over the grid: pick and snap distances are 0.05 units.
    RecordingViewPortPtr m_view = boost::make_shared<RecordingViewPort>(1400, 1400, Rect2D(-2, 12, -2, 12));
    GeometryEditorPtr m_editor =
        boost::make_shared<GeometryEditor>(m_view, boost::make_shared<DrawAssistor>(m_view));
    EditScriptRunner m_runner{m_editor};
};

struct Failure {
    std::size_t step;
    std::string message;
};

struct RunStats {
    std::size_t steps = 0;
    std::size_t applied[kOpCount] = {};
};

// Runs the steps on a fresh part; the first step after which the part is wrong, if any.
//
// states[k] holds the facts of the part with k commands done, recorded when that state was first reached.
// A step of the editor may record several commands at once (a rectangle of four lines); the states between
// are recorded when an undo first reaches them. A step that records nothing must leave the part as it was.
std::optional<Failure> RunSteps(unsigned partSeed, const std::vector<Step>& steps,
                                RunStats* stats = nullptr) {
    CommandManager& manager = *CommandManager::GetInstance();
    manager.Clear();
    PatternForwarding::Clear();
    ModelPart part(partSeed);
    std::vector<std::optional<testutil::PartFacts>> states{
        testutil::CaptureFacts(*part.Patterns(), *part.Loops())};
    std::string broken = testutil::CheckInvariants(*part.Patterns(), *part.Loops(), *states[0]);
    if (!broken.empty()) {
        return Failure{0, "the random part is inconsistent: " + broken};
    }
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const Step& s = steps[i];
        const std::size_t before = manager.GetUndoCount();
        bool applied = false;
        if (s.op == Op::Undo) {
            applied = part.Editor()->Undo() != 0;
        } else if (s.op == Op::Redo) {
            applied = part.Editor()->Redo() != 0;
        } else if (IsEditorOp(s.op)) {
            applied = part.ApplyInEditor(s);
        } else {
            applied = part.Apply(s);
        }
        const bool recorded = s.op != Op::Undo && s.op != Op::Redo && manager.GetUndoCount() > before;
        if (recorded) {
            states.resize(before + 1);
            states.resize(manager.GetUndoCount());
            states.push_back(testutil::CaptureFacts(*part.Patterns(), *part.Loops()));
        }
        if (std::getenv("GF_MODEL_CHECK_TRACE") != nullptr) {
            std::cout << kOpNames[static_cast<int>(s.op)] << (applied ? "" : " (nothing to do)") << ":";
            for (const IPatLoopPtr& loop : *part.Loops()) {
                std::cout << "\n    " << testutil::LoopText(testutil::FactsOf(loop))
                          << (loop->IsBoundaryLoop() != 0 ? " boundary" : "");
            }
            std::cout << '\n';
        }
        if (stats != nullptr) {
            ++stats->steps;
            stats->applied[static_cast<int>(s.op)] +=
                recorded || ((s.op == Op::Undo || s.op == Op::Redo) && applied) ? 1 : 0;
        }
        if (!applied) {
            continue;  // nothing changed: what held after the last step still holds
        }
        // A state just reached is its own record; one reached again is compared with the record.
        std::optional<testutil::PartFacts>& record = states[manager.GetUndoCount()];
        const testutil::PartFacts now = testutil::CaptureFacts(*part.Patterns(), *part.Loops());
        const std::string differs =
            (recorded || !record) ? std::string() : testutil::CompareFacts(*record, now);
        if (!record) {
            record = now;
        }
        broken = testutil::CheckInvariants(*part.Patterns(), *part.Loops(), now);
        if (!differs.empty() || !broken.empty()) {
            manager.Clear();
            return Failure{i, differs + broken};
        }
    }
    manager.Clear();
    return std::nullopt;
}

// Removes chunks of steps, halving the chunk size, as long as the run still fails.
std::vector<Step> Shrink(unsigned partSeed, std::vector<Step> steps) {
    for (std::size_t chunk = steps.size() / 2; chunk >= 1; chunk /= 2) {
        for (std::size_t start = 0; start < steps.size();) {
            std::vector<Step> shorter(steps.begin(), steps.begin() + static_cast<long>(start));
            shorter.insert(shorter.end(),
                           steps.begin() + static_cast<long>(std::min(start + chunk, steps.size())),
                           steps.end());
            if (const auto failure = RunSteps(partSeed, shorter)) {
                steps.assign(shorter.begin(), shorter.begin() + static_cast<long>(failure->step + 1));
            } else {
                start += chunk;
            }
        }
    }
    return steps;
}

std::vector<Step> RandomSteps(unsigned seed, std::size_t count) {
    std::mt19937 rng(seed * 7919u + 17u);
    // Weights: edits of every kind, then undo and redo often enough to walk far back and forth.
    const int weights[kOpCount] = {10, 4, 6, 5, 5, 3, 3, 4, 5, 4, 5, 22, 18, 9, 6, 3, 4, 4};
    std::discrete_distribution<int> op(std::begin(weights), std::end(weights));
    std::vector<Step> steps;
    for (std::size_t i = 0; i < count; ++i) {
        steps.push_back(Step{static_cast<Op>(op(rng)), static_cast<std::uint32_t>(rng() % 1000),
                             static_cast<std::uint32_t>(rng() % 1000),
                             static_cast<std::uint32_t>(rng() % 1000)});
    }
    return steps;
}

// 20,000 steps; a sanitizer build (unoptimised and instrumented, some 30 times slower) runs a fifth of them,
// which is plenty for finding memory faults.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kDefaultEpisodes = 40;
#else
constexpr int kDefaultEpisodes = 200;
#endif

int FromEnvironment(const char* name, int fallback) {
    const char* env = std::getenv(name);
    const int n = env != nullptr ? std::atoi(env) : 0;
    return n > 0 ? n : fallback;
}

TEST(UndoRedoModelCheckTest, EveryStateComesBackExactlyThroughUndoAndRedo) {
    const int episodes = FromEnvironment("GF_MODEL_CHECK_EPISODES", kDefaultEpisodes);
    const auto stepsPerEpisode = static_cast<std::size_t>(FromEnvironment("GF_MODEL_CHECK_STEPS", 100));
    RunStats stats;
    for (int episode = 0; episode < episodes; ++episode) {
        const unsigned seed = 1000u + static_cast<unsigned>(episode);
        const std::vector<Step> steps = RandomSteps(seed, stepsPerEpisode);
        const auto failure = RunSteps(seed, steps, &stats);
        if (failure) {
            const std::vector<Step> shortest = Shrink(
                seed, std::vector<Step>(steps.begin(), steps.begin() + static_cast<long>(failure->step + 1)));
            const auto again = RunSteps(seed, shortest);
            FAIL() << "part seed " << seed << ", after step " << failure->step << ": " << failure->message
                   << "\nshortest failing sequence (" << shortest.size() << " steps, part seed " << seed
                   << "):\n"
                   << Literal(shortest) << (again ? again->message : std::string("(passes when replayed)"));
        }
    }
    std::ostringstream summary;
    summary << stats.steps << " steps;";
    for (int i = 0; i < kOpCount; ++i) {
        summary << ' ' << kOpNames[i] << ' ' << stats.applied[i];
    }
    RecordProperty("summary", summary.str());
    std::cout << "[ model check ] " << summary.str() << '\n';
    // Every kind of step must really have been exercised.
    for (int i = 0; i < kOpCount; ++i) {
        EXPECT_GT(stats.applied[i], stats.steps / 500) << kOpNames[i];
    }
}

}  // namespace
}  // namespace Norvane
