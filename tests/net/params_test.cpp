#include "net/params.h"

#include <gtest/gtest.h>

#include <string>

TEST(CParameters, AbsentNamesReadAsZero) {
    CParameters params;
    EXPECT_STREQ(params.GetParam("prottxt").Text(), "0");
    EXPECT_FALSE(params.HasParam("prottxt"));
    EXPECT_FALSE(params.HasParam(CString()));
}

TEST(CParameters, TheFirstStatementForANameWins) {
    CParameters params;
    EXPECT_EQ(params.SetParam("prottxt", "first.txt"), 0);
    EXPECT_EQ(params.SetParam("prottxt", "second.txt"), 2);
    EXPECT_STREQ(params.GetParam("prottxt").Text(), "first.txt");

    EXPECT_EQ(params.AddAskParam("prottxt"), 2);  // set before: nothing to ask
    EXPECT_EQ(params.Asks().Count(), 0);

    EXPECT_EQ(params.SetParam("empty", CString()), 0);
    EXPECT_TRUE(params.HasParam("empty"));
    EXPECT_STREQ(params.GetParam("empty").Text(), "");
}

TEST(CParameters, AskedParametersAreQueuedInStatementOrder) {
    CParameters params;
    EXPECT_EQ(params.AddAskParam("patient"), 0);
    EXPECT_EQ(params.AddAskParam("ward"), 0);
    EXPECT_EQ(params.AddAskParam("patient"), 2);
    ASSERT_EQ(params.Asks().Count(), 2);
    EXPECT_STREQ(params.Asks().At(0)->name.Text(), "patient");
    EXPECT_STREQ(params.Asks().At(1)->name.Text(), "ward");
    EXPECT_TRUE(params.HasParam("ward"));
    EXPECT_STREQ(params.GetParam("ward").Text(), "");
    EXPECT_EQ(params.SetParam("ward", "B"), 2);  // present with the empty value
}

TEST(CParameters, RemovingOneNameKeepsAllOthers) {
    CParameters params;
    for (int i = 0; i < 40; ++i)
        params.SetParam(CString(("p" + std::to_string(i)).c_str()), CString(("v" + std::to_string(i)).c_str()));
    params.RemoveParam("p17");
    params.RemoveParam("never_set");
    EXPECT_FALSE(params.HasParam("p17"));
    EXPECT_STREQ(params.GetParam("p17").Text(), "0");
    for (int i = 0; i < 40; ++i) {
        if (i == 17) continue;
        std::string name = "p" + std::to_string(i);
        EXPECT_STREQ(params.GetParam(name.c_str()).Text(), ("v" + std::to_string(i)).c_str()) << name;
    }
    EXPECT_EQ(params.SetParam("p17", "again"), 0);  // a removed name can be set anew
    EXPECT_STREQ(params.GetParam("p17").Text(), "again");
}
