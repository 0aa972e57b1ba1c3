// The C stream owner with real files: what was written reaches the file when
// the last owner goes (fclose flushes), a moved-from owner leaves the stream
// open for its new owner, and a file that cannot be opened gives an empty
// owner. A double close or a write to a closed stream is a use after free
// that the sanitizers of the native tree report.
#include "StdioFile.h"

#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "TestFiles.h"

namespace {

TEST(StdioFile, TheStreamStaysOpenForItsNewOwnerAndTheLastOneClosesIt) {
    ScratchFolder folder;
    const std::string path = folder.File("moved.txt");
    StdioFile first(std::fopen(path.c_str(), "wb"));
    ASSERT_TRUE(first.IsValid());
    ASSERT_GE(std::fputs("one ", first.Get()), 0);
    {
        StdioFile second(std::move(first));
        EXPECT_FALSE(first.IsValid());
        ASSERT_GE(std::fputs("two", second.Get()), 0);
    }
    EXPECT_EQ(ReadWholeFile(path), "one two");
}

TEST(StdioFile, ResetClosesTheStreamItHeld) {
    ScratchFolder folder;
    const std::string before = folder.File("before.txt");
    const std::string after = folder.File("after.txt");
    StdioFile file(std::fopen(before.c_str(), "wb"));
    ASSERT_TRUE(file.IsValid());
    ASSERT_GE(std::fputs("before", file.Get()), 0);
    file.Reset(std::fopen(after.c_str(), "wb"));
    EXPECT_EQ(ReadWholeFile(before), "before");
    EXPECT_TRUE(file.IsValid());
}

TEST(StdioFile, AFileThatCannotBeOpenedGivesAnEmptyOwner) {
    ScratchFolder folder;
    StdioFile missing(std::fopen(folder.File("missing.txt").c_str(), "rb"));
    EXPECT_FALSE(missing.IsValid());
}

}  // namespace
