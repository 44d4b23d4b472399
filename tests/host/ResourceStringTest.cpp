#include <algorithm>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "geomFeature/host/appframe/ResourceString.h"

namespace Norvane {
namespace {

TEST(ResourceStringTest, TableIsSortedUniqueAndEveryTextIsAOneLineSentence) {
    const std::vector<int> ids = ResourceString::GetAllIDs();
    ASSERT_FALSE(ids.empty());
    EXPECT_TRUE(std::adjacent_find(ids.begin(), ids.end(), [](int a, int b) { return a >= b; }) == ids.end());
    for (int id : ids) {
        SCOPED_TRACE(id);
        const std::wstring text = ResourceString::Load(id);
        EXPECT_TRUE(ResourceString::Exists(id));
        EXPECT_FALSE(text.empty());
        EXPECT_EQ(text.find_first_of(L"\r\n\t"), std::wstring::npos);
        EXPECT_NE(text.front(), L' ');
        EXPECT_NE(text.back(), L' ');
        // Texts may reach printf-style formatting; only the one counting progress text may hold a directive.
        if (id != 12531) {
            EXPECT_EQ(text.find(L'%'), std::wstring::npos);
        }
    }
}

TEST(ResourceStringTest, UnknownNumbersGiveEmptyText) {
    for (int id : {0, -1, 1, 11500, 12000, 12111, 12392, 20000, 20002, 99999}) {
        SCOPED_TRACE(id);
        EXPECT_FALSE(ResourceString::Exists(id));
        EXPECT_EQ(ResourceString::Load(id), L"");
        EXPECT_EQ(ResourceString::Format(id, 3), L"");
    }
}

TEST(ResourceStringTest, FormatFillsTheLoopNumber) {
    const std::wstring text = ResourceString::Format(12531, 3);
    EXPECT_EQ(text.find(L"%d"), std::wstring::npos);
    EXPECT_NE(text.find(L" 3"), std::wstring::npos);
    EXPECT_NE(ResourceString::Format(12531, 12), ResourceString::Format(12531, 13));
    // Texts without a directive come back unchanged.
    EXPECT_EQ(ResourceString::Format(12533, 7), ResourceString::Load(12533));
}

TEST(ResourceStringTest, PatternTypeNamesAreDistinct) {
    // A copied row would give two pattern kinds the same name in the property bar's summary.
    std::set<std::wstring> names;
    for (int id = 12024; id <= 12038; ++id) {
        ASSERT_TRUE(ResourceString::Exists(id)) << id;
        names.insert(ResourceString::Load(id));
    }
    EXPECT_EQ(names.size(), 15u);
    EXPECT_EQ(ResourceString::Load(12024), L"Line");
    EXPECT_EQ(ResourceString::Load(12025), L"Arc");
}

// Every number that the geometry module loads, grouped by where it is used (the pattern type names: above).
struct UsedIds {
    const char* name;
    std::vector<int> ids;

    friend void PrintTo(const UsedIds& c, std::ostream* os) { *os << c.name; }
};

class ResourceStringUsedTest : public ::testing::TestWithParam<UsedIds> {};

TEST_P(ResourceStringUsedTest, EveryUsedNumberHasAText) {
    for (int id : GetParam().ids) {
        EXPECT_TRUE(ResourceString::Exists(id)) << "missing string " << id;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Module, ResourceStringUsedTest,
    ::testing::Values(UsedIds{"PropertyGroupsAndTitle", {11501, 12099, 12007, 12100}},
                      UsedIds{"PropertyItems",
                              {12101, 12102, 12103, 12104, 12105, 12106, 12107, 12108, 12109, 12110, 12117,
                               12118, 12119, 12120, 12121, 12122, 12123, 12124, 12125, 12126, 12131, 12132}},
                      UsedIds{"CommandNames",
                              {12252, 12253, 12254, 12255, 12256, 12257, 12258, 12259, 12260, 12261}},
                      UsedIds{"EditorAndCaption", {12005, 20001}},
                      UsedIds{"ZoomPrompts", {12008, 12009}},
                      UsedIds{"DrawingPrompts",
                              {11511, 12301, 12302, 12310, 12311, 12320, 12321, 12322, 12330, 12331, 12332,
                               12333, 12340, 12341, 12342, 12350, 12351, 12352, 12360, 12361, 12362, 12370,
                               12371, 12372, 12380, 12381, 12382, 12390, 12391, 12393, 12394, 12400, 12401,
                               12404, 12410, 12411, 12420, 12421, 12423, 12430, 12431, 12432, 12450, 12451,
                               12452, 12460, 12461, 12462, 12463, 12464, 12470, 12471, 12472}},
                      UsedIds{"SelectionPrompts",
                              {12480, 12481, 12482, 12483, 12484, 12490, 12491, 12492, 12493, 12501}},
                      UsedIds{"OptionsDialog", {12050, 12051}},
                      UsedIds{"Messages", {12440, 12441, 12500, 12522, 12526, 12527}},
                      UsedIds{"OptimisationProgress", {12531, 12532, 12533, 12534}}),
    [](const ::testing::TestParamInfo<UsedIds>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace Norvane
