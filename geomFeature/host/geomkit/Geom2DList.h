#pragma once

#include <cstddef>
#include <vector>

#include <boost/shared_ptr.hpp>

#include "geomFeature/host/geomkit/IGeom2D.h"

namespace Norvane {

class Matrix2D;

// An ordered list of shared elements (lines and arcs).
class Geom2DList {
public:
    using value_type = IGeom2DPtr;
    using iterator = std::vector<IGeom2DPtr>::iterator;
    using const_iterator = std::vector<IGeom2DPtr>::const_iterator;

    Geom2DList() = default;

    void push_back(const IGeom2DPtr& g) { m_geoms.push_back(g); }
    std::size_t size() const { return m_geoms.size(); }
    bool empty() const { return m_geoms.empty(); }
    IGeom2DPtr& at(std::size_t i) { return m_geoms.at(i); }
    const IGeom2DPtr& at(std::size_t i) const { return m_geoms.at(i); }
    IGeom2DPtr& operator[](std::size_t i) { return m_geoms[i]; }
    const IGeom2DPtr& operator[](std::size_t i) const { return m_geoms[i]; }
    IGeom2DPtr& front() { return m_geoms.front(); }
    const IGeom2DPtr& front() const { return m_geoms.front(); }
    IGeom2DPtr& back() { return m_geoms.back(); }
    const IGeom2DPtr& back() const { return m_geoms.back(); }
    iterator begin() { return m_geoms.begin(); }
    iterator end() { return m_geoms.end(); }
    const_iterator begin() const { return m_geoms.begin(); }
    const_iterator end() const { return m_geoms.end(); }
    void clear() { m_geoms.clear(); }
    void reserve(std::size_t n) { m_geoms.reserve(n); }
    iterator insert(const_iterator pos, const IGeom2DPtr& g) { return m_geoms.insert(pos, g); }
    template <class It>
    iterator insert(const_iterator pos, It first, It last) {
        return m_geoms.insert(pos, first, last);
    }
    iterator erase(const_iterator pos) { return m_geoms.erase(pos); }
    iterator erase(const_iterator first, const_iterator last) { return m_geoms.erase(first, last); }
    // Appends every element of the other list (shared, not copied).
    void Append(const Geom2DList& other);

    // Deep copy: every element cloned.
    boost::shared_ptr<Geom2DList> Clone() const;
    // Transforms every element in place.
    void Transform(const Matrix2D& m);
    // Sum of the element lengths.
    double GetTotalLength() const;
    // Union of the element boxes; (0, 0, 0, 0) for an empty list.
    Rect2D GetRect() const;
    // The elements (shared) whose distance to p is at most `distance` (non-strict), in list order.
    Geom2DList GetLineArcsCloseTo(const Point2D& p, double distance) const;
    // Among the crossings of every pair of distinct elements (kGeomEqualTol; shared end points count), the
    // one nearest to p; the first found on ties. Empty pointer when no two elements cross.
    boost::shared_ptr<Point2D> GetCrossClosestTo(const Point2D& p) const;

private:
    std::vector<IGeom2DPtr> m_geoms;
};

using Geom2DListPtr = boost::shared_ptr<Geom2DList>;

}  // namespace Norvane
