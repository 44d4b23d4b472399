#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <ostream>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>

#include "geomFeature/host/appframe/DataBase.h"
#include "geomFeature/host/appframe/DataPropItem.h"
#include "geomFeature/host/appframe/DataProperty.h"

namespace Norvane {
namespace {

class PlainData : public DataBase {
public:
    PlainData() = default;
    explicit PlainData(DataID id) : DataBase(id) {}
    IDataPtr Clone() const override { return boost::make_shared<PlainData>(*this); }
};

TEST(DataBaseTest, FreshObjectsHaveDistinctPositiveIdsAcrossThreads) {
    constexpr int kThreads = 4;
    constexpr int kPerThread = 2000;
    std::vector<std::vector<DataID>> ids(kThreads);
    std::vector<std::thread> workers;
    for (int t = 0; t < kThreads; ++t) {
        workers.emplace_back([&ids, t] {
            for (int i = 0; i < kPerThread; ++i) {
                // Alternate objects and bare NewID calls: both draw from the same counter.
                ids[t].push_back(i % 2 == 0 ? PlainData().GetID() : DataBase::NewID());
            }
        });
    }
    for (std::thread& w : workers) {
        w.join();
    }
    std::set<DataID> all;
    for (const auto& list : ids) {
        for (DataID id : list) {
            EXPECT_GT(id, 0);  // 0 stands for "no id" (for example no parent)
            all.insert(id);
        }
        // Each thread sees its own ids grow.
        EXPECT_TRUE(std::is_sorted(list.begin(), list.end()));
    }
    EXPECT_EQ(all.size(), static_cast<std::size_t>(kThreads * kPerThread));
}

TEST(DataBaseTest, LoadedIdsPushTheCounterPastThem) {
    PlainData loaded;
    const DataID far = DataBase::NewID() + 100000;
    loaded.SetID(far);
    EXPECT_EQ(loaded.GetID(), far);
    EXPECT_GT(PlainData().GetID(), far);

    // The id constructor (used for loaded objects) reserves as well.
    PlainData byCtor(far + 50);
    EXPECT_EQ(byCtor.GetID(), far + 50);
    EXPECT_GT(DataBase::NewID(), far + 50);

    // A small loaded id never moves the counter back.
    const DataID before = DataBase::NewID();
    loaded.SetID(1);
    EXPECT_GT(DataBase::NewID(), before);
}

TEST(DataBaseTest, ReservingTheLargestIdDoesNotOverflow) {
    // id + 1 would overflow; the counter must stay usable (UBSan flags a signed overflow here).
    PlainData extreme;
    extreme.SetID(std::numeric_limits<DataID>::max());
    const DataID next = DataBase::NewID();
    EXPECT_GT(next, 0);
    EXPECT_LT(next, std::numeric_limits<DataID>::max());
}

// A fresh object has no parent, is unmodified and lists no properties; a copy is the same object elsewhere:
// same id and parent.
TEST(DataBaseTest, DefaultsAndCopiesKeepTheIdentity) {
    PlainData a;
    EXPECT_EQ(a.GetParentID(), 0);
    EXPECT_EQ(a.IsModified(), 0);
    EXPECT_EQ(a.GetProperty().size(), 0u);
    EXPECT_EQ(a.IDEqual(a.GetID() + 1), 0);

    a.SetParentID(42);
    const PlainData copy(a);
    EXPECT_EQ(copy.IDEqual(a.GetID()), 1);
    EXPECT_EQ(copy.GetParentID(), 42);
}

struct ConversionCase {
    const char* name;
    PropValue value;
    double asDouble;
    int asInt;
    std::wstring asString;

