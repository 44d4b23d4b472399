#pragma once

// Resource numbers of the property groups, property items and type names that patterns report through
// GetProperty / UpdateProperty. The texts behind them live in the host's resources.
namespace Norvane {

// Group of the single title item that opens every pattern's property list; its value is the type name.
constexpr int kPropGroupTitle = 11501;
constexpr int kPropItemTitle = 12007;
// Group of all editable value items.
constexpr int kPropGroupValues = 12099;

// Type names shown in the title item.
constexpr int kResLineTypeName = 12024;
constexpr int kResArcTypeName = 12025;

// Line items.
constexpr int kPropLineStartX = 12101;
constexpr int kPropLineStartY = 12102;
constexpr int kPropLineEndX = 12103;
constexpr int kPropLineEndY = 12104;
constexpr int kPropLineLength = 12105;
constexpr int kPropLineAngle = 12117;  // degrees

// Arc items.
constexpr int kPropArcCentreX = 12109;
constexpr int kPropArcCentreY = 12110;
constexpr int kPropArcRadius = 12106;
constexpr int kPropArcStartAngle = 12107;  // degrees
constexpr int kPropArcMoveAngle = 12108;   // degrees

// Angles are shown in degrees. These truncated factors are the ones stored values were always converted
// with; using 180/pi to full precision would shift round-tripped values in the last digits.
constexpr double kDegPerRad = 57.29577951308;
constexpr double kRadPerDeg = 0.01745329251994;

// Standard shapes: items shared by the circle, the ellipse and the hole shapes.
constexpr int kPropShapeCentreX = 12109;
constexpr int kPropShapeCentreY = 12110;
constexpr int kPropShapeRadius = 12106;
constexpr int kPropShapeLength = 12105;
constexpr int kPropShapeWidth = 12118;
constexpr int kPropShapeAngle = 12117;  // degrees
constexpr int kPropEllipseSegCount = 12132;

// Type names of the round shapes.
constexpr int kResCircleTypeName = 12028;
constexpr int kResOBroundTypeName = 12029;
constexpr int kResEllipseTypeName = 12030;
constexpr int kResSingleDTypeName = 12031;
constexpr int kResDoubleDTypeName = 12032;

// Further items of the hole shapes (rectangle corner, radius-slot angles, triangle height, corner radius).
constexpr int kPropShapeCornerX = 12101;     // the rectangle's first corner
constexpr int kPropShapeCornerY = 12102;
constexpr int kPropShapeStartAngle = 12107;  // degrees
constexpr int kPropShapeMoveAngle = 12108;   // degrees
constexpr int kPropShapeHeight = 12123;
constexpr int kPropShapeCornerRadius = 12131;

// Type names of the rectangle, triangle, rounded rectangle and radius slot.
constexpr int kResRectHoleTypeName = 12026;
constexpr int kResTRHoleTypeName = 12027;
constexpr int kResRCHoleTypeName = 12033;
constexpr int kResRadSlotTypeName = 12034;

// Arrays: type names (the arc array shows the arc's name) and value items.
constexpr int kResLineArrayTypeName = 12035;
constexpr int kResArcArrayTypeName = 12025;
constexpr int kResCircleArrayTypeName = 12037;
constexpr int kResGridArrayTypeName = 12038;
constexpr int kPropArrayBaseX = 12101;        // base point, or centre of arc and circle arrays
constexpr int kPropArrayBaseY = 12102;
constexpr int kPropArrayAngle = 12117;        // degrees: direction of the line array's step
constexpr int kPropArrayXSpace = 12119;       // step x (line array); column spacing (grid)
constexpr int kPropArrayYSpace = 12120;       // step y (line array); row spacing (grid)
constexpr int kPropArraySpace = 12121;        // length of the line array's step
constexpr int kPropArrayCount = 12122;        // number of copies
constexpr int kPropArrayRadius = 12106;
constexpr int kPropArrayStartAngle = 12107;   // degrees
constexpr int kPropArrayMoveAngle = 12108;    // degrees: sweep from the first to the last copy (arc array)
constexpr int kPropArrayRepeatAngle = 12124;  // degrees: angle between neighbouring copies (arc array)
constexpr int kPropGridColumnCount = 12125;
constexpr int kPropGridRowCount = 12126;

}  // namespace Norvane
