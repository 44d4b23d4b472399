#pragma once

#include <string>

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/host/appframe/IData.h"
#include "geomFeature/host/appframe/ISubject.h"
#include "geomFeature/host/geomkit/Matrix2D.h"
#include "geomFeature/host/geomkit/Point2D.h"
#include "geomFeature/host/geomkit/Vector2D.h"
#include "geomFeature/pattern/PatPosition.h"
#include "geomFeature/pattern/PatRelationType.h"
#include "geomFeature/pattern/PatternType.h"

namespace Norvane {

class Point2DList;
class Geom2DList;
class PatRelation;
class PatRelationList;
class PatternCache;
class IPatternVisitor;
class IPattern;

using Geom2DListPtr = boost::shared_ptr<Geom2DList>;
using PatRelationPtr = boost::shared_ptr<PatRelation>;
using PatRelationListPtr = boost::shared_ptr<PatRelationList>;
using PatternCachePtr = boost::shared_ptr<PatternCache>;
using IPatternVisitorPtr = boost::shared_ptr<IPatternVisitor>;
using IPatternPtr = boost::shared_ptr<IPattern>;

// One drawing element of a part. Every query that walks, snaps, measures or locates on a pattern works on
// its cached base geometry, which only UpdateCache refreshes: after any change of geometry the owner must
// call UpdateCache before reading box, snap points, distances or positions.
//
// Identity (IData) and observers (ISubject) are virtual bases, so a concrete pattern holds exactly one of
// each however it is reached. The order of the virtual operations below is fixed.
class GF_API IPattern : public virtual IData, public virtual ISubject {
public:
    ~IPattern() override = default;

    virtual tagPatternType GetPatternType() const = 0;                        // 0
    virtual Point2D GetBasePoint() const = 0;                                  // 1
    virtual void SetBasePoint(const Point2D& point) = 0;                       // 2
    virtual Vector2D GetBaseVector() const = 0;                                // 3
    virtual void SetBaseVector(const Vector2D& vector) = 0;                    // 4
    virtual int IsStdPat() const = 0;                                          // 5
    virtual int IsArrayPat() const = 0;                                        // 6
    virtual int IsSmooth() const = 0;                                          // 7
    virtual Point2D GetStartPoint() const = 0;                                 // 8
    virtual void SetStartPoint(const Point2D& point) = 0;                      // 9
    virtual Point2D GetEndPoint() const = 0;                                   // 10
    virtual void SetEndPoint(const Point2D& point) = 0;                        // 11
    // Appends the pattern's snap points to the list, in the pattern's own order.
    virtual void GetSnapPoints(Point2DList& points) const = 0;                 // 12
    // The nearest snap point when it lies within tolerance (inclusive) of point, else empty.
    virtual boost::shared_ptr<Point2D> GetSnapPtClosestTo(const Point2D& point,
                                                          double tolerance) const = 0;  // 13
    // The nearest snap point; of equally near ones the last in GetSnapPoints order. (0,0) when none.
    virtual Point2D GetSnapPtClosestTo(const Point2D& point) const = 0;        // 14
    virtual Point2D GetPointByPatPos(PatPosition pos) const = 0;               // 15
    virtual PatPosition GetPatPosByPoint(Point2D point, PatPosition& second) const = 0;  // 16
    virtual Point2D GetClosestPt(Point2D point, Matrix2D matrix) const = 0;    // 17
    virtual double DistanceTo(const Point2D& point) const = 0;                 // 18
    virtual PatRelationListPtr GetPatRelationList() const = 0;                 // 19
    virtual void SetPatRelationList(const PatRelationListPtr& relations) = 0;  // 20
    virtual void AddPatRelation(const PatRelationPtr& relation) = 0;           // 21
    // A new list holding this pattern's relations of that type (the relation objects are shared).
    virtual PatRelationListPtr GetRelationByType(tagPatRelationType type) const = 0;  // 22
    // The array that controls this pattern (this pattern is its seed), or empty.
    virtual IPatternPtr IsControlPat() const = 0;                              // 23
    // Makes control the one array controlling this pattern; an empty pointer detaches it.
    virtual void SetBeControlPat(const IPatternPtr& control) = 0;              // 24
    virtual void UpdateFrom(const IPatternPtr& other) = 0;                     // 25
    virtual int IsDuplicate(const IPatternPtr& other) const = 0;              // 26
    virtual int IsSameShape(const IPatternPtr& other) const = 0;              // 27
    virtual PatternCachePtr GetCacheData() const = 0;                          // 28
    virtual void UpdateCache() = 0;                                            // 29
    // A new list of Line2D / Arc2D elements forming the outline, in outline order.
    virtual Geom2DListPtr CalcBaseGeomList() const = 0;                        // 30
    virtual void Accept(const IPatternVisitorPtr& visitor) = 0;                // 31
    virtual void Transform(const Matrix2D& matrix) = 0;                        // 32
    virtual std::wstring GetLayerName() const = 0;                             // 33
    virtual void SetLayerName(const std::wstring& name) = 0;                   // 34
    virtual int GetColorIndex() const = 0;                                     // 35
    virtual void SetColorIndex(int colorIndex) = 0;                            // 36
};

}  // namespace Norvane
