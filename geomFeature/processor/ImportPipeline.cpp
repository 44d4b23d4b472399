#include "geomFeature/processor/ImportPipeline.h"

#include <chrono>
#include <ctime>
#include <map>
#include <unordered_set>
#include <vector>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/appframe/ResourceString.h"
#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/RepeatData.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/loop/PolyPatLoop.h"
#include "geomFeature/pattern/ArcPattern.h"
#include "geomFeature/pattern/IArrayPattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/processor/LoopBuilder.h"
#include "geomFeature/processor/LoopProcessor.h"
#include "geomFeature/processor/LoopTopItemList.h"
#include "geomFeature/processor/PatArrayBuilder.h"
#include "geomFeature/processor/PatGrouper.h"
#include "geomFeature/processor/PatProcessor.h"
#include "geomFeature/processor/ProcessorTolerance.h"
#include "geomFeature/processor/StdShapeCanonical.h"

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
constexpr int kResImportOptimize = 12571;
constexpr int kResImportDuplicates = 12572;
constexpr int kResImportArrays = 12573;

struct Context {
    Part& part;
    const ImportOptions& options;
    ImportReport& report;
    ProgressMeter& meter;
    std::wstring text;  // the stage's progress text and its share of the whole, in percent
    double from = 0.0;
    double to = 0.0;

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
    // The caches of new loops: every later stage reads them.
    c.Share(0.85, 1.0);
    const std::size_t count = c.part.loops->size();
    for (std::size_t i = 0; i < count && c.meter.Step(i, count); ++i) {
        LoopProcessor::UpdateCache((*c.part.loops)[i]);
    }
}

void Orient(Context& c) {
    ImportPipeline::OrientClosedLoops(c.part.loops, &c.meter);
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
    PatGrouper::GroupPat(c.part.patterns, c.part.loops, &c.meter);
    c.report.shapesRecognised = CountStandardLoops(*c.part.loops) - standardBefore;
}

// Every stage keeps the caches of what it changes current (a changed pattern is refreshed, and so is a
// loop whose nodes changed), so only loops that never had their cache filled need it: the new loops of
// recognised shapes. Refreshing the others would give them the very same cache.
void FillMissingLoopCaches(Context& c) {
    const std::size_t count = c.part.loops->size();
    for (std::size_t i = 0; i < count && c.meter.Step(i, count); ++i) {
        const IPatLoopPtr& loop = (*c.part.loops)[i];
        const PatLoopCachePtr cache = loop->GetCacheData();
        if (!cache || !cache->GetLoopBaseGeom() || cache->GetLoopBaseGeom()->empty()) {
            LoopProcessor::UpdateCache(loop);
        }
    }
}

void Nest(Context& c) {
    c.Share(0.0, 0.1);
    FillMissingLoopCaches(c);
    c.Share(0.1, 1.0);
    c.part.tree = LoopProcessor::CalcLoopTopStruct(c.part.loops, &c.meter);
    if (!c.part.loops->empty() && !c.meter.IsCancelled()) {
        c.part.loops->UpdateBoundaryLoop();
    }
}

// --- Optimisation, duplicate loops, arrays ---------------------------------------------------------

void AddLoopPatterns(const IPatLoopPtr& loop, std::unordered_set<IPattern*>& into) {
    for (const PatLoopNodePtr& node : *loop->GetLoopNodes()) into.insert(node->GetPat().get());
}

// Removes from patterns every pattern of `gone` that is not in `kept`.
void DropPatterns(const PatternListPtr& patterns, const std::unordered_set<IPattern*>& gone,
                  const std::unordered_set<IPattern*>& kept) {
    auto doomed = boost::make_shared<PatternList>();
    for (const IPatternPtr& pattern : *patterns) {
        if (gone.count(pattern.get()) != 0 && kept.count(pattern.get()) == 0) doomed->push_back(pattern);
    }
    patterns->RemovePatterns(doomed);
}

