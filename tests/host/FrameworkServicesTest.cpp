#include <ostream>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "geomFeature/host/logkit/LogMgr.h"
#include "geomFeature/host/optkit/NVOptionInfo.h"

namespace Norvane {
namespace {

class LogMgrTest : public ::testing::Test {
protected:
    void SetUp() override { m_wasEnabled = LogMgr::IsEnabled(); }
    void TearDown() override {
        LogMgr::SetSink(nullptr);
        LogMgr::SetEnabled(m_wasEnabled);
    }

private:
    bool m_wasEnabled = false;
};

TEST_F(LogMgrTest, SinkReceivesEveryMessageFromConcurrentThreadsIntact) {
    // The sink itself is not thread-safe: the log must call it one message at a time.
    std::vector<std::wstring> received;
    LogMgr::SetSink([&received](const std::wstring& text) { received.push_back(text); });
    LogMgr::SetEnabled(false);  // a sink hears messages whether or not stderr logging is on

    constexpr int kThreads = 4;
    constexpr int kPerThread = 200;
    std::vector<std::thread> workers;
    for (int t = 0; t < kThreads; ++t) {
        workers.emplace_back([t] {
            for (int i = 0; i < kPerThread; ++i) {
                LogMgr::DebugWarn(L"thread " + std::to_wstring(t) + L" message " + std::to_wstring(i));
            }
        });
    }
    for (std::thread& w : workers) {
        w.join();
    }
    ASSERT_EQ(received.size(), static_cast<std::size_t>(kThreads * kPerThread));
    EXPECT_EQ(std::set<std::wstring>(received.begin(), received.end()).size(), received.size());
}

TEST_F(LogMgrTest, DefaultSinkWritesUtf8LinesToStderrOnlyWhenEnabled) {
    LogMgr::SetSink(nullptr);

    LogMgr::SetEnabled(false);
    ::testing::internal::CaptureStderr();
    LogMgr::DebugWarn(L"hidden");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");

    LogMgr::SetEnabled(true);
    EXPECT_TRUE(LogMgr::IsEnabled());
    ::testing::internal::CaptureStderr();
    LogMgr::DebugWarn(L"segment caf\u00e9 \u2220", reinterpret_cast<WindowHandle>(0x1));
    const std::string out = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(out.find("segment caf\xC3\xA9 \xE2\x88\xA0\n"), std::string::npos) << out;
}

class NVOptionInfoTest : public ::testing::Test {
protected:
    void TearDown() override { NVOptionInfo::GetInstance()->ResetToDefaults(); }
};

TEST(DisplayParamTest, ColourLayoutPutsRedInTheLowByte) {
    EXPECT_EQ(DisplayParam::MakeColor(255, 0, 0), 255ul);
    EXPECT_EQ(DisplayParam::MakeColor(239, 247, 253), 16644079ul);
    EXPECT_EQ(DisplayParam::GetRed(16644079ul), 239u);
    EXPECT_EQ(DisplayParam::GetGreen(16644079ul), 247u);
    EXPECT_EQ(DisplayParam::GetBlue(16644079ul), 253u);
}

struct BackgroundCase {
    const char* name;
    unsigned long background;
    bool light;

    friend void PrintTo(const BackgroundCase& c, std::ostream* os) { *os << c.name; }
};

class DisplayParamBackgroundTest : public ::testing::TestWithParam<BackgroundCase> {};

TEST_P(DisplayParamBackgroundTest, ColoursStandOutFromTheBackgroundAndEachOther) {
    const BackgroundCase& c = GetParam();
    const DisplayParam p = DisplayParam::ForBackground(c.background);
    EXPECT_EQ(p.BackgroundColor, c.background);
    EXPECT_EQ(DisplayParam::IsLight(c.background), c.light);
    // Ordinary outlines take the side of the brightness scale opposite to the background.
    EXPECT_NE(DisplayParam::IsLight(p.PatColor), c.light);
    const std::set<unsigned long> colours{p.PatColor, p.ActivePatColor, p.SelPatColor, p.CtrlPtColor,
                                          p.BackgroundColor};
    EXPECT_EQ(colours.size(), 5u);
}

INSTANTIATE_TEST_SUITE_P(
    Backgrounds, DisplayParamBackgroundTest,
    ::testing::Values(BackgroundCase{"White", DisplayParam::MakeColor(255, 255, 255), true},
                      BackgroundCase{"Black", DisplayParam::MakeColor(0, 0, 0), false},
                      BackgroundCase{"PaleBlue", 16644079ul, true},
                      BackgroundCase{"NavyBlue", DisplayParam::MakeColor(0, 0, 128), false}),
    [](const ::testing::TestParamInfo<BackgroundCase>& info) { return std::string(info.param.name); });

TEST_F(NVOptionInfoTest, DefaultsSuitALightViewAndArcFirstOptimisation) {
    NVOptionInfo* options = NVOptionInfo::GetInstance();
    auto display = options->GetDisplayParam();
    ASSERT_TRUE(display);
    EXPECT_TRUE(DisplayParam::IsLight(display->BackgroundColor));
    EXPECT_EQ(display->PatColor, DisplayParam::ForBackground(display->BackgroundColor).PatColor);

    auto config = options->GetImpExpConfig();
    ASSERT_TRUE(config);
    EXPECT_NE(config->ArcFirst, 0);
    EXPECT_GT(config->OptimizeTol, 0.0);
    EXPECT_GT(config->ArcFitTol, 0.0);
}

TEST_F(NVOptionInfoTest, PublishedOptionsReachNewReadersOnly) {
    NVOptionInfo* options = NVOptionInfo::GetInstance();
    auto heldByTask = options->GetImpExpConfig();  // as a running task holds it

    ImpExpConfig changed;
    changed.ArcFirst = 0;
    changed.OptimizeTol = 0.5;
    options->SetImpExpConfig(changed);
    EXPECT_EQ(options->GetImpExpConfig()->ArcFirst, 0);
    EXPECT_EQ(options->GetImpExpConfig()->OptimizeTol, 0.5);
    EXPECT_NE(heldByTask->ArcFirst, 0);  // the task's snapshot is untouched

    options->SetDisplayParam(DisplayParam::ForBackground(0));
    EXPECT_EQ(options->GetDisplayParam()->BackgroundColor, 0ul);

    options->ResetToDefaults();
    EXPECT_NE(options->GetImpExpConfig()->ArcFirst, 0);
    EXPECT_EQ(options->GetDisplayParam()->PatColor, DisplayParam().PatColor);
}

}  // namespace
}  // namespace Norvane
