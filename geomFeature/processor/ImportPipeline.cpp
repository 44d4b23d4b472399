#include "geomFeature/processor/ImportPipeline.h"

#include <chrono>
#include <ctime>
#include <vector>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/appframe/ResourceString.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/loop/PolyPatLoop.h"
#include "geomFeature/pattern/ArcPattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/processor/LoopBuilder.h"
#include "geomFeature/processor/LoopProcessor.h"
#include "geomFeature/processor/LoopTopItemList.h"
#include "geomFeature/processor/PatGrouper.h"
#include "geomFeature/processor/PatProcessor.h"
#include "geomFeature/processor/ProcessorTolerance.h"
#include "geomFeature/processor/TolerantGrouper.h"

namespace Norvane {

namespace {

// String resources of the progress texts.
constexpr int kResImportMerge = 12541;
constexpr int kResImportRemoveTiny = 12542;
constexpr int kResImportMoveToOrigin = 12543;
constexpr int kResImportBuildLoops = 12544;
constexpr int kResImportOrient = 12545;
constexpr int kResImportRecognise = 12546;
constexpr int kResImportNesting = 12547;
constexpr int kResImportFinished = 12548;
constexpr int kResImportCancelled = 12549;

struct Context {
    Part& part;
    const ImportOptions& options;
    ImportReport& report;
    ProgressMeter& meter;
    std::wstring text;  // the stage's progress text and its share of the whole, in percent
    double from = 0.0;
    double to = 0.0;
    bool jointsClosed = false;  // tolerant imports: the polygon loops' joints were made exact

