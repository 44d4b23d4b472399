#pragma once

#include <cstddef>
#include <vector>

#include <boost/shared_ptr.hpp>

#include "geomFeature/host/geomkit/Matrix2D.h"

namespace Norvane {

// The transforms that place the copies of a repeated shape, one matrix per copy, in order.
class RepeatData {
public:
    void SetMatrix(const std::vector<Matrix2D>& matrices) { m_matrices = matrices; }
    const std::vector<Matrix2D>& GetMatrix() const { return m_matrices; }
    void AddMatrix(const Matrix2D& m) { m_matrices.push_back(m); }
    std::size_t size() const { return m_matrices.size(); }
    bool empty() const { return m_matrices.empty(); }
    const Matrix2D& at(std::size_t i) const { return m_matrices.at(i); }
    std::vector<Matrix2D>::const_iterator begin() const { return m_matrices.begin(); }
    std::vector<Matrix2D>::const_iterator end() const { return m_matrices.end(); }

private:
    std::vector<Matrix2D> m_matrices;
};

using RepeatDataPtr = boost::shared_ptr<RepeatData>;

}  // namespace Norvane
