#include "geomFeature/host/appframe/ResourceString.h"

#include <algorithm>
#include <iterator>

namespace Norvane {

namespace {

struct ResourceEntry {
    int id;
    const wchar_t* text;
};

// The string table, sorted by number (checked at compile time below) so that a lookup is a binary search.
// Numbers are grouped by purpose:
//   11501, 12099       property groups        12005      editor name
//   12007              pattern type caption   12008-09   zoom prompts
//   12024-38           pattern type names     12050-51   options dialog
//   12100              property bar title     12101-32   property captions
//   12252-61           command names          12301-94   drawing prompts
//   12400-72           drawing prompts        12440-41   drawing and property messages
//   12480-94           selection, transform and loop offset prompts
//   12500-27           refusals of edits      12531-34   loop optimisation progress
//   20001              caption of warning boxes
//   30151-55           the loop offset dialog
constexpr ResourceEntry kTable[] = {
    // Property groups and the grip prompt of a middle point.
    {11501, L"General"},
    {11511, L"Specify the new position; the whole pattern moves with the point"},

    // Editor and pattern types.
    {12005, L"Geometry Editor"},
    {12007, L"Pattern Type"},
    {12008, L"Click where to zoom in"},
    {12009, L"Click where to zoom out"},
    {12024, L"Line"},
    {12025, L"Arc"},
    {12026, L"Rectangle"},
    {12027, L"Triangle"},
    {12028, L"Circle"},
    {12029, L"Obround"},
    {12030, L"Ellipse"},
    {12031, L"Single D"},
    {12032, L"Double D"},
    {12033, L"Rounded Rectangle"},
    {12034, L"Radius Slot"},
    {12035, L"Line Array"},
    {12036, L"Arc Array"},
    {12037, L"Circle Array"},
    {12038, L"Grid Array"},
    {12050, L"Geometry Options"},
    {12051, L"Allowed offset"},
    {12099, L"Geometry"},

    // Property bar and property captions (angles are shown in degrees).
    {12100, L"Pattern Properties"},
    {12101, L"Start X"},
    {12102, L"Start Y"},
    {12103, L"End X"},
    {12104, L"End Y"},
    {12105, L"Length"},
    {12106, L"Radius"},
    {12107, L"Start Angle"},
    {12108, L"Sweep Angle"},
    {12109, L"Centre X"},
    {12110, L"Centre Y"},
    {12117, L"Angle"},
    {12118, L"Width"},
    {12119, L"X Spacing"},
    {12120, L"Y Spacing"},
    {12121, L"Spacing"},
    {12122, L"Count"},
    {12123, L"Height"},
    {12124, L"Angle Step"},
    {12125, L"Columns"},
    {12126, L"Rows"},
    {12131, L"Corner Radius"},
    {12132, L"Segments"},

    // Names of the undoable commands, as the undo and redo menus show them.
    {12252, L"Add Pattern"},
    {12253, L"Copy Patterns"},
    {12254, L"Delete Patterns"},
    {12255, L"Edit Grip Point"},
    {12256, L"Edit Property"},
    {12257, L"Explode Shape"},
    {12258, L"Explode Array"},
    {12259, L"Create Array"},
    {12260, L"Move Patterns"},
    {12261, L"Rotate Patterns"},
    {12262, L"Offset Loop"},

    // Prompts of the drawing tools.
    {12301, L"Specify the start point"},
    {12302, L"Specify the end point"},
    {12310, L"Specify the first corner of the rectangle"},
    {12311, L"Specify the opposite corner of the rectangle"},
    {12320, L"Select the shape to repeat"},
    {12321, L"Specify the position of the second copy (it sets the step)"},
    {12322, L"Specify the position of the last copy, or type the number of copies"},
    {12330, L"Select the shape to repeat"},
    {12331, L"Specify the centre of the arc the copies stand on"},
    {12332, L"Specify the position of the second copy (it sets the angle step)"},
    {12333, L"Specify the position of the last copy, or type the number of copies"},
    {12340, L"Specify the first point of the arc"},
    {12341, L"Specify a second point on the arc"},
    {12342, L"Specify the end point of the arc"},
    {12350, L"Specify the first corner of the rectangle"},
    {12351, L"Specify the opposite corner of the rectangle"},
    {12352, L"Specify the corner radius (its distance from the second corner)"},
    {12360, L"Specify the centre of the double-D hole"},
    {12361, L"Specify the radius"},
    {12362, L"Specify the middle of a flat"},
    {12370, L"Specify the centre of the ellipse"},
    {12371, L"Specify the end of the major axis"},
    {12372, L"Specify the width of the ellipse (twice the distance from the centre)"},
    {12380, L"Specify the centre of the obround"},
    {12381, L"Specify the centre of an end arc (length and direction)"},
    {12382, L"Specify the width (twice the distance from the centre)"},
    {12390, L"Specify the centre of the radius slot"},
    {12391, L"Specify the start of the centre line (radius and start angle)"},
    {12393, L"Specify the end angle, or type the sweep in degrees"},
    {12394, L"Specify a point on the edge of the slot (its width)"},
    {12400, L"Specify the centre of the rounded rectangle"},
    {12401, L"Specify a corner of the rectangle"},
    {12404, L"Specify the corner radius (its distance from the corner)"},
    {12410, L"Specify the first corner of the rectangular hole"},
    {12411, L"Specify the opposite corner of the rectangular hole"},
    {12420, L"Specify the middle of the base of the triangle"},
    {12421, L"Specify one end of the base"},
    {12423, L"Specify the apex side and height (distance from the middle of the base)"},
    {12430, L"Specify the centre of the single-D hole"},
    {12431, L"Specify the radius"},
    {12432, L"Specify the middle of the flat"},
    {12440, L"Select a standard shape (a circle, an ellipse or a hole) as the shape to repeat."},
    {12441, L"The value entered is not valid for this pattern."},
    {12450, L"Select the shape to repeat"},
    {12451, L"Specify the copy diagonally next to the first (column and row spacing)"},
    {12452, L"Specify the last copy (the opposite corner of the grid)"},
    {12460, L"Select the shape to repeat"},
    {12461, L"Specify the centre of the circle the copies stand on"},
    {12462, L"Specify the position of the second copy, or type the number of copies"},
    {12463, L"Specify the centre of the circle"},
    {12464, L"Specify a point on the circle"},
    {12470, L"Specify the centre of the arc"},
    {12471, L"Specify the start point of the arc"},
    {12472, L"Specify the end point of the arc, or type the sweep in degrees"},

    // Selection, copy, move and rotate.
    {12480, L"Select patterns (click, or drag a window); drag a grip point to edit it"},
    {12481, L"Specify the opposite corner of the selection window"},
    {12482, L"Nothing selected. Click or drag a window to select patterns"},
    {12483, L"Select patterns, then right-click to confirm"},
    {12484, L"Select more patterns, or right-click to confirm the selection"},
    {12490, L"Specify the base point"},
    {12491, L"Specify the target point"},
    {12492, L"Specify the centre of rotation"},
    {12493, L"Specify the rotation angle (or type it in degrees)"},
    {12494, L"Click a closed loop to offset it"},

    // Refused edits.
    {12500, L"Only standard shapes and array patterns can be exploded."},
    {12501, L"Select a standard shape or an array pattern to explode"},
    {12522, L"Array patterns cannot be rotated. Remove them from the selection and try again."},
    {12526, L"The selected loop is open. Only closed loops can be offset."},
    {12527, L"The loop could not be offset by this distance."},

    // Progress of the loop optimisation task; 12531 counts the loops, starting at 1.
    {12531, L"Optimising loop %d..."},
    {12532, L"All loops optimised; rebuilding the patterns..."},
    {12533, L"Loop optimisation finished."},
    {12534, L"Loop optimisation cancelled."},

    // Stages of the import of loose geometry, as its progress shows them.
    {12541, L"Merging duplicate and touching pieces"},
    {12542, L"Removing tiny pieces"},
    {12543, L"Moving the part to the origin"},
    {12544, L"Chaining pieces into loops"},
    {12545, L"Orienting closed loops"},
    {12546, L"Recognising standard shapes"},
    {12547, L"Computing the nesting of loops"},
    {12548, L"Import finished."},
    {12549, L"Import cancelled."},
    {12550, L"Saving the part"},
    {12571, L"Fitting arcs to runs of short lines"},
    {12572, L"Removing duplicate loops"},
    {12573, L"Recognising arrays"},

    // Caption of every warning message box.
    {20001, L"Warning"},

    // The loop offset dialog: caption, the distance, and the side as two radio buttons.
    {30151, L"Offset Loop"},
    {30152, L"Distance"},
    {30153, L"Side"},
    {30154, L"Inside (shrink)"},
    {30155, L"Outside (grow)"},
};

constexpr bool StrictlyAscending() {
    return std::adjacent_find(std::begin(kTable), std::end(kTable),
                              [](const ResourceEntry& a, const ResourceEntry& b) { return a.id >= b.id; }) ==
           std::end(kTable);
}
static_assert(StrictlyAscending(), "the string table must be sorted by number, without duplicates");

const ResourceEntry* Find(int id) {
    auto it = std::lower_bound(std::begin(kTable), std::end(kTable), id,
                               [](const ResourceEntry& e, int key) { return e.id < key; });
    return (it != std::end(kTable) && it->id == id) ? it : nullptr;
}

}  // namespace

std::wstring ResourceString::Load(int id) {
    const ResourceEntry* entry = Find(id);
    return entry != nullptr ? std::wstring(entry->text) : std::wstring();
}

bool ResourceString::Exists(int id) {
    return Find(id) != nullptr;
}

std::wstring ResourceString::Format(int id, long long value) {
    std::wstring text = Load(id);
    const std::wstring::size_type at = text.find(L"%d");
    if (at != std::wstring::npos) {
        text.replace(at, 2, std::to_wstring(value));
    }
    return text;
}

std::vector<int> ResourceString::GetAllIDs() {
    std::vector<int> ids;
    ids.reserve(std::size(kTable));
    for (const ResourceEntry& entry : kTable) {
        ids.push_back(entry.id);
    }
    return ids;
}

}  // namespace Norvane
