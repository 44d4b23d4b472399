#pragma once

// Tolerances and limits of the drawing tools, the selection actions and the property bar. Sizes in device
// pixels are converted to drawing units with the viewport's DToW at the moment they are used, so picking
// feels the same at every zoom.
namespace Norvane {

// A grip point is chosen (SetGripEditPt) when its Manhattan distance |dx| + |dy| to the given point is below
// this (strict: exactly 0.0001 away chooses nothing).
constexpr double kGripMatchTol = 0.0001;

// The selection offers a selected pattern's snap point as a grip when it lies closer than this many device
// pixels to the cursor (Euclidean, strict: exactly 5 pixels away is no grip).
constexpr double kGripPickPixels = 5.0;

// The array tools take the pattern under the cursor as the shape to repeat when it lies closer than this
// many device pixels to the click (strict), as the selection's grips do.
constexpr double kArrayPickPixels = 5.0;

// A selection drag whose corners differ by more than this in x or in y (strict) is a window; otherwise it is
// a click that picks the one nearest pattern.
constexpr double kSelectWindowMinSize = 1e-9;

// The selection window is drawn dashed: each bit of the pattern this many pixels long.
constexpr int kSelectWindowStippleFactor = 2;
constexpr unsigned short kSelectWindowStipplePattern = 0xCCCC;

// Sizes (lengths, radii, widths, spacings) at or below this make a shape degenerate: the click that would
// build it, or the grip position or property value that would give it, is not taken.
constexpr double kShapeMinSize = 1e-9;

// Sweeps and angle steps at or below this (radians) are empty: an arc, a radius slot or an arc array
// needs more; also the tolerance of the angle normalisation of the D shapes' flats.
constexpr double kShapeMinAngle = 1e-9;

// The most copies an array tool, a grip or a property value may give one array (a grid counts rows times
// columns). A drag with a tiny spacing would otherwise ask for millions of copies.
constexpr int kMaxArrayCopies = 100000;

// An ellipse is drawn as this many arcs at least and at most (a property value outside is refused).
constexpr int kMinEllipseSegments = 2;
constexpr int kMaxEllipseSegments = 10000;

// An entered property value counts as taken when the pattern, given it, reports it back within this
// (relative to the value's size, and absolutely below 1): values a pattern clamps or ignores are refused.
constexpr double kPropReadBackTol = 1e-6;

// Typed angles (the rotate action's angle, the arc tools' sweeps) are in degrees; this is the factor to
// radians the angle entry always used.
constexpr double kTypedDegToRad = 0.01745329251994;

}  // namespace Norvane
