// Relations between arrays and seeds, and the shared-vector semantics of relation lists.
#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>
#include <gtest/gtest.h>

#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/PatRelation.h"
#include "geomFeature/pattern/PatRelationList.h"

namespace Norvane {
namespace {

PatRelationPtr Rel(tagPatRelationType type, const IPatternPtr& target = IPatternPtr()) {
    return boost::make_shared<PatRelation>(DataID(42), target, type);
}

// A relation read back with its stored identifier must not collide with relations made afterwards.
TEST(PatRelation, LoadedIdentifierIsKeptAndReserved) {
    const DataID stored = PatRelation(7, IPatternPtr(), PAT_RELATION_TO_SEED).GetID() + 1000;
    const PatRelation loaded(stored, 7, IPatternPtr(), PAT_RELATION_TO_ARRAY);
    EXPECT_EQ(loaded.GetID(), stored);
    EXPECT_EQ(loaded.GetParentID(), 7);
    EXPECT_GT(PatRelation(1, IPatternPtr(), PAT_RELATION_TO_SEED).GetID(), stored);
}

TEST(PatRelationList, CopiesShareTheRelations) {
    PatRelationList a;
    a.AddPatRelation(Rel(PAT_RELATION_TO_SEED));
    PatRelationList b(a);
    PatRelationList c;
    c = a;
    b.AddPatRelation(Rel(PAT_RELATION_TO_ARRAY));
    EXPECT_EQ(a.GetCount(), 2);
    EXPECT_EQ(c.GetCount(), 2);
    c.Clear();
    EXPECT_EQ(a.GetCount(), 0);

    // Clone, by contrast, has a vector of its own.
    a.AddPatRelation(Rel(PAT_RELATION_TO_SEED));
    auto clone = boost::dynamic_pointer_cast<PatRelationList>(a.Clone());
    ASSERT_TRUE(clone);
    clone->AddPatRelation(Rel(PAT_RELATION_TO_SEED));
    EXPECT_EQ(a.GetCount(), 1);
    EXPECT_EQ(clone->GetPatRelationByIndex(0), a.GetPatRelationByIndex(0));
}

TEST(PatRelationList, RemoveMatchesByIdentifierFirstOnly) {
    PatRelationList list;
    const auto r1 = Rel(PAT_RELATION_TO_SEED);
    const auto r2 = Rel(PAT_RELATION_TO_ARRAY);
    list.AddPatRelation(r1);
    list.AddPatRelation(r2);
    list.AddPatRelation(r1);  // duplicates are allowed

    // Another object with r1's identifier removes the first r1 only.
    list.RemovePatRelation(boost::make_shared<PatRelation>(r1->GetID(), 0, IPatternPtr(), PAT_RELATION_TO_ARRAY));
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetPatRelationByIndex(0), r2);
    EXPECT_EQ(list.GetPatRelationByIndex(1), r1);

    list.RemovePatRelation(Rel(PAT_RELATION_TO_SEED));  // absent: nothing happens
    list.RemovePatRelation(PatRelationPtr());
    EXPECT_EQ(list.GetCount(), 2);
}

TEST(PatRelationList, ByTypeIsANewListInOrder) {
    PatRelationList list;
    EXPECT_FALSE(list.GetPatRelationByIndex(0));  // empty list: empty pointer
    const auto s1 = Rel(PAT_RELATION_TO_SEED);
    const auto a1 = Rel(PAT_RELATION_TO_ARRAY);
    const auto s2 = Rel(PAT_RELATION_TO_SEED);
    list.AddPatRelation(s1);
    list.AddPatRelation(a1);
    list.AddPatRelation(s2);

    auto seeds = list.GetRelationByType(PAT_RELATION_TO_SEED);
    ASSERT_EQ(seeds->GetCount(), 2);
    EXPECT_EQ(seeds->GetPatRelationByIndex(0), s1);
    EXPECT_EQ(seeds->GetPatRelationByIndex(1), s2);
    seeds->Clear();
    EXPECT_EQ(list.GetCount(), 3);
}

}  // namespace
}  // namespace Norvane
