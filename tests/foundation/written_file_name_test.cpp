#include "foundation/written_file_name.h"

#include <gtest/gtest.h>

TEST(WrittenFileName, OnlyNamesInsideTheKnowledgeBasesDirectory) {
    for (const char *name : {"report.txt", "out/report.txt", "a\\b.txt", "..report", "report..", "x/..y/z", ".hidden"})
        EXPECT_TRUE(IsWritableFileName(name)) << name;
    for (const char *name : {"", "/home/user/.bashrc", "\\x", "c:report.txt", "C:\\data\\r.txt", "..", "../r.txt",
                             "out/../../r.txt", "out\\..\\..\\r.txt", "out/..", "a/../b"})
        EXPECT_FALSE(IsWritableFileName(name)) << name;
    EXPECT_FALSE(IsWritableFileName(nullptr));
}

TEST(WrittenFileName, AbsoluteNamesStartAtARootOrADrive) {
    for (const char *name : {"/x", "\\x", "c:x", "Z:\\data"}) EXPECT_TRUE(IsAbsoluteFileName(name)) << name;
    for (const char *name : {"", "x", "1:x", "x/c:", "./x"}) EXPECT_FALSE(IsAbsoluteFileName(name)) << name;
}
