#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/queue.h"
#include "foundation/stack.h"
#include "foundation/string_collections.h"
#include "foundation/vector.h"

TEST(CVector, GrowsFromFiveByEightKeepingOrder) {
    CVector<int *> v;
    int values[20];
    EXPECT_EQ(v.Capacity(), 5);
    for (int i = 0; i < 5; ++i) v.Add(&values[i]);
    EXPECT_EQ(v.Capacity(), 5);
    v.Add(&values[5]);
    EXPECT_EQ(v.Capacity(), 13);
    for (int i = 6; i < 13; ++i) v.Add(&values[i]);
    EXPECT_EQ(v.Capacity(), 13);
    v.Add(&values[13]);
    EXPECT_EQ(v.Capacity(), 21);
    ASSERT_EQ(v.Count(), 14);
    for (int i = 0; i < 14; ++i) EXPECT_EQ(v.At(i), &values[i]);
    EXPECT_EQ(v.IndexOf(&values[3]), 3);
    EXPECT_EQ(v.IndexOf(&values[19]), -1);
    EXPECT_EQ(v.Contains(&values[0]), 1);
    EXPECT_EQ(v.Contains(&values[19]), 0);
}

TEST(CVector, LargeVectorsGrowGeometrically) {
    CVector<int32_t> v;
    int32_t reallocations = 0;
    int32_t lastCapacity = v.Capacity();
    for (int32_t i = 0; i < 1000000; ++i) {
        v.Add(i);
        if (v.Capacity() != lastCapacity) {
            ++reallocations;
            lastCapacity = v.Capacity();
        }
    }
    // 128 steps of 8 up to 1029 slots, then about 25 steps of one half.
    EXPECT_LT(reallocations, 160);
    EXPECT_EQ(v.At(999999), 999999);
    EXPECT_EQ(v.At(0), 0);
}

namespace {
int Descending(const void *a, const void *b) {
    float x = *static_cast<const float *>(a), y = *static_cast<const float *>(b);
    return x < y ? 1 : (x > y ? -1 : 0);
}
}  // namespace

TEST(CVector, SortsInPlaceAndRefusesEmpty) {
    CFloatVector v;
    EXPECT_FALSE(v.Sort(Descending));
    for (float f : {0.2f, 0.9f, 0.5f, 0.1f, 0.7f, 0.3f}) v.Add(f);
    EXPECT_TRUE(v.Sort(Descending));
    EXPECT_EQ(v.At(0), 0.9f);
    EXPECT_EQ(v.At(5), 0.1f);
    v.Reset();
    EXPECT_EQ(v.Count(), 0);
    EXPECT_EQ(v.Capacity(), 13);
}

TEST(CVector, StringSlotsHoldValues) {
    CStringVector fields;
    CString name("shared");
    fields.Add(name);
    EXPECT_EQ(name.RefCount(), 2);
    fields.Add(CString());
    EXPECT_STREQ(fields.At(1).Text(), "");
    for (int i = 0; i < 10; ++i) fields.Add(CString("x"));  // growth copies the strings
    EXPECT_STREQ(fields.At(0).Text(), "shared");
    EXPECT_EQ(name.RefCount(), 2);
}

TEST(CStack, PopsInReverseAndYieldsNoneWhenEmpty) {
    CStack<int *> s;
    int *out = reinterpret_cast<int *>(1);
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_FALSE(s.Pop(out));
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(s.Top(), nullptr);
    int a, b;
    s.Push(&a);
    s.Push(&b);
    EXPECT_EQ(s.Top(), &b);
    EXPECT_TRUE(s.Pop(out));
    EXPECT_EQ(out, &b);
    EXPECT_TRUE(s.Pop(out));
    EXPECT_EQ(out, &a);
    EXPECT_TRUE(s.IsEmpty());
}

TEST(CQueue, RestartsAtTheFrontWhenEmptied) {
    CQueue<int *> q;
    int *out = reinterpret_cast<int *>(1);
    EXPECT_FALSE(q.Take(out));
    EXPECT_EQ(out, nullptr);
    int items[3];
    for (int round = 0; round < 50; ++round) {
        q.Put(&items[0]);
        q.Put(&items[1]);
        ASSERT_TRUE(q.Take(out));
        EXPECT_EQ(out, &items[0]);
        ASSERT_TRUE(q.Take(out));
        EXPECT_EQ(out, &items[1]);
        EXPECT_EQ(q.Head(), 0);
        EXPECT_EQ(q.Tail(), 0);
    }
    EXPECT_EQ(q.Capacity(), 5);
}

TEST(CQueue, CompactsInsteadOfGrowingWhenTheFrontIsFree) {
    CQueue<int *> q;
    int items[10];
    for (int i = 0; i < 5; ++i) q.Put(&items[i]);
    int *out = nullptr;
    q.Take(out);
    q.Take(out);
    q.Take(out);
    q.Put(&items[5]);  // tail at capacity 5, head 3: compact to 5 - 3 + 2 = 4 slots, then grow
    EXPECT_EQ(q.Head(), 0);
    EXPECT_EQ(q.Tail(), 3);
    EXPECT_EQ(q.Count(), 3);
    EXPECT_EQ(q.Capacity(), 4);
    q.Put(&items[6]);
    for (int expected : {3, 4, 5, 6}) {
        ASSERT_TRUE(q.Take(out));
        EXPECT_EQ(out, &items[expected]);
    }
    EXPECT_TRUE(q.IsEmpty());
}

