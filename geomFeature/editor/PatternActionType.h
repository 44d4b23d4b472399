#pragma once

namespace Norvane {

// Codes of the drawing tools, as GeometryEditor::SetDrawAction takes them and each tool's GetActionType
// answers them.
enum tagDrawActionType : int {
    DRAW_LINE = 1,
    DRAW_MULTI_LINE = 2,
    DRAW_RECT_LINE = 3,
    DRAW_RECT_HOLE = 4,
    DRAW_ARC = 5,
    DRAW_ARC_3PT = 6,
    DRAW_RC_HOLE = 7,
    DRAW_RC_LINE = 8,
    DRAW_CIRCLE = 9,
    DRAW_ELLIPSE = 10,
    DRAW_SINGLE_D = 11,
    DRAW_PAT_LINE = 12,
    DRAW_TR_HOLE = 18,
    DRAW_DOUBLE_D = 19,
    DRAW_OBROUND = 22,
    DRAW_RAD_SLOT = 30,
    DRAW_PAT_ARC = 31,
    DRAW_PAT_CIRCLE = 32,
    DRAW_PAT_GRID = 33,
};

// Codes of the selection, transform and offset actions (GeometryEditor::SetEditAction).
enum tagEditActionType : int {
    EDIT_SELECT = 50,
    EDIT_LOOP_SELECT = 51,  // answered by the loop selection's GetActionType; SetEditAction does not make it
    EDIT_DELETE = 60,
    EDIT_EXPLODE = 61,
    EDIT_COPY = 62,
    EDIT_MOVE = 63,
    EDIT_ROTATE = 64,
    EDIT_OFFSET_LOOP = 65,
};

}  // namespace Norvane
