#include "geomFeature/processor/LoopOptTask.h"

#include <mutex>
#include <thread>

#include <boost/pointer_cast.hpp>

#include "geomFeature/host/appframe/ProgressData.h"
#include "geomFeature/host/appframe/ResourceString.h"
#include "geomFeature/host/optkit/NVOptionInfo.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/loop/PolyPatLoop.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/processor/LoopProcessor.h"

namespace Norvane {

namespace {

constexpr int kResLoopProgress = 12531;  // "Optimising loop %d..."
constexpr int kResLastLoopDone = 12532;
constexpr int kResFinished = 12533;
constexpr int kResCancelled = 12534;

}  // namespace

LoopOptTask::LoopOptTask(const PatternListPtr& patterns, const PatLoopListPtr& loops, double tolerance)
    : m_patterns(patterns), m_loops(loops), m_tolerance(tolerance) {}

// Run reads the derived part's members: the worker must be gone before they are.
LoopOptTask::~LoopOptTask() {
    Join();
}

void LoopOptTask::Report(const std::wstring& text, double percentage, bool finished) {
    // The caller holds the mutex.
    if (percentage >= 0.0)
        m_progress->SetPercentage(percentage);
    if (finished)
        m_progress->SetFinished(true);
    m_progress->SetSubTask(text);
    PostMessageToWindow(kProgressMessage, 0, 0);
}

void LoopOptTask::Run() {
    const std::size_t count = m_loops ? m_loops->size() : 0;
    for (std::size_t i = 0; i < count; ++i) {
        {
            std::lock_guard<std::mutex> lock(m_progress->GetMutex());
            if (m_progress->IsCancelled()) {
                Report(ResourceString::Load(kResCancelled), -1.0, true);
                return;
            }
            Report(ResourceString::Format(kResLoopProgress, static_cast<long long>(i + 1)), -1.0, false);
        }
        const IPatLoopPtr& loop = (*m_loops)[i];
        if (loop->GetLoopType() == LOOP_POLY) {
            if (const auto poly = boost::dynamic_pointer_cast<PolyPatLoop>(loop)) {
                if (NVOptionInfo::GetInstance()->GetImpExpConfig()->ArcFirst != 0) {
                    LoopProcessor::OptimizeToArc(poly, m_tolerance);
                    LoopProcessor::OptimizeToLine(poly, m_tolerance);
                } else {
                    LoopProcessor::OptimizeToLine(poly, m_tolerance);
                    LoopProcessor::OptimizeToArc(poly, m_tolerance);
                }
                LoopProcessor::MergeCoLineNode(poly);
            }
        }
        if (i + 1 == count) {
            std::lock_guard<std::mutex> lock(m_progress->GetMutex());
            Report(ResourceString::Load(kResLastLoopDone), 100.0, false);
        }
    }
    if (m_patterns) {
        m_patterns->clear();
        for (std::size_t i = 0; i < count; ++i) m_patterns->AddPatterns((*m_loops)[i]->GetPatternList());
    }
    if (m_loops)
        LoopProcessor::UpdateCacheEx(m_loops);
    std::this_thread::sleep_for(m_closingPause);
    std::lock_guard<std::mutex> lock(m_progress->GetMutex());
    Report(ResourceString::Load(kResFinished), -1.0, true);
}

}  // namespace Norvane