// Runs of short lines in polygon loops become arcs and longer lines, each within optimizeTol of what it
// replaces (OptimizeToArc, then MergeCoLineNode). The direction-bound line collapse of the optimisation
// task is left out: it promises no distance. The loops that changed are oriented again and tried by the
// recogniser once more; loops that were already standard shapes are not touched, so an ellipse drawn as a
// ring of lines, recognised before, is never turned into arcs first. A cancel stops between loops; the
// pattern list then matches the loops as they are.
void Optimize(Context& c) {
    c.Share(0.0, 0.7);
    const PatLoopListPtr& loops = c.part.loops;
    auto changed = boost::make_shared<PatLoopList>();
    auto others = boost::make_shared<PatLoopList>();
    std::unordered_set<IPattern*> replaced;  // pieces the optimised loops no longer hold
    const std::size_t count = loops->size();
    for (std::size_t i = 0; i < count; ++i) {
        const IPatLoopPtr& loop = (*loops)[i];
        const auto poly = boost::dynamic_pointer_cast<PolyPatLoop>(loop);
        if (!c.meter.Step(i, count) || !poly || loop->GetLoopNodes()->size() < 2) {
            others->push_back(loop);
            continue;
        }
        std::unordered_set<IPattern*> old;
        AddLoopPatterns(loop, old);
        const std::size_t pieces = loop->GetLoopNodes()->size();
        LoopProcessor::OptimizeToArc(poly, c.options.optimizeTol);
        LoopProcessor::MergeCoLineNode(poly);
        const std::size_t left = loop->GetLoopNodes()->size();
        if (left == pieces) {
            others->push_back(loop);
            continue;
        }
        c.report.optimizeRemoved += pieces - left;
        changed->push_back(loop);
        for (const PatLoopNodePtr& node : *loop->GetLoopNodes()) {
            if (old.erase(node->GetPat().get()) == 0) c.part.patterns->push_back(node->GetPat());
        }
        replaced.insert(old.begin(), old.end());
    }
    DropPatterns(c.part.patterns, replaced, std::unordered_set<IPattern*>());
    if (!c.meter.IsCancelled()) {
        c.Share(0.7, 0.75);
        ImportPipeline::OrientClosedLoops(changed, &c.meter);
        c.Share(0.75, 1.0);
        PatGrouper::GroupPat(c.part.patterns, changed, &c.meter);
        c.report.optimizeRecognised = CountStandardLoops(*changed);
        c.report.shapesRecognised += c.report.optimizeRecognised;
    }
    loops->assign(others->begin(), others->end());
    loops->insert(loops->end(), changed->begin(), changed->end());
}

// Every point sampled on a's outline (each element at 0, 1/4, 1/2, 3/4 of its length) lies within tol of
// b's outline.
bool OutlineOnOutline(const Geom2DList& a, const Geom2DList& b, double tol) {
    for (const IGeom2DPtr& g : a) {
        for (const double f : {0.0, 0.25, 0.5, 0.75}) {
            const Point2D p = g->GetPointAtPercent(f);
            bool near = false;
            for (std::size_t k = 0; k < b.size() && !near; ++k) near = b[k]->DistanceTo(p) <= tol;
            if (!near) return false;
        }
    }
    return true;
}

bool SameOutline(const IPatLoopPtr& a, const IPatLoopPtr& b) {
    const Geom2DListPtr ga = a->GetCacheData()->GetLoopBaseGeom();
    const Geom2DListPtr gb = b->GetCacheData()->GetLoopBaseGeom();
    return OutlineOnOutline(*ga, *gb, kOverlapLoopTol) && OutlineOnOutline(*gb, *ga, kOverlapLoopTol);
}

