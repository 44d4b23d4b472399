#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/host/appframe/DataBase.h"
#include "geomFeature/pattern/IPattern.h"

namespace Norvane {

// One element of a loop's chain: a pattern (shared with the part's pattern list) and the sense in which the
// loop runs through it. A non-zero follow flag means start point to end point, zero means end to start;
// this flag is the only record of a node's direction and is what the part database stores.
class GF_API PatLoopNode : public DataBase {
public:
    PatLoopNode(const IPatternPtr& pattern, int follow);
    ~PatLoopNode() override = default;

    const IPatternPtr& GetPat() const { return m_pattern; }
    void SetPat(const IPatternPtr& pattern) { m_pattern = pattern; }
    int FollowLoopDir() const { return m_follow; }
    void FollowLoopDir(int follow) { m_follow = follow; }

    // A node with a new identifier on the SAME pattern object and the same follow flag.
    IDataPtr Clone() const override;

private:
    IPatternPtr m_pattern;
    int m_follow;
};

using PatLoopNodePtr = boost::shared_ptr<PatLoopNode>;

}  // namespace Norvane
