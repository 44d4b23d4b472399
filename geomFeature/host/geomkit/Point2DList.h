#pragma once

#include <cstddef>
#include <initializer_list>
#include <vector>

#include <boost/shared_ptr.hpp>

#include "geomFeature/host/geomkit/GeomTolerance.h"
#include "geomFeature/host/geomkit/Point2D.h"

namespace Norvane {

// An ordered list of points.
class Point2DList {
public:
    using iterator = std::vector<Point2D>::iterator;
    using const_iterator = std::vector<Point2D>::const_iterator;

    Point2DList() = default;
    Point2DList(std::initializer_list<Point2D> pts) : m_pts(pts) {}

    void push_back(const Point2D& p) { m_pts.push_back(p); }
    std::size_t size() const { return m_pts.size(); }
    bool empty() const { return m_pts.empty(); }
    Point2D& at(std::size_t i) { return m_pts.at(i); }
    const Point2D& at(std::size_t i) const { return m_pts.at(i); }
    Point2D& operator[](std::size_t i) { return m_pts[i]; }
    const Point2D& operator[](std::size_t i) const { return m_pts[i]; }
    iterator begin() { return m_pts.begin(); }
    iterator end() { return m_pts.end(); }
    const_iterator begin() const { return m_pts.begin(); }
    const_iterator end() const { return m_pts.end(); }
    void clear() { m_pts.clear(); }
    iterator insert(const_iterator pos, const Point2D& p) { return m_pts.insert(pos, p); }
    iterator erase(const_iterator pos) { return m_pts.erase(pos); }
    void reserve(std::size_t n) { m_pts.reserve(n); }
    const std::vector<Point2D>& GetPoints() const { return m_pts; }

    // The point nearest to p; the first of equally near points. (0, 0) for an empty list.
    Point2D GetPtClosestTo(const Point2D& p) const;
    // 1 when some point equals p within tol in each coordinate (non-strict).
    int IsExist(const Point2D& p, double tol) const;
    // Index of the first point equal to p within tol in each coordinate (non-strict); −1 when none.
    int GetPtIndex(const Point2D& p, double tol = kPtIndexTol) const;
    // Index of the leftmost point: least x, ties broken by least y, the first of exact ties; −1 when empty.
    int GetLeftPtIndex() const;
    // Appends p unless IsExist(p, tol) already finds it.
    void AddUnique(const Point2D& p, double tol);

private:
    std::vector<Point2D> m_pts;
};

using Point2DListPtr = boost::shared_ptr<Point2DList>;

}  // namespace Norvane
