#pragma once

#include "geomFeature/GeomFeatureExport.h"

namespace Norvane {

// A place on a pattern: which element of the pattern's cached base geometry (index into that list) and
// the kernel fraction of that element's length measured from its start. Index -1 means "no position".
class GF_API PatPosition {
public:
    PatPosition() = default;
    PatPosition(int index, double percent) : m_index(index), m_percent(percent) {}

    int GetIndex() const { return m_index; }
    void SetIndex(int index) { m_index = index; }
    double GetPercent() const { return m_percent; }
    void SetPercent(double percent) { m_percent = percent; }

private:
    int m_index = -1;
    double m_percent = 0.0;
};

}  // namespace Norvane
