#pragma once

#include <vector>

#include <boost/shared_ptr.hpp>

#include "geomFeature/pattern/IPattern.h"
#include "geomFeature/pattern/IPatternVisitor.h"

namespace Norvane::test {

// Visitor that records which overload (by its slot number, 0..14) each Accept reached and the address of
// the concrete object it was handed.
class RecordingPatternVisitor : public IPatternVisitor {
public:
    struct Call {
        int slot;
        const void* object;
    };
    std::vector<Call> calls;

    void Visit(const boost::shared_ptr<RadSlotPattern>& p) override { Record(0, p.get()); }
    void Visit(const boost::shared_ptr<OBroundPattern>& p) override { Record(1, p.get()); }
    void Visit(const boost::shared_ptr<TRHolePattern>& p) override { Record(2, p.get()); }
    void Visit(const boost::shared_ptr<PatGridPattern>& p) override { Record(3, p.get()); }
    void Visit(const boost::shared_ptr<PatCirclePattern>& p) override { Record(4, p.get()); }
    void Visit(const boost::shared_ptr<PatArcPattern>& p) override { Record(5, p.get()); }
    void Visit(const boost::shared_ptr<PatLinePattern>& p) override { Record(6, p.get()); }
    void Visit(const boost::shared_ptr<DoubleDPattern>& p) override { Record(7, p.get()); }
    void Visit(const boost::shared_ptr<SingleDPattern>& p) override { Record(8, p.get()); }
    void Visit(const boost::shared_ptr<RCHolePattern>& p) override { Record(9, p.get()); }
    void Visit(const boost::shared_ptr<RectHolePattern>& p) override { Record(10, p.get()); }
    void Visit(const boost::shared_ptr<CirclePattern>& p) override { Record(11, p.get()); }
    void Visit(const boost::shared_ptr<EllipsePattern>& p) override { Record(12, p.get()); }
    void Visit(const boost::shared_ptr<ArcPattern>& p) override { Record(13, p.get()); }
    void Visit(const boost::shared_ptr<LinePattern>& p) override { Record(14, p.get()); }

private:
    void Record(int slot, const void* object) { calls.push_back(Call{slot, object}); }
};

}  // namespace Norvane::test