    friend void PrintTo(const ConversionCase& c, std::ostream* os) { *os << c.name; }
};

class DataPropItemConversionTest : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(DataPropItemConversionTest, ConvertsAsDocumented) {
    const ConversionCase& c = GetParam();
    DataPropItem item(12099, 12101, c.value);
    EXPECT_EQ(item.GetDouble(), c.asDouble);
    EXPECT_EQ(item.GetInt(), c.asInt);
    EXPECT_EQ(item.GetString(), c.asString);
}

INSTANTIATE_TEST_SUITE_P(
    Values, DataPropItemConversionTest,
    ::testing::Values(
        ConversionCase{"Empty", std::monostate{}, 0.0, 0, L""}, ConversionCase{"Int", 7, 7.0, 7, L"7"},
        ConversionCase{"Int64AboveIntRange", std::int64_t{5000000000}, 5e9, INT_MAX, L"5000000000"},
        ConversionCase{"Int64BelowIntRange", std::int64_t{-5000000000}, -5e9, INT_MIN, L"-5000000000"},
        // Truncation goes towards zero on both sides.
        ConversionCase{"Double", 2.75, 2.75, 2, L"2.75"},
        ConversionCase{"NegativeDouble", -2.75, -2.75, -2, L"-2.75"},
        // The shortest text that reads back to the same double, not 0.1000000000000000055...
        ConversionCase{"DoubleOneTenth", 0.1, 0.1, 0, L"0.1"},
        ConversionCase{"HugeDouble", 1e300, 1e300, INT_MAX, L"1e+300"},
        ConversionCase{"HugeNegativeDouble", -1e300, -1e300, INT_MIN, L"-1e+300"},
        ConversionCase{"Text", std::wstring(L"12.5"), 0.0, 0, L"12.5"}),
    [](const ::testing::TestParamInfo<ConversionCase>& info) { return std::string(info.param.name); });

TEST(DataPropItemTest, NotANumberConvertsToZeroInt) {
    DataPropItem item(12099, 12105, std::numeric_limits<double>::quiet_NaN());
    EXPECT_TRUE(std::isnan(item.GetDouble()));
    EXPECT_EQ(item.GetInt(), 0);
}

// Flag and format default to 0 and empty, and an int fourth argument is the flag, not a format; setting a
// value replaces its kind; a default item holds nothing.
TEST(DataPropItemTest, DefaultsOverloadsAndValueReplacement) {
    DataPropItem plain(11501, 12007, std::wstring(L"Line"));
    EXPECT_EQ(plain.GetFlag(), 0);
    EXPECT_TRUE(plain.GetFormat().empty());
    EXPECT_TRUE(plain.GetOptions().empty());

    DataPropItem flagged(12099, 12122, 5, 3);
    EXPECT_EQ(flagged.GetFlag(), 3);
    EXPECT_TRUE(flagged.GetFormat().empty());

    DataPropItem formatted(12099, 12105, 10.0, std::wstring(L"%.4f"));
    EXPECT_EQ(formatted.GetFlag(), 0);
    formatted.SetValue(20);
    EXPECT_TRUE(std::holds_alternative<int>(formatted.GetValue()));
    EXPECT_EQ(formatted.GetDouble(), 20.0);

    EXPECT_TRUE(std::holds_alternative<std::monostate>(DataPropItem().GetValue()));
}

TEST(DataPropertyTest, LookupByItemAndGroupKeepsOrder) {
    DataProperty props;
    props.AddProperty(DataPropItem(11501, 12007, std::wstring(L"Line")));
    props.AddProperty(DataPropItem(12099, 12101, 1.0));
    props.AddProperty(DataPropItem(12099, 12102, 2.0));
    props.AddProperty(DataPropItem(11501, 12101, 99.0));  // same item id again, other group
    props.AddProperty(DataPropItem(12099, 12105, 3.0));
    ASSERT_EQ(props.size(), 5u);

    // The first of two items with one id wins.
    const DataProperty& constProps = props;
    const DataPropItem* start = constProps.GetItemByName(12101);
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(start->GetDouble(), 1.0);
    EXPECT_EQ(constProps.GetItemByName(12117), nullptr);

    // The non-const lookup hands out the stored item itself.
    props.GetItemByName(12105)->SetValue(30.0);
    EXPECT_EQ(props.GetItems()[4].GetDouble(), 30.0);

    // Group selection appends in order to what `out` already holds.
    std::vector<DataPropItem> out{DataPropItem(1, 1, 0)};
    props.GetItemsByType(12099, out);
    ASSERT_EQ(out.size(), 4u);
    EXPECT_EQ(out[0].GetItemID(), 1);
    EXPECT_EQ(out[1].GetItemID(), 12101);
    EXPECT_EQ(out[2].GetItemID(), 12102);
    EXPECT_EQ(out[3].GetItemID(), 12105);

    std::vector<DataPropItem> none;
    props.GetItemsByType(4242, none);
    EXPECT_TRUE(none.empty());
}

}  // namespace
}  // namespace Norvane
