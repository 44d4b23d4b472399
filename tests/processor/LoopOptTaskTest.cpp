// The loop optimisation task: what it reports, in which order, and what cancelling leaves behind. Messages
// are caught by a recording poster, which runs inside the task's locked section and so may read (and, to
// cancel at a chosen moment, write) the progress data directly.
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>

#include "geomFeature/host/appframe/ProgressData.h"
#include "geomFeature/host/appframe/ResourceString.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/host/optkit/NVOptionInfo.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/loop/PolyPatLoop.h"
#include "geomFeature/loop/StdPatLoop.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/processor/LoopOptTask.h"
#include "geomFeature/processor/LoopProcessor.h"

namespace Norvane {
namespace {

const WindowHandle kWindow = reinterpret_cast<WindowHandle>(0x5150);

struct Post {
    std::wstring text;
    double percentage;
    bool finished;
};

// A part of `circles` polygon loops, each a circle of radius 20 as 100 chords (sagitta 0.0099), then one
// standard loop of a circle pattern.
struct Part {
    PatternListPtr patterns = boost::make_shared<PatternList>();
    PatLoopListPtr loops = boost::make_shared<PatLoopList>();

    explicit Part(int circles) {
        for (int k = 0; k < circles; ++k) {
            auto loop = boost::make_shared<PolyPatLoop>();
            const auto at = [k](int i) {
                const double a = MathEx::PI2 * (i % 100) / 100;
                return Point2D(100.0 * k + 20 * std::cos(a), 20 * std::sin(a));
            };
            for (int i = 0; i < 100; ++i)
                loop->AppendPattern(boost::make_shared<LinePattern>(at(i), at(i + 1)), 1);
            patterns->AddPatterns(loop->GetPatternList());
            loops->push_back(loop);
        }
        auto circle = boost::make_shared<CirclePattern>(Point2D(0, 100), 5.0);
        patterns->push_back(circle);
        loops->push_back(boost::make_shared<StdPatLoop>(boost::make_shared<PatLoopNode>(circle, 1)));
        patterns->UpdateCache();
        LoopProcessor::UpdateCache(loops);
    }
    std::vector<DataID> PatternIds() const {
        std::vector<DataID> ids;
        for (const IPatternPtr& p : *patterns) ids.push_back(p->GetID());
        return ids;
    }
};

class LoopOptTaskTest : public ::testing::Test {
protected:
    void TearDown() override {
        TaskEx::SetMessagePoster(nullptr);
        NVOptionInfo::GetInstance()->ResetToDefaults();
    }

    // Runs the task on the test's thread; the poster asks for cancellation when it sees post number
    // cancelAt (1-based; 0 never).
    std::vector<Post> Run(const Part& part, int cancelAt = 0) {
        LoopOptTask task(part.patterns, part.loops, 0.05);
        task.SetWindow(kWindow);
        task.SetClosingPause(std::chrono::milliseconds(0));
        const boost::shared_ptr<ProgressData> progress = task.GetProgressData();
        std::vector<Post> posts;
        TaskEx::SetMessagePoster(
            [&](WindowHandle window, unsigned int message, std::uintptr_t w, std::intptr_t l) {
                EXPECT_EQ(window, kWindow);
                EXPECT_EQ(message, 9409u);
                EXPECT_EQ(w, 0u);
                EXPECT_EQ(l, 0);
                posts.push_back({progress->GetSubTask(), progress->GetPercentage(), progress->IsFinished()});
                if (static_cast<int>(posts.size()) == cancelAt)
                    progress->SetCancel(true);
            });
        task.Run();
        TaskEx::SetMessagePoster(nullptr);
        return posts;
    }
};

std::wstring LoopText(int n) {
    return ResourceString::Format(12531, n);
}

TEST_F(LoopOptTaskTest, ReportsEveryLoopThenRebuildsThePatternList) {
    Part part(2);
    const std::vector<Post> posts = Run(part);
    ASSERT_EQ(posts.size(), 5u);
    EXPECT_EQ(posts[0].text, LoopText(1));
    EXPECT_EQ(posts[1].text, LoopText(2));
    EXPECT_EQ(posts[2].text, LoopText(3));
    EXPECT_EQ(posts[2].percentage, 0.0);  // not updated between loops
    EXPECT_EQ(posts[3].text, ResourceString::Load(12532));
    EXPECT_EQ(posts[3].percentage, 100.0);
    EXPECT_FALSE(posts[3].finished);
    EXPECT_EQ(posts[4].text, ResourceString::Load(12533));
    EXPECT_TRUE(posts[4].finished);

    // Each chord circle became one full arc; the pattern list holds exactly the loops' patterns.
    EXPECT_EQ((*part.loops)[0]->GetLoopNodes()->size(), 1u);
    EXPECT_EQ((*part.loops)[1]->GetLoopNodes()->size(), 1u);
    std::vector<DataID> expected;
    for (const IPatLoopPtr& loop : *part.loops) {
        const PatternListPtr own = loop->GetPatternList();
        for (const IPatternPtr& p : *own) expected.push_back(p->GetID());
    }
    EXPECT_EQ(part.PatternIds(), expected);
}

TEST_F(LoopOptTaskTest, CancelledRunKeepsLoopsDoneAndThePatternList) {
    Part part(4);
    const std::vector<DataID> before = part.PatternIds();
    const std::vector<Post> posts = Run(part, 2);  // cancel while loop 2 is being optimised
    ASSERT_EQ(posts.size(), 3u);
    EXPECT_EQ(posts[2].text, ResourceString::Load(12534));
    EXPECT_TRUE(posts[2].finished);
    EXPECT_EQ((*part.loops)[0]->GetLoopNodes()->size(), 1u);
    EXPECT_EQ((*part.loops)[1]->GetLoopNodes()->size(), 1u);
    EXPECT_EQ((*part.loops)[2]->GetLoopNodes()->size(), 100u);
    EXPECT_EQ((*part.loops)[3]->GetLoopNodes()->size(), 100u);
    EXPECT_EQ(part.PatternIds(), before);
}

TEST_F(LoopOptTaskTest, EmptyLoopListOnlyFinishesAndEmptiesThePatternList) {
    Part part(0);
    part.loops->clear();
    const std::vector<Post> posts = Run(part);
    ASSERT_EQ(posts.size(), 1u);
    EXPECT_EQ(posts[0].text, ResourceString::Load(12533));
    EXPECT_TRUE(part.patterns->empty());
}

// With lines first, the line pass halves the chords before the arc fit sees them (the node after each
// segment start always joins), and their doubled sagitta no longer fits: the option is read per loop.
TEST_F(LoopOptTaskTest, ArcFirstOptionDecidesTheOrder) {
    ImpExpConfig linesFirst = *NVOptionInfo::GetInstance()->GetImpExpConfig();
    linesFirst.ArcFirst = 0;
    NVOptionInfo::GetInstance()->SetImpExpConfig(linesFirst);
    Part part(1);
    Run(part);
    EXPECT_GT((*part.loops)[0]->GetLoopNodes()->size(), 1u);
}

TEST_F(LoopOptTaskTest, RunsOnAWorkerThread) {
    Part part(3);
    LoopOptTask task(part.patterns, part.loops, 0.05);
    task.SetClosingPause(std::chrono::milliseconds(0));
    ASSERT_TRUE(task.Start());
    task.Join();
    std::lock_guard<std::mutex> lock(task.GetProgressData()->GetMutex());
    EXPECT_TRUE(task.GetProgressData()->IsFinished());
    EXPECT_EQ(part.patterns->size(), 3u + 1u);
}

}  // namespace
}  // namespace Norvane
