#include "consult/global_params.h"

#include <gtest/gtest.h>

#include "foundation/memory_option_store.h"

namespace {
void SetEveryField(CGlobalParams &options, bool value) {
    options.ShowHypotheses = options.ShowCallStack = options.ShowNodes = value;
    options.CreateNewFile = options.AutoMaximize = options.UseHTML = value;
}
}  // namespace

TEST(CGlobalParams, DefaultsAreTheDocumentedOnes) {
    CGlobalParams options;
    SetEveryField(options, false);
    options.SaveOnExit = false;
    options.SetDefaults();
    EXPECT_TRUE(options.ShowHypotheses);
    EXPECT_TRUE(options.ShowCallStack);
    EXPECT_TRUE(options.ShowNodes);
    EXPECT_TRUE(options.SaveOnExit);
    EXPECT_FALSE(options.CreateNewFile);
    EXPECT_TRUE(options.AutoMaximize);
    EXPECT_TRUE(options.UseHTML);
}

TEST(CGlobalParams, SavedOptionsLoadBack) {
    CMemoryOptionStore store;
    CGlobalParams saved;
    SetEveryField(saved, false);
    saved.CreateNewFile = true;
    ASSERT_TRUE(saved.Save(store));
    EXPECT_TRUE(store.KeyExists("\\Software\\Quorvin"));
    bool value = false;
    ASSERT_TRUE(store.ReadBool("\\Software\\Quorvin\\SaveOnExit", "", value));
    EXPECT_TRUE(value);
    ASSERT_TRUE(store.ReadBool("\\Software\\Quorvin\\Consultation", "ShowNodes", value));
    EXPECT_FALSE(value);
    ASSERT_TRUE(store.ReadBool("\\Software\\Quorvin\\Global", "CreateNewFile", value));
    EXPECT_TRUE(value);

    CGlobalParams loaded;
    ASSERT_TRUE(loaded.Load(store));
    EXPECT_FALSE(loaded.ShowHypotheses);
    EXPECT_FALSE(loaded.ShowCallStack);
    EXPECT_FALSE(loaded.ShowNodes);
    EXPECT_TRUE(loaded.CreateNewFile);
    EXPECT_FALSE(loaded.AutoMaximize);
    EXPECT_FALSE(loaded.UseHTML);
}

TEST(CGlobalParams, MissingKeysOrValuesFailTheLoad) {
    CMemoryOptionStore empty;
    CGlobalParams options;
    EXPECT_FALSE(options.Load(empty));

    CMemoryOptionStore partial;
    partial.WriteBool("\\Software\\Quorvin\\SaveOnExit", "", true);
    partial.WriteBool("\\Software\\Quorvin\\Consultation", "ShowHypotheses", false);
    EXPECT_FALSE(options.Load(partial));  // ShowCallStack is missing
}

TEST(CGlobalParams, SaveOnExitOffMeansDefaultsAndIsSwitchedBackOn) {
    CMemoryOptionStore store;
    CGlobalParams first;
    SetEveryField(first, false);
    ASSERT_TRUE(first.Save(store));
    first.SaveOnExit = false;
    ASSERT_TRUE(first.Save(store));  // writes only the flag

    CGlobalParams next;
    SetEveryField(next, false);
    ASSERT_TRUE(next.Load(store));
    EXPECT_TRUE(next.SaveOnExit);
    EXPECT_TRUE(next.ShowHypotheses);  // the stored false values are ignored
    EXPECT_TRUE(next.UseHTML);

    ASSERT_TRUE(next.Save(store));
    CGlobalParams after;
    ASSERT_TRUE(after.Load(store));
    EXPECT_TRUE(after.ShowNodes);
}

TEST(CGlobalParams, AStoreThatRefusesWritesFailsTheSave) {
    CMemoryOptionStore store;
    store.SetReadOnly(true);
    CGlobalParams options;
    EXPECT_FALSE(options.Save(store));
    EXPECT_FALSE(store.KeyExists("\\Software\\Quorvin"));
}

TEST(CGlobalParams, TheProcessHasOneRecord) {
    const bool before = GlobalParams().UseHTML;
    GlobalParams().UseHTML = !before;
    EXPECT_EQ(&GlobalParams(), &GlobalParams());
    EXPECT_EQ(GlobalParams().UseHTML, !before);
    GlobalParams().UseHTML = before;
}

TEST(CMemoryOptionStore, KeepsTextsApartFromFlags) {
    CMemoryOptionStore store;
    std::string text;
    EXPECT_FALSE(store.ReadText("\\Software\\Quorvin\\Aliases", "cases", text));
    ASSERT_TRUE(store.WriteText("\\Software\\Quorvin\\Aliases", "cases", "/data/cases.db"));
    ASSERT_TRUE(store.ReadText("\\Software\\Quorvin\\Aliases", "cases", text));
    EXPECT_EQ(text, "/data/cases.db");
    bool flag = true;
    EXPECT_FALSE(store.ReadBool("\\Software\\Quorvin\\Aliases", "cases", flag));
    store.SetReadOnly(true);
    EXPECT_FALSE(store.WriteText("\\Software\\Quorvin\\Aliases", "other", "x"));
}
