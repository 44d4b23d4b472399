#include "geomFeature/host/geomkit/GeomLoop.h"

#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/LineArcProcessor.h"

namespace Norvane {

double GeomLoop::GetArea() const {
    return m_geoms ? LineArcProcessor::GetSignedArea(*m_geoms) : 0.0;
}

tagDirection GeomLoop::GetDirection() const {
    return GetArea() < 0 ? DIR_CW : DIR_CCW;  // strict: zero area is not clockwise
}

}  // namespace Norvane
