#pragma once

#include <vector>

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/host/appframe/DataBase.h"
#include "geomFeature/host/appframe/SubjectBase.h"
#include "geomFeature/host/geomkit/Rect2D.h"
#include "geomFeature/pattern/IPattern.h"

namespace Norvane {

class IntegerList;
class Matrix2D;
class PatternList;
using IntegerListPtr = boost::shared_ptr<IntegerList>;
using PatternListPtr = boost::shared_ptr<PatternList>;

// The three families a pattern falls into, as GetPatByCategory sorts them.
enum tagGeometryCategory : int {
    GEOM_CATEGORY_STD = 0,    // standard shapes (IsStdPat): circle, ellipse, the hole shapes
    GEOM_CATEGORY_PLAIN = 1,  // neither standard nor array: lines and arcs
    GEOM_CATEGORY_ARRAY = 2,  // array patterns (IsArrayPat)
};

// The ordered patterns of a part, or of a selection or clipboard set taken from it. The order is the
// drawing and processing order. Entries are shared: a pattern removed from the list lives on while a
// loop, command or relation holds it. Patterns are told apart by identifier; the list does not forbid
// two entries for one pattern, and every lookup answers the FIRST entry with a matching identifier.
//
// The list keeps nothing consistent by itself: whoever changes patterns refreshes their caches, and
// whoever adds or removes an array or its seed fixes the relations of both. Every query reads the
// patterns' caches. It sends no notifications of its own; callers notify its observers.
//
// Many queries take a skip-controlled flag: when non-zero, seed patterns (patterns controlled by an
// array, IsControlPat non-empty) are left out, since the array already stands for them.
class GF_API PatternList : public DataBase, public std::vector<IPatternPtr>, public SubjectBase {
public:
    PatternList() = default;

    // Appends every pattern of other, in order (other may be this list).
    void AddPatterns(const PatternListPtr& other);
    // Inserts pattern before the entry at index; an index at or past the end appends, a negative one
    // inserts at the front.
    void InsertBefore(const IPatternPtr& pattern, int index);
    // Removes the first entry with pattern's identifier; nothing when there is none.
    void RemovePattern(const IPatternPtr& pattern);
    // Removes the first entry with that identifier; nothing when there is none.
    void RemovePattern(DataID id);
    // Removes, by identifier, the first entry of every pattern of other (other may be this list).
    void RemovePatterns(const PatternListPtr& other);
    // Removes every entry whose identifier occurs in ids.
    void RemovePatternsEx(const IntegerListPtr& ids);

    // The first pattern with that identifier, or an empty pointer.
    IPatternPtr GetPatFromID(DataID id) const;
    // Index of the first entry with pattern's identifier, or -1.
    int GetPatternIndex(const IPatternPtr& pattern) const;
    // Index of the first entry with that identifier, or -1.
    int GetIndexByID(DataID id) const;

    // New lists, in list order, of the patterns that pass the filter.
    PatternListPtr GetPatByCategory(tagGeometryCategory category, int skipControlled) const;
    PatternListPtr GetPatByType(tagPatternType type, int skipControlled) const;
    // The seeds: every pattern controlled by an array.
    PatternListPtr GetAllCtrlPat() const;
    // The standard shapes, which are the closed patterns.
    PatternListPtr GetClosedPatList(int skipControlled) const;
    // The patterns whose cached box lies wholly inside rect (the box's closed inclusion test, so a box
    // touching rect from inside is kept and one crossing its edge is not).
    PatternListPtr GetPatternInRect(const Rect2D& rect, int skipControlled) const;
    // The distinct type codes present, in order of first appearance.
    IntegerListPtr GetPatTypeList(int skipControlled) const;

    // The pattern nearest to point by IPattern::DistanceTo. Of equally near patterns the LAST in list
    // order wins. Empty pointer when no pattern is eligible.
    IPatternPtr GetPatternClosestTo(const Point2D& point, int skipControlled) const;
    // The snap point nearest to point among the patterns' snap points lying within tolerance (inclusive)
    // of it; seeds are always left out. Of equally near points the last found wins. Empty pointer when
    // none lies within tolerance.
    boost::shared_ptr<Point2D> GetCtrlPtClosestTo(const Point2D& point, double tolerance) const;
    // Union of the cached boxes of all patterns. Meant for a non-empty list; an empty one answers the
    // default box (0, 0, 0, 0).
    Rect2D GetRectBox() const;

    // Transforms every pattern not skipped; caches are left stale.
    void Transform(const Matrix2D& matrix, int skipControlled);
    // Refreshes the cache of every pattern, in order.
    void UpdateCache();
    // Hands the visitor to every pattern, in order.
    void Accept(const IPatternVisitorPtr& visitor);
    // The cached outline elements of every pattern that is not a seed, in list order. The elements are
    // shared with the caches, not copied; a pattern whose cache was never filled adds nothing.
    Geom2DListPtr CalcBaseGeomList() const;

    // 1 when the list's own flag is set or any of its patterns reports a change.
    int IsModified() const override;
    // A new PatternList holding a clone of every pattern, in order, in which each cloned array controls
    // the clone of its seed rather than the original seed. The clones' caches are empty until refreshed.
    IDataPtr Clone() const override;

private:
    // True for entries a query with this flag passes over: empty slots always, seeds when asked.
    static bool IsSkipped(const IPatternPtr& pattern, int skipControlled);
};

}  // namespace Norvane
