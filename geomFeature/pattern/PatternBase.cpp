#include "geomFeature/pattern/PatternBase.h"

#include <algorithm>
#include <cstddef>

#include <boost/make_shared.hpp>

#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/IGeom2D.h"
#include "geomFeature/host/geomkit/Point2DList.h"
#include "geomFeature/host/geomkit/Rect2D.h"
#include "geomFeature/pattern/PatRelation.h"
#include "geomFeature/pattern/PatRelationList.h"
#include "geomFeature/pattern/PatternCache.h"
#include "geomFeature/pattern/PatternTolerance.h"

namespace Norvane {

namespace {

// The cached outline, or null when the cache was never filled.
const Geom2DList* CachedGeoms(const PatternCachePtr& cache) { return cache->GetBaseGeom().get(); }

}  // namespace

PatternBase::PatternBase()
    : m_relations(boost::make_shared<PatRelationList>()), m_cache(boost::make_shared<PatternCache>()) {}

PatternBase::PatternBase(DataID id)
    : DataBase(id),
      m_relations(boost::make_shared<PatRelationList>()),
      m_cache(boost::make_shared<PatternCache>()) {}

// As everywhere in the framework, a copy is the same pattern in another place: it keeps the identifier
// (and, sharing relations and cache, stays in step with the source). Observers are not copied.
PatternBase::PatternBase(const PatternBase& other)
    : IData(),
      ISubject(),
      IPattern(),
      DataBase(other),
      SubjectBase(other),
      m_basePoint(other.m_basePoint),
      m_baseVector(other.m_baseVector),
      m_relations(other.m_relations),
      m_cache(other.m_cache),
      m_layerName(other.m_layerName),
      m_colorIndex(other.m_colorIndex) {}

// Takes over the values of other; this pattern keeps its own identifier and observers.
PatternBase& PatternBase::operator=(const PatternBase& other) {
    m_basePoint = other.m_basePoint;
    m_baseVector = other.m_baseVector;
    m_relations = other.m_relations;
    m_cache = other.m_cache;
    m_layerName = other.m_layerName;
    m_colorIndex = other.m_colorIndex;
    return *this;
}

PatternBase::~PatternBase() = default;

Point2D PatternBase::GetBasePoint() const { return m_basePoint; }

void PatternBase::SetBasePoint(const Point2D& point) { m_basePoint = point; }

Vector2D PatternBase::GetBaseVector() const { return m_baseVector; }

void PatternBase::SetBaseVector(const Vector2D& vector) { m_baseVector = vector; }

int PatternBase::IsStdPat() const { return 0; }

int PatternBase::IsArrayPat() const { return 0; }

int PatternBase::IsSmooth() const { return 1; }

Point2D PatternBase::GetStartPoint() const { return Point2D(0.0, 0.0); }

void PatternBase::SetStartPoint(const Point2D& /*point*/) {}

Point2D PatternBase::GetEndPoint() const { return Point2D(0.0, 0.0); }

void PatternBase::SetEndPoint(const Point2D& /*point*/) {}

// Nearest snap point to point. Ties go to the LATER snap point (the running best is replaced when it is
// >= the new distance); the -1 sentinel makes the first candidate win outright. (0,0) without snap points.
Point2D PatternBase::GetSnapPtClosestTo(const Point2D& point) const {
    Point2DList snaps;
    GetSnapPoints(snaps);
    if (snaps.empty()) {
        return Point2D(0.0, 0.0);
    }
    double best = kNoDistanceYet;
    Point2D bestPt;
    for (const Point2D& snap : snaps) {
        const double d = snap.DistanceTo(point);
        if (best == kNoDistanceYet || best >= d) {  // >=: the last of equally near snap points wins
            best = d;
            bestPt = snap;
        }
    }
    return bestPt;
}

boost::shared_ptr<Point2D> PatternBase::GetSnapPtClosestTo(const Point2D& point, double tolerance) const {
    const Point2D nearest = GetSnapPtClosestTo(point);
    if (nearest.DistanceTo(point) <= tolerance) {  // inclusive: a snap point exactly at tolerance counts
        return boost::make_shared<Point2D>(nearest);
    }
    return boost::shared_ptr<Point2D>();
}

// The element named by pos asked for its point at pos's fraction. A position that does not name an
// element of the current cache is a caller error; it answers (0,0) rather than reading out of range.
Point2D PatternBase::GetPointByPatPos(PatPosition pos) const {
    const Geom2DList* geoms = CachedGeoms(m_cache);
    if (!geoms || pos.GetIndex() < 0 || static_cast<std::size_t>(pos.GetIndex()) >= geoms->size()) {
        return Point2D(0.0, 0.0);
    }
    return geoms->at(static_cast<std::size_t>(pos.GetIndex()))->GetPointAtPercent(pos.GetPercent());
}

// Locates point on the cached outline. The first element the point lies on gives the result; every
// later element it lies on overwrites second, so at a joint of consecutive elements the result names
// the earlier element and second the later one. second is untouched unless two or more elements match.
// Off the outline the result is (-1, 0.0).
PatPosition PatternBase::GetPatPosByPoint(Point2D point, PatPosition& second) const {
    PatPosition result;
    const Geom2DList* geoms = CachedGeoms(m_cache);
    if (!geoms) {
        return result;
    }
    bool found = false;
    for (std::size_t i = 0; i < geoms->size(); ++i) {
        const double fraction = geoms->at(i)->GetPercentOfPoint(point);
        if (fraction > -kPatOnElementFractionTol) {  // strict: exactly -1e-9 is off the element
            if (!found) {
                result = PatPosition(static_cast<int>(i), fraction);
                found = true;
            } else {
                second = PatPosition(static_cast<int>(i), fraction);
            }
        }
    }
    return result;
}

// Closest point of the cached outline after transforming it by matrix; of equally near candidates the
// first in outline order wins. (0,0) for an empty outline.
Point2D PatternBase::GetClosestPt(Point2D point, Matrix2D matrix) const {
    const Geom2DList* geoms = CachedGeoms(m_cache);
    if (!geoms || geoms->empty()) {
        return Point2D(0.0, 0.0);
    }
    Geom2DListPtr moved = geoms->Clone();
    moved->Transform(matrix);
    bool haveBest = false;
    double best = 0.0;
    Point2D bestPt;
    for (const IGeom2DPtr& geom : *moved) {
        const Point2D candidate = geom->GetClosestPt(point);
        const double d = candidate.DistanceTo(point);
        if (!haveBest || d < best) {  // strict: a later candidate must be nearer to replace the best
            haveBest = true;
            best = d;
            bestPt = candidate;
        }
    }
    return bestPt;
}

// Distance to the nearer of the base point and the cached outline. The base point counts on purpose:
// a standard shape measures 0 from its centre, so clicking a hole's centre picks the hole.
double PatternBase::DistanceTo(const Point2D& point) const {
    double d = m_basePoint.DistanceTo(point);
    if (const Geom2DList* geoms = CachedGeoms(m_cache)) {
        for (const IGeom2DPtr& geom : *geoms) {
            d = std::min(d, geom->DistanceTo(point));
        }
    }
    return d;
}

PatRelationListPtr PatternBase::GetPatRelationList() const { return m_relations; }

void PatternBase::SetPatRelationList(const PatRelationListPtr& relations) { m_relations = relations; }

void PatternBase::AddPatRelation(const PatRelationPtr& relation) { m_relations->AddPatRelation(relation); }

PatRelationListPtr PatternBase::GetRelationByType(tagPatRelationType type) const {
    return m_relations->GetRelationByType(type);
}

IPatternPtr PatternBase::IsControlPat() const {
    const PatRelationListPtr toArray = GetRelationByType(PAT_RELATION_TO_ARRAY);
    if (toArray->GetCount() > 0) {
        return toArray->GetPatRelationByIndex(0)->GetTargetPat();
    }
    return IPatternPtr();
}

// A seed has at most one controlling array: the old back-relation (if any) goes, then a new one to
// control is added unless control is empty.
void PatternBase::SetBeControlPat(const IPatternPtr& control) {
    const PatRelationListPtr toArray = GetRelationByType(PAT_RELATION_TO_ARRAY);
    if (toArray->GetCount() > 0) {
        m_relations->RemovePatRelation(toArray->GetPatRelationByIndex(0));
    }
    if (control) {
        m_relations->AddPatRelation(boost::make_shared<PatRelation>(GetID(), control, PAT_RELATION_TO_ARRAY));
    }
}

int PatternBase::IsDuplicate(const IPatternPtr& /*other*/) const { return 0; }

int PatternBase::IsSameShape(const IPatternPtr& /*other*/) const { return 0; }

PatternCachePtr PatternBase::GetCacheData() const { return m_cache; }

// Rebuilds the outline and its box. The box is the union of the elements' own boxes; the first
// element's box is taken whole so that the origin does not leak into a box that does not contain it.
// An empty outline leaves the box (0,0,0,0).
void PatternBase::UpdateCache() {
    Geom2DListPtr geoms = CalcBaseGeomList();
    if (!geoms) {
        geoms = boost::make_shared<Geom2DList>();
    }
    m_cache->SetBaseGeom(geoms);

    Rect2D box(0.0, 0.0, 0.0, 0.0);
    bool first = true;
    for (const IGeom2DPtr& geom : *geoms) {
        const Rect2D r = geom->GetRect();
        if (first) {
            box = r;
            first = false;
        } else {
            box.left = std::min(box.left, r.left);
            box.right = std::max(box.right, r.right);
            box.bottom = std::min(box.bottom, r.bottom);
            box.top = std::max(box.top, r.top);
        }
    }
    m_cache->SetRect(box);
}

// Moves the reference point and direction only; concrete classes with more geometry extend this. The
// cache is left stale for the owner to refresh.
void PatternBase::Transform(const Matrix2D& matrix) {
    m_basePoint *= matrix;
    m_baseVector *= matrix;
}

std::wstring PatternBase::GetLayerName() const { return m_layerName; }

void PatternBase::SetLayerName(const std::wstring& name) { m_layerName = name; }

int PatternBase::GetColorIndex() const { return m_colorIndex; }

void PatternBase::SetColorIndex(int colorIndex) { m_colorIndex = colorIndex; }

void PatternBase::UpdateRelation(const IPatternPtr& target) const {
    if (!target) {
        return;
    }
    const PatRelationListPtr targetRelations = target->GetPatRelationList();
    const int count = m_relations->GetCount();  // fixed first: target may share this very list
    for (int i = 0; i < count; ++i) {
        targetRelations->AddPatRelation(m_relations->GetPatRelationByIndex(i));
    }
}

}  // namespace Norvane