    // Narrows the progress to a part of the stage's share (fractions of it), so that a stage of several
    // steps reports each from where the last one ended.
    void Share(double begin, double end) {
        meter.BeginStage(text, from + begin * (to - from), from + end * (to - from));
    }
};

void Merge(Context& c) {
    std::vector<DataID> merged;
    PatProcessor::MergePattern(c.part.patterns, c.options.mergeTol, merged, &c.meter);
    c.report.duplicatesMerged = merged.size();
}

void RemoveTiny(Context& c) {
    if (c.options.tolerant) {
        return;  // only after chaining, where a closed contour can be told from junk
    }
    const std::size_t before = c.part.patterns->size();
    PatProcessor::RemoveTinyPatterns(c.part.patterns, c.options.tinySize);
    c.report.tinyRemoved = before - c.part.patterns->size();
}

void MoveToOrigin(Context& c) {
    PatProcessor::AdjustOriginToLB(c.part.patterns, &c.meter);
}

void BuildLoops(Context& c) {
    c.Share(0.0, 0.85);
    c.part.loops = c.part.patterns->empty()
                       ? boost::make_shared<PatLoopList>()
                       : LoopBuilder::BuildPatLoops(c.part.patterns, c.options.joinTol, &c.meter);
    if (c.options.tolerant) {
        c.report.tinyRemoved += ImportPipeline::DropTinyChainEnds(
            c.part.patterns, c.part.loops, c.options.joinTol, c.options.removeTiny ? c.options.tinySize : 0.0);
    }
    // The caches of new loops: every later stage reads them.
    c.Share(0.85, 1.0);
    const std::size_t count = c.part.loops->size();
    for (std::size_t i = 0; i < count && c.meter.Step(i, count); ++i) {
        LoopProcessor::UpdateCache((*c.part.loops)[i]);
    }
}

// The tolerance that decides open or closed after chaining.
double CloseTolerance(const Context& c) {
    return c.options.tolerant ? c.options.joinTol : kOpenLoopTol;
}

void Orient(Context& c) {
    ImportPipeline::OrientClosedLoops(c.part.loops, &c.meter, CloseTolerance(c));
}

std::size_t CountStandardLoops(const PatLoopList& loops) {
    std::size_t count = 0;
    for (const IPatLoopPtr& loop : loops) {
        count += loop->GetLoopType() == LOOP_STD ? 1 : 0;
    }
    return count;
}

void Recognise(Context& c) {
    const std::size_t standardBefore = CountStandardLoops(*c.part.loops);
    if (c.options.tolerant) {
        // The module's exact ellipse rule accepts chains whose vertices stray by up to the chord error, a
        // dented contour among them; in a tolerant import only the fit decides.
        TolerantGrouper::GroupPat(c.part.patterns, c.part.loops, c.options.joinTol, &c.meter);
    } else {
        PatGrouper::GroupPat(c.part.patterns, c.part.loops, &c.meter);
    }
    c.report.shapesRecognised = CountStandardLoops(*c.part.loops) - standardBefore;
}

// Every stage keeps the caches of what it changes current (a changed pattern is refreshed, and so is a
// loop whose nodes changed), so only loops that never had their cache filled need it: the new loops of
// recognised shapes. Refreshing the others would give them the very same cache.
// Tolerant imports close the joints of the loops that stay polygons once, after recognition (which reads
// the pieces as drawn) and before anything that judges them closed or open.
void CloseJointsOnce(Context& c) {
    if (c.options.tolerant && !c.jointsClosed) {
        ImportPipeline::CloseJoints(c.part.loops, c.options.joinTol);
        c.jointsClosed = true;
    }
}

void Nest(Context& c) {
    CloseJointsOnce(c);
    c.Share(0.0, 0.1);
    const std::size_t count = c.part.loops->size();
    for (std::size_t i = 0; i < count && c.meter.Step(i, count); ++i) {
        const IPatLoopPtr& loop = (*c.part.loops)[i];
        const PatLoopCachePtr cache = loop->GetCacheData();
        if (!cache || !cache->GetLoopBaseGeom() || cache->GetLoopBaseGeom()->empty()) {
            LoopProcessor::UpdateCache(loop);
        }
    }
    c.Share(0.1, 1.0);
    c.part.tree = LoopProcessor::CalcLoopTopStruct(c.part.loops, CloseTolerance(c), &c.meter);
    if (!c.part.loops->empty() && !c.meter.IsCancelled()) {
        c.part.loops->UpdateBoundaryLoop();
    }
}

struct Stage {
    tagImportStage stage;
    bool ImportOptions::*enabled;
    void (*run)(Context&);
    double from;  // its share of the whole run, in percent
    double to;
};

// In running order; the shares follow the stages' cost on large plates.
const Stage kStages[] = {
    {tagImportStage::Merge, &ImportOptions::merge, Merge, 0, 25},
    {tagImportStage::RemoveTiny, &ImportOptions::removeTiny, RemoveTiny, 25, 27},
    {tagImportStage::MoveToOrigin, &ImportOptions::moveToOrigin, MoveToOrigin, 27, 29},
    {tagImportStage::BuildLoops, nullptr, BuildLoops, 29, 55},
    {tagImportStage::Orient, &ImportOptions::orient, Orient, 55, 62},
    {tagImportStage::Recognise, &ImportOptions::recognise, Recognise, 62, 72},
    {tagImportStage::Nesting, &ImportOptions::nest, Nest, 72, 100},
};

double CpuSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

}  // namespace

std::wstring ImportPipeline::StageText(tagImportStage stage) {
    switch (stage) {
        case tagImportStage::Merge:
            return ResourceString::Load(kResImportMerge);
        case tagImportStage::RemoveTiny:
            return ResourceString::Load(kResImportRemoveTiny);
        case tagImportStage::MoveToOrigin:
            return ResourceString::Load(kResImportMoveToOrigin);
        case tagImportStage::BuildLoops:
            return ResourceString::Load(kResImportBuildLoops);
        case tagImportStage::Orient:
            return ResourceString::Load(kResImportOrient);
        case tagImportStage::Recognise:
            return ResourceString::Load(kResImportRecognise);
        case tagImportStage::Nesting:
            return ResourceString::Load(kResImportNesting);
    }
    return std::wstring();
}

Part ImportPipeline::Run(const PatternListPtr& patterns, const ImportOptions& options, ImportReport& report,
                         const boost::shared_ptr<ProgressData>& progress,
                         const ProgressMeter::Notify& notify) {
    ProgressMeter meter(progress, notify);
    Part part;
    part.patterns = patterns ? patterns : boost::make_shared<PatternList>();
    part.loops = boost::make_shared<PatLoopList>();
    report = ImportReport();
    report.piecesIn = part.patterns->size();
    Context context{part, options, report, meter, std::wstring(), 0.0, 0.0};

    for (const Stage& stage : kStages) {
        // Loops are always built: every later stage and every caller works on them.
        if (stage.enabled && !(options.*stage.enabled)) {
            continue;
        }
        context.text = StageText(stage.stage);
        context.from = stage.from;
        context.to = stage.to;
        meter.BeginStage(context.text, stage.from, stage.to);
        if (meter.IsCancelled()) {
            break;
        }
        const auto wall = std::chrono::steady_clock::now();
        const double cpu = CpuSeconds();
        stage.run(context);
        report.stages.push_back(
            {stage.stage, std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count(),
             CpuSeconds() - cpu});
        if (meter.IsCancelled()) {
            break;
        }
    }
    if (!meter.IsCancelled()) {
        CloseJointsOnce(context);  // when nesting did not run
    }
    report.cancelled = meter.IsCancelled();
    meter.Finish(ResourceString::Load(report.cancelled ? kResImportCancelled : kResImportFinished));
    return part;
}

void ImportPipeline::ReversePiece(const IPatternPtr& pattern) {
    if (auto line = boost::dynamic_pointer_cast<LinePattern>(pattern)) {
        const Point2D end = line->GetEndPoint();
        const Vector2D v = line->GetBaseVector();
        line->SetBasePoint(end);
        line->SetBaseVector(Vector2D(-v.x, -v.y));
    } else if (auto arc = boost::dynamic_pointer_cast<ArcPattern>(pattern)) {
        const double sweep = arc->GetMoveAngle();
        arc->SetStartAngle(arc->GetEndAngle());
        arc->SetMoveAngle(-sweep);
    }
    pattern->UpdateCache();
}

void ImportPipeline::OrientClosedLoops(const PatLoopListPtr& loops, ProgressMeter* progress, double closeTol) {
    const std::size_t count = loops->size();
    for (std::size_t i = 0; i < count; ++i) {
        if (progress && !progress->Step(i, count)) {
            return;
        }
        const IPatLoopPtr& loop = (*loops)[i];
        auto poly = boost::dynamic_pointer_cast<PolyPatLoop>(loop);
        if (!poly || poly->IsOpenPath(closeTol))
            continue;
        const PatLoopNodeListPtr nodes = poly->GetLoopNodes();
        if (nodes->empty())
            continue;
        const tagDirection wanted = nodes->size() == 1 ? DIR_CCW : DIR_CW;
        bool changed = false;
        if (poly->GetDirection() != wanted) {
            poly->ReverseDirection();
            changed = true;
        }
        for (const PatLoopNodePtr& node : *nodes) {
            if (node->FollowLoopDir())
                continue;
            ReversePiece(node->GetPat());
            node->FollowLoopDir(1);
            changed = true;
        }
        // The loop's outline follows its nodes: refresh it when they changed.
        if (changed)
            LoopProcessor::UpdateCache(loop);
    }
}

void ImportPipeline::ComputeNesting(Part& part) {
    LoopProcessor::UpdateCacheEx(part.loops);
    part.tree = LoopProcessor::CalcLoopTopStruct(part.loops);
    if (!part.loops->empty())
        part.loops->UpdateBoundaryLoop();
}

}  // namespace Norvane
