#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <numeric>
#include <string>
#include <utility>
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

TEST(CVector, RemovingResettingAndTheEndReleaseTheItems) {
    CString held("held");
    {
        CStringVector v;
        for (int i = 0; i < 30; ++i) v.Add(held);
        EXPECT_EQ(held.RefCount(), 31);
        v.RemoveLast();
        EXPECT_EQ(held.RefCount(), 30);
        v.Reset();
        EXPECT_EQ(held.RefCount(), 1);
        EXPECT_EQ(v.Capacity(), 37);  // 5, 13, 21, 29, 37: a reset keeps the slots
        for (int i = 0; i < 3; ++i) v.Add(held);
    }
    EXPECT_EQ(held.RefCount(), 1);
    // A net keeps five vectors in every node.
    static_assert(sizeof(CVector<void *>) == 16);
}

TEST(CVector, IteratesForRangeForAndTheStandardAlgorithms) {
    CVector<int32_t> v;
    for (int32_t x : {4, 1, 3, 2}) v.Add(x);
    int32_t walked = 0;
    for (int32_t &x : v) x *= 10;
    for (int32_t x : v) walked = walked * 100 + x;
    EXPECT_EQ(walked, 40103020);
    std::sort(v.begin(), v.end());
    EXPECT_EQ(v.At(0), 10);
    EXPECT_EQ(v.At(3), 40);

    const CVector<int32_t> &readOnly = v;
    EXPECT_EQ(std::accumulate(readOnly.begin(), readOnly.end(), 0), 100);
    EXPECT_EQ(readOnly.At(2), 30);
    EXPECT_EQ(readOnly.IndexOf(20), 1);
    EXPECT_EQ(readOnly.Contains(50), 0);
    EXPECT_EQ(readOnly.Count(), 4);

    CVector<int32_t> empty;
    EXPECT_EQ(empty.begin(), empty.end());
}

TEST(CVector, AMovedFromVectorIsEmptyAndGrowsLikeANewOne) {
    CStringVector source;
    CString kept("kept");
    for (int i = 0; i < 6; ++i) source.Add(kept);
    EXPECT_EQ(kept.RefCount(), 7);

    CStringVector target(std::move(source));
    EXPECT_EQ(target.Count(), 6);
    EXPECT_EQ(target.Capacity(), 13);
    EXPECT_EQ(kept.RefCount(), 7);  // the strings moved, none was copied or lost
    EXPECT_EQ(source.Count(), 0);
    EXPECT_EQ(source.begin(), source.end());
    for (int i = 0; i < 6; ++i) source.Add(CString("again"));
    EXPECT_EQ(source.Capacity(), 13);  // 5, then 13, as for a new vector
    EXPECT_STREQ(source.At(5).Text(), "again");

    CStringVector assigned;
    assigned.Add(CString("old"));
    assigned = std::move(target);
    EXPECT_EQ(assigned.Count(), 6);
    EXPECT_STREQ(assigned.At(5).Text(), "kept");
    EXPECT_EQ(target.Count(), 0);
    target.Add(CString("usable"));
    EXPECT_EQ(target.Count(), 1);

    CStringVector &alias = assigned;
    assigned = std::move(alias);
    EXPECT_EQ(assigned.Count(), 6);  // moving onto itself keeps the items
    assigned.Reset();
    EXPECT_EQ(kept.RefCount(), 1);
}

TEST(CVector, AddingOneOfItsOwnItemsWhileGrowingCopiesIt) {
    CStringVector v;
    for (int i = 0; i < 5; ++i) v.Add(CString(("item" + std::to_string(i)).c_str()));
    ASSERT_EQ(v.Count(), v.Capacity());
    v.Add(v.At(0));  // the slot it comes from moves while the vector grows
    EXPECT_STREQ(v.At(5).Text(), "item0");
    EXPECT_STREQ(v.At(0).Text(), "item0");
}