TEST(CQueue, ALongQueueTakenFromAndPutToInTurnRarelyCompacts) {
    CQueue<int32_t> q;
    for (int32_t i = 0; i < 20000; ++i) q.Put(i);
    int32_t out = -1;
    int32_t compactions = 0;
    for (int32_t i = 0; i < 200000; ++i) {
        ASSERT_TRUE(q.Take(out));
        ASSERT_EQ(out, i);
        q.Put(20000 + i);
        if (q.Head() == 0) ++compactions;  // the waiting items moved to the front
    }
    // Each compaction leaves room for 10,000 more puts; two free slots
    // would compact 100,000 times.
    EXPECT_LT(compactions, 40);
    EXPECT_GT(compactions, 0);
}

TEST(CHashTable, FindsInsertsAndRefuses) {
    CHashTable<int *> table(nullptr);
    int a, b;
    EXPECT_EQ(table.Size(), 16);
    ASSERT_NE(table.Insert("alpha", &a), nullptr);
    EXPECT_EQ(table.Insert("alpha", &b), nullptr);
    EXPECT_EQ(table.Find("alpha"), &a);
    EXPECT_EQ(table.Insert(CString(), &b), nullptr);
    EXPECT_EQ(table.Find(CString()), nullptr);
    EXPECT_EQ(table.FindIndex(CString()), -1);
    EXPECT_EQ(table.Find("beta"), nullptr);
    EXPECT_EQ(table.FindIndex("beta"), -1);
    int slot = table.FindIndex("alpha");
    ASSERT_GE(slot, 0);
    EXPECT_EQ(table.LastFound(), slot);
    EXPECT_EQ(table.ValueAt(slot), &a);
}

TEST(CHashTable, GrowsOnlyAboveNinetyPercent) {
    CHashTable<int> table(-1);
    for (int i = 0; i < 15; ++i) ASSERT_NE(table.Insert(CString(("k" + std::to_string(i)).c_str()), i), nullptr);
    EXPECT_EQ(table.Size(), 16);  // the 15th insertion saw 14/16 = 0.875
    ASSERT_NE(table.Insert("k15", 15), nullptr);
    EXPECT_EQ(table.Size(), 32);  // 15/16 = 0.9375 doubled first
    EXPECT_EQ(table.Count(), 16);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(table.Find(CString(("k" + std::to_string(i)).c_str())), i);
    EXPECT_EQ(table.Find("missing"), -1);
}

TEST(CHashTable, KeysWithACommonPrefixSpreadOverTheTable) {
    CHashTable<int> table(-1);
    const char *names[] = {"abcdefghijklONE", "abcdefghijklTWO", "abcdefghijklTHREE", "abcdefghijkl"};
    for (int i = 0; i < 4; ++i) table.Insert(names[i], i);
    // A thousand names alike in their first twelve bytes start their probes
    // in many different slots of a 2048-slot table.
    std::vector<int> starts(2048, 0);
    int distinct = 0;
    for (int i = 0; i < 1000; ++i)
        if (starts[HashProbe(CString(("has_symptom_" + std::to_string(i)).c_str()), 0, 2048)]++ == 0) ++distinct;
    EXPECT_GT(distinct, 500);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(table.Find(names[i]), i);
        EXPECT_GE(table.FindIndex(names[i]), 0);
    }
}

TEST(CHashTable, ProbesVisitEverySlotOnce) {
    for (const char *key : {"a", "node", "longer_name_of_a_node", "\xff\xff\xff\xff", "\x80\x00\x00\x00"}) {
        std::vector<int> seen(64, 0);
        for (int i = 0; i < 64; ++i) seen[HashProbe(CString(key), i, 64)]++;
        for (int count : seen) EXPECT_EQ(count, 1) << key;
    }
}

TEST(CHashTable, ClearAndDeleteFreesTheValues) {
    CHashTable<std::string *> table(nullptr);
    for (int i = 0; i < 40; ++i) table.Insert(CString(("n" + std::to_string(i)).c_str()), new std::string("v"));
    EXPECT_EQ(table.Count(), 40);
    table.ClearAndDelete();  // the leak checker of the sanitizer run proves the deletes
    EXPECT_EQ(table.Count(), 0);
    EXPECT_EQ(table.Find("n3"), nullptr);
    EXPECT_EQ(table.LastFound(), -1);
    ASSERT_NE(table.Insert("n3", nullptr), nullptr);
}

TEST(CHashTable, StringTablesHaveTheirOwnMissingValue) {
    CStringHTable params(CString("0"));
    params.Insert("prottxt", CString("report.txt"));
    EXPECT_STREQ(params.Find("prottxt").Text(), "report.txt");
    EXPECT_STREQ(params.Find("never_set").Text(), "0");
    params.Clear();
    EXPECT_STREQ(params.Find("prottxt").Text(), "0");
}
