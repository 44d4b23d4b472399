// The progress meter publishes within a stage (not only between stages), never goes back, keeps each stage
// to its share of the whole, and stops the work once a cancel is asked.
#include <mutex>
#include <vector>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>

#include "geomFeature/host/appframe/ProgressData.h"
#include "geomFeature/host/appframe/ProgressMeter.h"

namespace Norvane {
namespace {

struct Seen {
    double percentage;
    std::wstring text;
};

TEST(ProgressMeterTest, PublishesWithinStagesInOrderAndWithinTheirShare) {
    auto data = boost::make_shared<ProgressData>();
    std::vector<Seen> seen;
    // No least interval: every clock look publishes, i.e. every 64th step.
    ProgressMeter meter(
        data,
        [&] {
            std::lock_guard<std::mutex> lock(data->GetMutex());
            seen.push_back({data->GetPercentage(), data->GetSubTask()});
        },
        std::chrono::milliseconds(0));
    meter.BeginStage(L"first", 0, 40);
    for (std::size_t i = 0; i < 1000; ++i) ASSERT_TRUE(meter.Step(i, 1000));
    meter.BeginStage(L"second", 40, 100);
    for (std::size_t i = 0; i < 1000; ++i) ASSERT_TRUE(meter.Step(i, 1000));
    meter.Finish(L"done");

    ASSERT_GT(seen.size(), 20u);  // 1 + 15 per stage and the end, not just the stage boundaries
    for (std::size_t k = 1; k < seen.size(); ++k) EXPECT_LE(seen[k - 1].percentage, seen[k].percentage);
    for (const Seen& s : seen) {
        const bool first = s.text == L"first";
        EXPECT_TRUE(first ? s.percentage <= 40.0 : s.percentage >= 40.0) << s.percentage;
    }
    EXPECT_EQ(seen.back().percentage, 100.0);
    std::lock_guard<std::mutex> lock(data->GetMutex());
    EXPECT_TRUE(data->IsFinished());
    EXPECT_EQ(data->GetSubTask(), L"done");
}

TEST(ProgressMeterTest, ACancelStopsTheWorkAtTheNextPublication) {
    auto data = boost::make_shared<ProgressData>();
    ProgressMeter meter(data, ProgressMeter::Notify(), std::chrono::milliseconds(0));
    meter.BeginStage(L"work", 0, 100);
    std::size_t done = 0;
    for (; done < 100000; ++done) {
        if (done == 500) {
            std::lock_guard<std::mutex> lock(data->GetMutex());
            data->SetCancel(true);
        }
        if (!meter.Step(done, 100000))
            break;
    }
    EXPECT_GE(done, 500u);
    EXPECT_LT(done, 500u + 64u);  // noticed at the next look, within one batch of steps
    EXPECT_TRUE(meter.IsCancelled());
    EXPECT_FALSE(meter.Step(done + 1, 100000));
}

TEST(ProgressMeterTest, WithoutDataItCountsNothingAndIsNeverCancelled) {
    ProgressMeter meter;
    meter.BeginStage(L"work", 0, 100);
    for (std::size_t i = 0; i < 10000; ++i) ASSERT_TRUE(meter.Step(i, 10000));
    meter.Finish(L"done");
    EXPECT_FALSE(meter.IsCancelled());
}

}  // namespace
}  // namespace Norvane
