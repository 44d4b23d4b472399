#pragma once

#include <cstddef>
#include <vector>

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/IGripEditAction.h"
#include "geomFeature/editor/PatternActionBase.h"
#include "geomFeature/host/geomkit/Point2D.h"

namespace Norvane {

// The common base of the drawing tools. A tool collects a fixed number of points (clicks, or typed points
// ended with the end key), shows the shape the cursor would finish as a rubber band, and with the last point
// builds its patterns and records them; it also reshapes an existing pattern by one of its snap points
// (grip editing), recording a GripEditCommand.
//
// Drawing step: 0 at the start; k after k points; n (the tool's click count) once a shape was built, which
// waits for a first point again as 0 does. The prompt after k points is the tool's GetStepPrompt(k). A last
// point that builds no sound shape (zero size, three points on one line, a flat outside its circle, ...) is
// not taken: the step stays, the handler answers 0, nothing is recorded (tools may start over instead).
//
// Grip mode: after SetGripEditPat and SetGripEditPt the tool drags that snap point with the cursor; a click
// records the pattern's new shape (a new pattern of its kind, built by the grip's rule) through a
// GripEditCommand and returns to selection with the pattern selected. A place that would make the pattern
// unsound is not taken (the preview keeps the last sound shape).
//
// Typed input: the end key takes the typed point (or, nothing typed, the cursor) as a click, after
// ConvertKBInput: "x,y" as it is, "@dx,dy" from the last point, a single value as the tool reads it (by
// default a distance from the last point towards the cursor).
class GF_API GripEditActionBase : public PatternActionBase, public IGripEditAction {
public:
    GripEditActionBase(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                       const GlViewPortPtr& viewPort);

    void SetGripEditPat(const IPatternPtr& pattern) override;
    // Also records the grip point as the first entered point (alignment lines start there, "@dx,dy" counts
    // from it) and shows the grip's prompt.
    void SetGripEditPt(double x, double y) override;

    int LButtonDown(double& x, double& y) override;
    int MovePoint(double& x, double& y) override;
    int OnKeyDown(unsigned int ch, unsigned int repeatCount, unsigned int flags) override;
    int ConvertKBInput(double& x, double& y) override;
    // The rubber band in the pattern colour (the shape the cursor would finish, else a line from the last
    // point to the cursor), then the cross-line cursor; the pen is put back.
    int DrawBeforeFinish() override;
    // A grip-edited pattern that no longer exists hands over to selection.
    void UpdateForUndoRedo() override;

    const IPatternPtr& GetGripEditPat() const { return m_gripPat; }
    // The snap index of the grip being dragged, -1 for none.
    int GetGripIndex() const { return m_gripIndex; }
    int GetStep() const { return m_step; }
    // What DrawBeforeFinish draws (empty list when nothing).
    const PatternListPtr& GetPreview() const { return m_preview; }

protected:
    // The number of points that build the tool's shape.
    virtual int GetClickCount() const = 0;
    // The prompt once `step` points are in (0: the start prompt).
    virtual int GetStepPrompt(int step) const = 0;
    // The shape from the points so far (for the preview the last one is the cursor); an empty list when
    // these points build nothing, yet or at all. The patterns' caches are filled.
    virtual PatternListPtr MakePatterns(const std::vector<Point2D>& points) const = 0;
    // Reads a typed single value as a point for the coming step; answers 0 to leave it to the default
    // (a distance from the last point towards the cursor).
    virtual int TypedValuePoint(double value, Point2D& point) const;
    // Records a finished shape: one AddPatternCommand per pattern, then selection with the patterns selected.
    virtual void Record(const PatternListPtr& made);
    // 1 when a last point that builds nothing starts the tool over instead of being ignored.
    virtual int RestartWhenDegenerate() const { return 0; }

    // The point at `distance` from `from` towards the cursor (along +x when the cursor is on `from`).
    Point2D TowardsCursor(const Point2D& from, double distance) const;
    // Back to the start step: no points, the start prompt.
    void Restart();
    // Takes a point: appends it, records it as entered, advances the step and the prompt.
    void TakePoint(const Point2D& point);
    // The step that waits for a first point (0, or n after a shape) counts as 0.
    bool AtStart() const { return m_step == 0 || m_step >= GetClickCount(); }
    static PatternListPtr ListOf(const IPatternPtr& pattern);
    // prompts[step], the last prompt for a step past the table.
    template <std::size_t N>
    static int PromptOf(const int (&prompts)[N], int step) {
        return prompts[step < 0
                           ? 0
                           : (static_cast<std::size_t>(step) < N ? static_cast<std::size_t>(step) : N - 1)];
    }

    std::vector<Point2D> m_points;
    Point2D m_cursor;
    int m_step = 0;

private:
    int GripClick(const Point2D& point);
    void UpdatePreview();

    IPatternPtr m_gripPat;
    int m_gripIndex = -1;
    PatternListPtr m_preview;
};

using GripEditActionBasePtr = boost::shared_ptr<GripEditActionBase>;

}  // namespace Norvane
