#pragma once

#include <string>

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/host/appframe/DataBase.h"
#include "geomFeature/host/appframe/SubjectBase.h"
#include "geomFeature/pattern/IPattern.h"

namespace Norvane {

// What every pattern shares: identity (DataBase), observers (SubjectBase), the reference point and
// direction, layer and colour, the array/seed relations and the geometry cache. A concrete pattern
// supplies its own outline (CalcBaseGeomList), snap points, UpdateFrom, Accept and Clone; the locating,
// snapping and measuring queries here all read the cached outline.
class GF_API PatternBase : public DataBase, public SubjectBase, public virtual IPattern {
public:
    PatternBase();
    explicit PatternBase(DataID id);  // keeps a stored identifier (loaders)
    // A copy keeps the identifier (the framework's rule for copies), starts without observers, copies
    // point, vector, layer and colour and SHARES the relation list and the cache with the source.
    // Assignment takes over the same values but keeps the target's identifier and observers.
    PatternBase(const PatternBase& other);
    PatternBase& operator=(const PatternBase& other);
    ~PatternBase() override;

    Point2D GetBasePoint() const override;
    void SetBasePoint(const Point2D& point) override;
    Vector2D GetBaseVector() const override;
    void SetBaseVector(const Vector2D& vector) override;
    int IsStdPat() const override;
    int IsArrayPat() const override;
    int IsSmooth() const override;
    Point2D GetStartPoint() const override;
    void SetStartPoint(const Point2D& point) override;
    Point2D GetEndPoint() const override;
    void SetEndPoint(const Point2D& point) override;
    boost::shared_ptr<Point2D> GetSnapPtClosestTo(const Point2D& point, double tolerance) const override;
    Point2D GetSnapPtClosestTo(const Point2D& point) const override;
    Point2D GetPointByPatPos(PatPosition pos) const override;
    PatPosition GetPatPosByPoint(Point2D point, PatPosition& second) const override;
    Point2D GetClosestPt(Point2D point, Matrix2D matrix) const override;
    double DistanceTo(const Point2D& point) const override;
    PatRelationListPtr GetPatRelationList() const override;
    void SetPatRelationList(const PatRelationListPtr& relations) override;
    void AddPatRelation(const PatRelationPtr& relation) override;
    PatRelationListPtr GetRelationByType(tagPatRelationType type) const override;
    IPatternPtr IsControlPat() const override;
    void SetBeControlPat(const IPatternPtr& control) override;
    int IsDuplicate(const IPatternPtr& other) const override;
    int IsSameShape(const IPatternPtr& other) const override;
    PatternCachePtr GetCacheData() const override;
    void UpdateCache() override;
    void Transform(const Matrix2D& matrix) override;
    std::wstring GetLayerName() const override;
    void SetLayerName(const std::wstring& name) override;
    int GetColorIndex() const override;
    void SetColorIndex(int colorIndex) override;

protected:
    // Appends every relation of this pattern to target's relation list; the relation objects are shared.
    // Clone uses it so that a copy stays linked to the same arrays and seeds.
    void UpdateRelation(const IPatternPtr& target) const;

    Point2D m_basePoint;                // reference point; its meaning is the concrete class's
    Vector2D m_baseVector{1.0, 0.0};    // reference direction; its length may be a size
    PatRelationListPtr m_relations;     // never empty
    PatternCachePtr m_cache;            // never empty
    std::wstring m_layerName;
    // Index into the host's colour palette. 0 stands for "no colour of its own", so a pattern that was
    // never given one is drawn in the display colour; the loader sets the stored value.
    int m_colorIndex = 0;
};

using PatternBasePtr = boost::shared_ptr<PatternBase>;

}  // namespace Norvane
