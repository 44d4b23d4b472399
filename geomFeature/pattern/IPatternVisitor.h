#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"

namespace Norvane {

class RadSlotPattern;
class OBroundPattern;
class TRHolePattern;
class PatGridPattern;
class PatCirclePattern;
class PatArcPattern;
class PatLinePattern;
class DoubleDPattern;
class SingleDPattern;
class RCHolePattern;
class RectHolePattern;
class CirclePattern;
class EllipsePattern;
class ArcPattern;
class LinePattern;

// Double dispatch over the concrete pattern classes: IPattern::Accept calls the overload of its own class
// with a shared pointer to itself. The order of the overloads is fixed.
class GF_API IPatternVisitor {
public:
    virtual ~IPatternVisitor() = default;

    virtual void Visit(const boost::shared_ptr<RadSlotPattern>& pattern) = 0;    // 0
    virtual void Visit(const boost::shared_ptr<OBroundPattern>& pattern) = 0;    // 1
    virtual void Visit(const boost::shared_ptr<TRHolePattern>& pattern) = 0;     // 2
    virtual void Visit(const boost::shared_ptr<PatGridPattern>& pattern) = 0;    // 3
    virtual void Visit(const boost::shared_ptr<PatCirclePattern>& pattern) = 0;  // 4
    virtual void Visit(const boost::shared_ptr<PatArcPattern>& pattern) = 0;     // 5
    virtual void Visit(const boost::shared_ptr<PatLinePattern>& pattern) = 0;    // 6
    virtual void Visit(const boost::shared_ptr<DoubleDPattern>& pattern) = 0;    // 7
    virtual void Visit(const boost::shared_ptr<SingleDPattern>& pattern) = 0;    // 8
    virtual void Visit(const boost::shared_ptr<RCHolePattern>& pattern) = 0;     // 9
    virtual void Visit(const boost::shared_ptr<RectHolePattern>& pattern) = 0;   // 10
    virtual void Visit(const boost::shared_ptr<CirclePattern>& pattern) = 0;     // 11
    virtual void Visit(const boost::shared_ptr<EllipsePattern>& pattern) = 0;    // 12
    virtual void Visit(const boost::shared_ptr<ArcPattern>& pattern) = 0;        // 13
    virtual void Visit(const boost::shared_ptr<LinePattern>& pattern) = 0;       // 14
};

using IPatternVisitorPtr = boost::shared_ptr<IPatternVisitor>;

}  // namespace Norvane
