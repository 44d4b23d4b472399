#pragma once

#include <chrono>

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/host/appframe/TaskEx.h"

namespace Norvane {

class PatternList;
class PatLoopList;
using PatternListPtr = boost::shared_ptr<PatternList>;
using PatLoopListPtr = boost::shared_ptr<PatLoopList>;

// Optimises every polygon loop of a part on a worker thread (TaskEx::Start), then rebuilds the part's
// pattern list from the loops.
//
// Per loop, in list order: the progress text becomes resource 12531 with the loop's 1-based number; a
// polygon loop then gets OptimizeToArc and OptimizeToLine (arcs first when the option ImpExpConfig::ArcFirst
// is set, lines first otherwise) and MergeCoLineNode, all with the task's tolerance; other loops are left
// alone. After the last loop the percentage becomes 100 and the text 12532. Then the pattern list is
// cleared and refilled with every loop's patterns, loop by loop (an array loop gives its array and seed),
// every cache is refreshed, and after a pause the task is finished with text 12533.
//
// Cancelling (ProgressData::SetCancel) is seen before each loop: the task finishes at once with text 12534;
// the loops done so far stay optimised, the others untouched, and the pattern list is not rebuilt (it still
// holds the patterns it held, none of them changed).
//
// Every change of the progress data is made under its mutex and followed, still under it, by posting
// kProgressMessage with both parameters 0 to the task's window. The lists are not locked: nobody may touch
// them while the task runs.
class GF_API LoopOptTask : public TaskEx {
public:
    // The window message posted after each change of the progress data.
    static constexpr unsigned int kProgressMessage = 9409;

    LoopOptTask(const PatternListPtr& patterns, const PatLoopListPtr& loops, double tolerance);
    ~LoopOptTask() override;

    void Run() override;

    // How long the task waits after refreshing the caches before it reports the end, so that a progress
    // window can show the last step: 1000 ms unless set (tests set 0).
    void SetClosingPause(std::chrono::milliseconds pause) { m_closingPause = pause; }

private:
    // Under the progress mutex: sets the text (and, when percentage >= 0, the percentage; when finished, the
    // finished flag) and posts the message.
    void Report(const std::wstring& text, double percentage, bool finished);

    PatternListPtr m_patterns;
    PatLoopListPtr m_loops;
    double m_tolerance;
    std::chrono::milliseconds m_closingPause{1000};
};

}  // namespace Norvane
