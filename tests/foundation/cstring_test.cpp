#include "foundation/cstring.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

TEST(CString, EmptyStringsShareOneBodyAndEqualNothing) {
    CString fromNull(static_cast<const char *>(nullptr));
    CString fromEmpty("");
    CString byDefault;
    EXPECT_TRUE(fromNull.SharesEmptyBody());
    EXPECT_TRUE(fromEmpty.SharesEmptyBody());
    EXPECT_STREQ(fromNull.Text(), "");
    EXPECT_NE(fromNull.Text(), nullptr);
    EXPECT_FALSE(fromNull.Equals(fromEmpty));
    EXPECT_FALSE(byDefault.Equals(byDefault));
    EXPECT_FALSE(byDefault.Equals(""));
    EXPECT_FALSE(CString("a").Equals(static_cast<const char *>(nullptr)));
}

TEST(CString, EqualityIsCaseSensitiveAndByteExact) {
    EXPECT_TRUE(CString("a").Equals(CString("a")));
    EXPECT_FALSE(CString("a").Equals(CString("A")));
    EXPECT_FALSE(CString("ab").Equals(CString("abc")));
    EXPECT_TRUE(CString("abc").Equals("abc"));
    CString s("x");
    CString t(s);
    EXPECT_TRUE(s.Equals(t));
}

TEST(CString, ConversionsAreLenient) {
    EXPECT_EQ(CString().ToInt(), 0);
    EXPECT_EQ(CString("12abc").ToInt(), 12);
    EXPECT_EQ(CString("  -7").ToInt(), -7);
    EXPECT_EQ(CString("abc").ToInt(), 0);
    EXPECT_EQ(CString("99999999999").ToInt(), INT32_MAX);
    EXPECT_EQ(CString("-99999999999").ToInt(), INT32_MIN);
    EXPECT_DOUBLE_EQ(CString("0.25").ToReal(), 0.25);
    EXPECT_DOUBLE_EQ(CString("1.5xyz").ToReal(), 1.5);
    EXPECT_DOUBLE_EQ(CString().ToReal(), 0.0);
}

TEST(CString, NumbersAreFormattedLikePrintf) {
    EXPECT_STREQ(CString(0.5f).Text(), "0.500000");
    EXPECT_STREQ(CString(int32_t{7}).Text(), "7");
    CString x("x");
    x.Append(int32_t{42});
    EXPECT_STREQ(x.Text(), "x42");
    CString y("v=");
    y.Append(0.25f);
    EXPECT_STREQ(y.Text(), "v=0.250000");
}

TEST(CString, HugeRealsStayInsideTheScratchArea) {
    CString huge(3.0e30f);
    EXPECT_LE(huge.Length(), 23);
    EXPECT_NEAR(huge.ToReal(), 3.0e30, 1e25);
    CString negative(-1.0e17f);
    EXPECT_LE(negative.Length(), 23);
    EXPECT_NEAR(negative.ToReal(), -1.0e17, 1e12);
    CString fits(1.0e15f);
    EXPECT_STREQ(fits.Text(), "999999986991104.000000");
}

TEST(CString, EraseCutsAndEmpties) {
    CString s("abcdef");
    s.Erase(2, 100);
    EXPECT_STREQ(s.Text(), "ab");
    CString all("abcdef");
    all.Erase(0, 6);
    EXPECT_TRUE(all.SharesEmptyBody());
    CString none("abcdef");
    CString shared(none);
    none.Erase(3, 0);
    EXPECT_STREQ(none.Text(), "abcdef");
    EXPECT_EQ(none.RefCount(), 2);
    CString middle("abcdef");
    CString keep(middle);
    middle.Erase(1, 2);
    EXPECT_STREQ(middle.Text(), "adef");
    EXPECT_STREQ(keep.Text(), "abcdef");
}

