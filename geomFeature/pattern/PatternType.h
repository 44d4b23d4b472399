#pragma once

namespace Norvane {

// Numeric kind of a pattern. The values are stored in the part database and compared by loops and
// processors, so they never change. They do not follow the families: the line array is 207 while the
// other arrays are 301..303, the radius slot is 300, and no pattern uses 201.
enum tagPatternType : int {
    PAT_LINE = 200,          // LinePattern
    PAT_RECT_HOLE = 202,     // RectHolePattern
    PAT_ARC = 203,           // ArcPattern
    PAT_CIRCLE = 204,        // CirclePattern
    PAT_SINGLE_D = 205,      // SingleDPattern
    PAT_RC_HOLE = 206,       // RCHolePattern (rounded-corner rectangle)
    PAT_LINE_ARRAY = 207,    // PatLinePattern
    PAT_TR_HOLE = 208,       // TRHolePattern (triangle)
    PAT_OBROUND = 209,       // OBroundPattern
    PAT_ELLIPSE = 210,       // EllipsePattern
    PAT_DOUBLE_D = 211,      // DoubleDPattern
    PAT_RAD_SLOT = 300,      // RadSlotPattern
    PAT_ARC_ARRAY = 301,     // PatArcPattern
    PAT_CIRCLE_ARRAY = 302,  // PatCirclePattern
    PAT_GRID_ARRAY = 303,    // PatGridPattern
};

}  // namespace Norvane
