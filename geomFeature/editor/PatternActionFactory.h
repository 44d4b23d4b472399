#pragma once

#include <functional>
#include <map>

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/host/appframe/IAction.h"
#include "geomFeature/host/viewkit/GlViewPort.h"
#include "geomFeature/pattern/PatternType.h"

namespace Norvane {

class PatternList;
class PatLoopList;
using PatternListPtr = boost::shared_ptr<PatternList>;
using PatLoopListPtr = boost::shared_ptr<PatLoopList>;

// What an action is built with: the part's lists, the viewport and, for the actions that act on a
// selection, the selected patterns (never empty when the editor builds it, but possibly without patterns).
struct PatternActionContext {
    PatternListPtr patterns;
    PatLoopListPtr loops;
    GlViewPortPtr viewPort;
    PatternListPtr selection;
};

// Makes the module's actions by code for the geometry editor (one table per process). Each code of the
// draw and edit tables has a maker; the module's own actions are registered when the table is first used
// (RegisterBuiltins), and a host or a test may add or replace makers, for example to try an action of its
// own in place of a built-in one. A code without a maker makes nothing, and the editor then keeps its
// current action. Used on the user-interface thread.
class GF_API PatternActionFactory {
public:
    using Maker = std::function<IActionPtr(const PatternActionContext&)>;

    static PatternActionFactory* GetInstance();

    // The new action, or empty when the code has no maker.
    IActionPtr Create(int code, const PatternActionContext& context) const;
    // Installs maker for the code (an empty maker removes it) and answers the one installed before.
    Maker SetMaker(int code, Maker maker);
    int HasMaker(int code) const;

    // 1 for the codes of the drawing tools' table (1-12, 18, 19, 22, 30-33).
    static int IsDrawActionCode(int code);
    // The code of the drawing tool that grip-edits patterns of that kind (line 1, arc 5, rectangle 4, ...),
    // 0 for none.
    static int GetGripToolCode(tagPatternType type);

private:
    PatternActionFactory();
    void RegisterBuiltins();

    std::map<int, Maker> m_makers;
};

}  // namespace Norvane
