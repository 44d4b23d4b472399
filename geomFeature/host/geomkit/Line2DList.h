#pragma once

#include <cstddef>
#include <vector>

#include <boost/shared_ptr.hpp>

#include "geomFeature/host/geomkit/Line2D.h"

namespace Norvane {

// An ordered list of line values.
class Line2DList {
public:
    using iterator = std::vector<Line2D>::iterator;
    using const_iterator = std::vector<Line2D>::const_iterator;

    void push_back(const Line2D& l) { m_lines.push_back(l); }
    std::size_t size() const { return m_lines.size(); }
    bool empty() const { return m_lines.empty(); }
    Line2D& at(std::size_t i) { return m_lines.at(i); }
    const Line2D& at(std::size_t i) const { return m_lines.at(i); }
    Line2D& operator[](std::size_t i) { return m_lines[i]; }
    const Line2D& operator[](std::size_t i) const { return m_lines[i]; }
    iterator begin() { return m_lines.begin(); }
    iterator end() { return m_lines.end(); }
    const_iterator begin() const { return m_lines.begin(); }
    const_iterator end() const { return m_lines.end(); }
    void clear() { m_lines.clear(); }
    iterator erase(const_iterator pos) { return m_lines.erase(pos); }

    // Sum of the line lengths.
    double GetTotalLength() const;
    // Each line cloned into a Geom2DList, in order.
    Geom2DList ToGeom2DList() const;

private:
    std::vector<Line2D> m_lines;
};

using Line2DListPtr = boost::shared_ptr<Line2DList>;

}  // namespace Norvane