TEST(CString, ChangesTakePrivateCopies) {
    CString first("hello world");
    CString copy(first);
    EXPECT_EQ(first.RefCount(), 2);
    copy.ToUpper();
    EXPECT_STREQ(first.Text(), "hello world");
    EXPECT_STREQ(copy.Text(), "HELLO WORLD");
    EXPECT_EQ(first.RefCount(), 1);
    copy.ToLower();
    EXPECT_STREQ(copy.Text(), "hello world");

    CString accented("\xe9t\xc9");
    accented.ToUpper();
    EXPECT_STREQ(accented.Text(), "\xe9T\xc9");

    CString a("abc");
    CString b(a);
    b.CharAt(1) = 'X';
    EXPECT_STREQ(a.Text(), "abc");
    EXPECT_STREQ(b.Text(), "aXc");
    EXPECT_EQ(b.CharAt(3), 0);  // the terminator's position is accessible
}

TEST(CString, SelfAssignmentKeepsTextAndCount) {
    CString s("same");
    CString &alias = s;
    s = alias;
    EXPECT_STREQ(s.Text(), "same");
    EXPECT_EQ(s.RefCount(), 1);
    CString t(s);
    t = s;
    EXPECT_EQ(s.RefCount(), 2);
    s = s.Text();  // assignment from its own characters
    EXPECT_STREQ(s.Text(), "same");
    EXPECT_STREQ(t.Text(), "same");
}

TEST(CString, AppendHandlesNullEmptyAndItself) {
    CString s("ab");
    s.Append(static_cast<const char *>(nullptr));
    EXPECT_STREQ(s.Text(), "ab");
    s.Append(s);
    EXPECT_STREQ(s.Text(), "abab");
    s.Append(s.Text());
    EXPECT_STREQ(s.Text(), "abababab");

    CString empty;
    empty.Append("");
    EXPECT_EQ(empty.Length(), 0);
    EXPECT_FALSE(empty.SharesEmptyBody());  // its own body, still empty everywhere
    EXPECT_FALSE(empty.Equals(CString()));
    EXPECT_STREQ(empty.Text(), "");
    empty.Clear();
    EXPECT_TRUE(empty.SharesEmptyBody());
}

TEST(CString, MovesHandOverTheBodyAndLeaveAnEmptyString) {
    CString original("moved text");
    CString other(original);
    CString moved(std::move(original));
    EXPECT_STREQ(moved.Text(), "moved text");
    EXPECT_EQ(other.RefCount(), 2);  // other and moved: the moved-from one let go
    EXPECT_TRUE(original.SharesEmptyBody());
    EXPECT_EQ(original.Length(), 0);
    EXPECT_FALSE(original.Equals(CString()));
    original.Append("usable");
    EXPECT_STREQ(original.Text(), "usable");

    CString target("old body");
    CString keepOld(target);
    target = std::move(moved);
    EXPECT_STREQ(target.Text(), "moved text");
    EXPECT_EQ(keepOld.RefCount(), 1);  // the old body was released
    EXPECT_EQ(other.RefCount(), 2);
    EXPECT_TRUE(moved.SharesEmptyBody());

    CString &alias = target;
    target = std::move(alias);
    EXPECT_STREQ(target.Text(), "moved text");
    EXPECT_EQ(other.RefCount(), 2);
}

TEST(CString, IteratesAndReadsCharactersWithoutCopying) {
    CString s("banana");
    CString shared(s);
    EXPECT_EQ(std::count(s.begin(), s.end(), 'a'), 3);
    std::string walked;
    for (char c : s) walked += c;
    EXPECT_EQ(walked, "banana");
    const CString &readOnly = s;
    EXPECT_EQ(readOnly.CharAt(0), 'b');
    EXPECT_EQ(readOnly.CharAt(6), 0);
    EXPECT_EQ(s.RefCount(), 2);  // reading did not take a private copy
    CString empty;
    EXPECT_EQ(empty.begin(), empty.end());
}

TEST(CStringDeathTest, CharAtOutsideTheTextStops) {
    CString s("ab");
    EXPECT_DEATH(s.CharAt(3), "\\(ICS->len\\)&&\\(i>=0\\)&&\\(i<=ICS->len\\), unit cstring, line");
    CString empty;
    EXPECT_DEATH(empty.CharAt(0), "unit cstring");
    const CString &readOnly = s;
    EXPECT_DEATH(readOnly.CharAt(-1), "\\(ICS->len\\)&&\\(i>=0\\)&&\\(i<=ICS->len\\), unit cstring, line");
}
