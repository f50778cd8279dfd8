#include "language/input_char.h"

#include <gtest/gtest.h>

TEST(CPInputChar, ReadsTwoBytesThenTheEndMarker) {
    CPInputChar input("ab");
    EXPECT_EQ(input.Open(), 0);
    EXPECT_EQ(input.GetChar(), 'a');
    EXPECT_EQ(input.GetChar(), 'b');
    EXPECT_FALSE(input.AtEnd());
    EXPECT_EQ(input.GetChar(), -1);
    EXPECT_TRUE(input.AtEnd());
    EXPECT_EQ(input.Pos(), 3);
    // Ungetting the end marker makes the next read give it again.
    EXPECT_EQ(input.UngetChar(-1), -1);
    EXPECT_FALSE(input.AtEnd());
    EXPECT_EQ(input.GetChar(), -1);
    EXPECT_TRUE(input.AtEnd());
    // Reads past the end keep counting.
    EXPECT_EQ(input.GetChar(), -1);
    EXPECT_EQ(input.Pos(), 4);
}

TEST(CPInputChar, EmptyTextEndsAtOnceAndNullTextCannotBeOpened) {
    CPInputChar empty("");
    EXPECT_EQ(empty.Open(), 0);
    EXPECT_FALSE(empty.AtEnd());
    EXPECT_EQ(empty.GetChar(), -1);
    EXPECT_TRUE(empty.AtEnd());

    CPInputChar none(nullptr);
    EXPECT_EQ(none.Open(), 2);
    EXPECT_EQ(none.GetChar(), -1);
    EXPECT_TRUE(none.AtEnd());
}

TEST(CPInputChar, UngetStepsBackOneCharacterAndPosIsTheOffset) {
    CPInputChar input("ab");
    input.GetChar();
    input.GetChar();
    EXPECT_EQ(input.UngetChar('b'), 'b');
    EXPECT_EQ(input.Pos(), 1);
    EXPECT_EQ(input.GetChar(), 'b');
    // Back to the start: the step is made, and the result says nothing is
    // left in front of the reading point.
    input.UngetChar('b');
    EXPECT_EQ(input.UngetChar('a'), -1);
    EXPECT_EQ(input.Pos(), 0);
    EXPECT_EQ(input.GetChar(), 'a');
}

TEST(CPInputChar, UngetAtTheStartNeverReadsInFrontOfTheText) {
    CPInputChar input("xy");
    EXPECT_EQ(input.UngetChar('q'), -1);
    EXPECT_EQ(input.UngetChar('q'), -1);
    EXPECT_EQ(input.Pos(), 0);
    EXPECT_EQ(input.GetChar(), 'x');
    EXPECT_EQ(input.Pos(), 1);
}

TEST(CPInputChar, HighBytesReadAsNegativeAndFFLooksLikeTheEnd) {
    CPInputChar input("\x80\xfe\xff" "c");
    EXPECT_EQ(input.GetChar(), -128);
    EXPECT_EQ(input.GetChar(), -2);
    EXPECT_EQ(input.GetChar(), -1);
    EXPECT_FALSE(input.AtEnd());  // a byte, not the end
    EXPECT_EQ(input.GetChar(), 'c');
}

TEST(CPInputChar, CopiesTheTextAndMayHoldZeroBytes) {
    char text[] = "ab";
    CPInputChar copied(text);
    text[0] = 'z';
    EXPECT_EQ(copied.GetChar(), 'a');

    const char bytes[] = {'a', '\0', 'b'};
    CPInputChar withZero(bytes, 3);
    EXPECT_EQ(withZero.GetChar(), 'a');
    EXPECT_EQ(withZero.GetChar(), 0);
    EXPECT_EQ(withZero.GetChar(), 'b');
    EXPECT_EQ(withZero.GetChar(), -1);
    EXPECT_TRUE(withZero.AtEnd());
}