TEST(CVectorDeathTest, AnIndexOutsideTheItemsStops) {
    CVector<int32_t> v;
    v.Add(1);
    EXPECT_DEATH(v.At(1), "Assertion failed: index >= 0 && index < Count\\(\\), unit vector, line [0-9]+");
    const CVector<int32_t> &readOnly = v;
    EXPECT_DEATH(readOnly.At(-1), "unit vector");
    CVector<int32_t> empty;
    EXPECT_DEATH(empty.RemoveLast(), "Count\\(\\) > 0, unit vector");
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

// The stack and the queue show only what they mean: the vector's Add, Sort or
// writable At would break the order of their items.
template <typename C>
concept ExposesVectorChanges = requires(C c, int *p) { c.Add(p); } || requires(C c) { c.At(0) = nullptr; } ||
                               requires(C c) { c.Sort(nullptr); } || requires(C c) { c.Reset(); };
static_assert(ExposesVectorChanges<CVector<int *>>);
static_assert(!ExposesVectorChanges<CStack<int *>>);
static_assert(!ExposesVectorChanges<CQueue<int *>>);
template <typename C>
concept ReadsByIndex = requires(const C c) { c.At(0); };
static_assert(ReadsByIndex<CStack<int *>>);
static_assert(!ReadsByIndex<CQueue<int *>>);  // only the head and tail have a meaning

TEST(CStack, ReadsFromTheBottomUpAndMoves) {
    CStack<int *> s;
    int a, b, c;
    for (int *p : {&a, &b, &c}) s.Push(p);
    const CStack<int *> &readOnly = s;
    EXPECT_EQ(readOnly.Count(), 3);
    EXPECT_EQ(readOnly.At(0), &a);
    EXPECT_EQ(readOnly.At(2), &c);
    EXPECT_EQ(readOnly.Top(), &c);
    std::vector<int *> bottomUp(readOnly.begin(), readOnly.end());
    EXPECT_EQ(bottomUp, (std::vector<int *>{&a, &b, &c}));

    CStack<int *> moved(std::move(s));
    EXPECT_EQ(moved.Count(), 3);
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_EQ(s.Top(), nullptr);
    s.Push(&b);
    EXPECT_EQ(s.Top(), &b);

    s = std::move(moved);
    EXPECT_EQ(s.Count(), 3);
    EXPECT_TRUE(moved.IsEmpty());
    int *out = &a;
    EXPECT_FALSE(moved.Pop(out));
    EXPECT_EQ(out, nullptr);
    ASSERT_TRUE(s.Pop(out));
    EXPECT_EQ(out, &c);
}

TEST(CQueue, ShowsOnlyTheWaitingItemsAndMoves) {
    CQueue<int32_t> q(-1);
    for (int32_t i = 1; i <= 4; ++i) q.Put(i);
    int32_t out = 0;
    ASSERT_TRUE(q.Take(out));
    const CQueue<int32_t> &readOnly = q;
    EXPECT_EQ(readOnly.Count(), 3);
    EXPECT_EQ(std::vector<int32_t>(readOnly.begin(), readOnly.end()), (std::vector<int32_t>{2, 3, 4}));

    CQueue<int32_t> moved(std::move(q));
    EXPECT_EQ(moved.Count(), 3);
    EXPECT_EQ(moved.Head(), 1);
    EXPECT_TRUE(q.IsEmpty());
    EXPECT_FALSE(q.Take(out));
    EXPECT_EQ(out, -1);  // the moved-from queue keeps its none value
    q.Put(7);
    EXPECT_EQ(q.Capacity(), 5);  // it grows as a new queue
    ASSERT_TRUE(q.Take(out));
    EXPECT_EQ(out, 7);

    q = std::move(moved);
    EXPECT_TRUE(moved.IsEmpty());
    EXPECT_EQ(moved.begin(), moved.end());
    for (int32_t expected : {2, 3, 4}) {
        ASSERT_TRUE(q.Take(out));
        EXPECT_EQ(out, expected);
    }
    EXPECT_TRUE(q.IsEmpty());
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

TEST(CQueue, ACompactedQueueGrowsByEightFromItsNewSize) {
    CQueue<int32_t> q;
    for (int32_t i = 0; i < 5; ++i) q.Put(i);
    int32_t out = -1;
    for (int i = 0; i < 4; ++i) q.Take(out);
    q.Put(5);  // compacts to 5 - 4 + 2 = 3 slots
    EXPECT_EQ(q.Capacity(), 3);
    q.Put(6);
    q.Put(7);  // full with the head at the front: grows to 3 + 8
    EXPECT_EQ(q.Capacity(), 11);
    for (int32_t expected : {4, 5, 6, 7}) {
        ASSERT_TRUE(q.Take(out));
        EXPECT_EQ(out, expected);
    }
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

TEST(CHashTable, RemovalKeepsEveryOtherEntryFindable) {
    // Crowded tables (up to 15 of 16 slots, long shared probe sequences)
    // with entries removed and put back in a scrambled order, checked
    // against a map after every step with lookups that stop at a free slot.
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        CHashTable<int> table(-1);
        std::map<std::string, int> model;
        const int entries = 5 + round % 11;
        for (int i = 0; i < entries; ++i) {
            const std::string key = "node_" + std::to_string(random() % 40);
            if (table.Insert(CString(key.c_str()), i) != nullptr) model[key] = i;
        }
        for (int step = 0; step < 30; ++step) {
            const std::string key = "node_" + std::to_string(random() % 40);
            const bool present = model.count(key) > 0;
            ASSERT_EQ(table.Remove(CString(key.c_str())), present) << key;
            model.erase(key);
            if (step % 3 == 0 && table.Count() <= 14 && table.Insert(CString(key.c_str()), step) != nullptr) model[key] = step;
            ASSERT_EQ(table.Count(), static_cast<int32_t>(model.size()));
            EXPECT_EQ(table.Size(), 16);
            for (const auto &[name, value] : model) ASSERT_EQ(table.Find(CString(name.c_str())), value) << name;
            if (!present) continue;
            EXPECT_EQ(table.FindIndex(CString(key.c_str())) >= 0, model.count(key) > 0);
        }
        int visited = 0;
        for (auto entry : table) {
            EXPECT_EQ(model.at(entry.key.Text()), entry.value);
            ++visited;
        }
        EXPECT_EQ(visited, table.Count());
    }
    CHashTable<int> empty(-1);
    EXPECT_FALSE(empty.Remove("anything"));
    EXPECT_FALSE(empty.Remove(""));
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

TEST(CHashTable, IteratesOverTheEntriesOnly) {
    CHashTable<int32_t> table(-1);
    for (int32_t i = 0; i < 40; ++i) table.Insert(CString(("node" + std::to_string(i)).c_str()), i);
    std::vector<int32_t> seen;
    for (auto [key, value] : table) {
        EXPECT_EQ(key.Text(), "node" + std::to_string(value));
        seen.push_back(value);
        value += 100;  // the entry refers to the stored value
    }
    std::sort(seen.begin(), seen.end());
    std::vector<int32_t> all(40);
    std::iota(all.begin(), all.end(), 0);
    EXPECT_EQ(seen, all);
    EXPECT_EQ(table.Find("node7"), 107);

    const CHashTable<int32_t> &readOnly = table;
    auto large = std::count_if(readOnly.begin(), readOnly.end(), [](auto entry) { return entry.value >= 130; });
    EXPECT_EQ(large, 10);
    CHashTable<int32_t> empty;
    EXPECT_EQ(empty.begin(), empty.end());
}

TEST(CHashTable, ConstLookupsFindWithoutTouchingTheLastFoundSlot) {
    CHashTable<int *> table(nullptr);
    int a, b;
    table.Insert("alpha", &a);
    table.Insert("beta", &b);
    const int32_t betaSlot = table.LastFound();
    const CHashTable<int *> &readOnly = table;
    EXPECT_EQ(readOnly.Find("alpha"), &a);
    EXPECT_EQ(readOnly.Find("gamma"), nullptr);
    EXPECT_EQ(readOnly.Find(CString()), nullptr);
    const int32_t alphaSlot = readOnly.FindIndex("alpha");
    ASSERT_GE(alphaSlot, 0);
    EXPECT_EQ(readOnly.ValueAt(alphaSlot), &a);
    EXPECT_EQ(readOnly.FindIndex("gamma"), -1);
    EXPECT_EQ(readOnly.LastFound(), betaSlot);
    EXPECT_EQ(table.FindIndex("alpha"), alphaSlot);
    EXPECT_EQ(table.LastFound(), alphaSlot);
}

TEST(CHashTable, AMovedFromTableIsEmptyAndUsable) {
    CStringHTable source(CString("none"));
    CString value("value");
    for (int i = 0; i < 20; ++i) source.Insert(CString(("p" + std::to_string(i)).c_str()), value);
    CStringHTable target(std::move(source));
    EXPECT_EQ(target.Count(), 20);
    EXPECT_STREQ(target.Find("p19").Text(), "value");
    EXPECT_EQ(source.Count(), 0);
    EXPECT_EQ(source.Size(), 0);
    EXPECT_STREQ(source.Find("p19").Text(), "none");
    EXPECT_EQ(source.FindIndex("p19"), -1);
    EXPECT_EQ(source.begin(), source.end());
    source.Clear();
    ASSERT_NE(source.Insert("fresh", CString("f")), nullptr);
    EXPECT_EQ(source.Size(), 16);
    EXPECT_STREQ(source.Find("fresh").Text(), "f");

    const int32_t valueHolders = value.RefCount();
    source = std::move(target);
    EXPECT_EQ(value.RefCount(), valueHolders);  // the entries moved, none was copied
    EXPECT_STREQ(source.Find("p3").Text(), "value");
    EXPECT_STREQ(source.Find("fresh").Text(), "none");  // the old entries are gone
    EXPECT_EQ(target.Count(), 0);
    ASSERT_NE(target.Insert("p3", CString("again")), nullptr);
    EXPECT_STREQ(target.Find("p3").Text(), "again");
}