// DeleteOverlappedLoops compares cached outlines, so the loops of shapes recognised just before get theirs
// first. It pairs loops by box, length and element count only, which also pairs a contour with its mirror
// image in the same box (blocks inserted mirrored at one place do that), so a loop it removed goes only when
// its outline runs along the outline of a loop that stays; the others come back. The patterns of a removed
// loop leave the pattern list with it.
void RemoveDuplicates(Context& c) {
    c.Share(0.0, 0.5);
    FillMissingLoopCaches(c);
    if (c.meter.IsCancelled()) return;
    c.Share(0.5, 1.0);
    const std::vector<IPatLoopPtr> all(c.part.loops->begin(), c.part.loops->end());
    LoopProcessor::DeleteOverlappedLoops(c.part.loops);
    if (c.part.loops->size() == all.size()) return;
    // The loops that stay, by the left of their boxes: a duplicate's box agrees within kOverlapLoopTol.
    std::multimap<double, IPatLoopPtr> staying;
    std::unordered_set<IPatLoop*> stay;
    for (const IPatLoopPtr& loop : *c.part.loops) {
        staying.emplace(loop->GetCacheData()->GetLoopRect().left, loop);
        stay.insert(loop.get());
    }
    std::unordered_set<IPattern*> gone;
    for (const IPatLoopPtr& loop : all) {
        if (stay.count(loop.get()) != 0) continue;
        const double left = loop->GetCacheData()->GetLoopRect().left;
        bool duplicate = false;
        for (auto it = staying.lower_bound(left - kOverlapLoopTol);
             it != staying.end() && it->first <= left + kOverlapLoopTol && !duplicate; ++it) {
            duplicate = LoopProcessor::TwoLoopsOverlapped(loop.get(), it->second.get()) &&
                        SameOutline(loop, it->second);
        }
        if (duplicate) {
            ++c.report.duplicateLoops;
            AddLoopPatterns(loop, gone);
        } else {
            c.part.loops->push_back(loop);
            staying.emplace(left, loop);
        }
    }
    std::unordered_set<IPattern*> kept;
    for (const IPatLoopPtr& loop : *c.part.loops) AddLoopPatterns(loop, kept);
    DropPatterns(c.part.patterns, gone, kept);
}

// Recognised shapes are first given their canonical descriptions (the recogniser describes a shape from
// the corner its contour happens to start at), so that equal holes compare equal and can form arrays.
void Arrays(Context& c) {
    c.Share(0.0, 0.3);
    const std::size_t count = c.part.loops->size();
    for (std::size_t i = 0; i < count && c.meter.Step(i, count); ++i) {
        const IPatLoopPtr& loop = (*c.part.loops)[i];
        if (loop->GetLoopType() != LOOP_STD || loop->GetLoopNodes()->size() != 1) continue;
        CanonicaliseStdShape(loop->GetLoopNodes()->front()->GetPat());
        LoopProcessor::UpdateCache(loop);
    }
    if (c.meter.IsCancelled()) return;
    c.Share(0.3, 1.0);
    PatArrayBuilder::GridPat(c.part.patterns, c.part.loops);
    for (const IPatLoopPtr& loop : *c.part.loops) {
        if (loop->GetLoopType() != LOOP_ARRAY) continue;
        const auto array = boost::dynamic_pointer_cast<IArrayPattern>(loop->GetPatByNodeIdx(0));
        if (!array) continue;
        ++c.report.arrays;
        const RepeatDataPtr further = array->GetRepeatData();  // one matrix per copy after the first
        c.report.arrayCopies += 1 + (further ? further->size() : 0);
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
    {tagImportStage::Recognise, &ImportOptions::recognise, Recognise, 62, 70},
    {tagImportStage::Optimize, &ImportOptions::optimize, Optimize, 70, 76},
    {tagImportStage::Duplicates, &ImportOptions::removeDuplicates, RemoveDuplicates, 76, 78},
    {tagImportStage::Arrays, &ImportOptions::arrays, Arrays, 78, 84},
    {tagImportStage::Nesting, &ImportOptions::nest, Nest, 84, 100},
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
        case tagImportStage::Optimize:
            return ResourceString::Load(kResImportOptimize);
        case tagImportStage::Duplicates:
            return ResourceString::Load(kResImportDuplicates);
        case tagImportStage::Arrays:
            return ResourceString::Load(kResImportArrays);
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

void ImportPipeline::OrientClosedLoops(const PatLoopListPtr& loops, ProgressMeter* progress) {
    const std::size_t count = loops->size();
    for (std::size_t i = 0; i < count; ++i) {
        if (progress && !progress->Step(i, count)) {
            return;
        }
        const IPatLoopPtr& loop = (*loops)[i];
        auto poly = boost::dynamic_pointer_cast<PolyPatLoop>(loop);
        if (!poly || poly->IsOpenPath(kOpenLoopTol))
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
