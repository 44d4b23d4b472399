#include "geomFeature/pattern/StdPatternBase.h"

namespace Norvane {

Point2D StdPatternBase::GetSymmetryPt() const { return m_basePoint; }

int StdPatternBase::IsStdPat() const { return 1; }

int StdPatternBase::IsArrayPat() const { return 0; }

}  // namespace Norvane
