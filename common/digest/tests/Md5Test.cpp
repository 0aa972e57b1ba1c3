#include "HexText.h"
#include "Md5.h"
#include "TestFiles.h"
#include "WholeFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

TEST(Md5, MatchesTheReferenceSuiteInUppercase) {
    const struct {
        const char* message;
        const char* digest;
    } cases[] = {
        {"", "D41D8CD98F00B204E9800998ECF8427E"},
        {"a", "0CC175B9C0F1B6A831C399E269772661"},
        {"abc", "900150983CD24FB0D6963F7D28E17F72"},
        {"message digest", "F96B697D7CB7938D525A2F31AAF161D0"},
        {"abcdefghijklmnopqrstuvwxyz", "C3FCD3D76192E4007DFB496CCA67E13B"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "D174AB98D277D9F5A5611C2C9F419D9F"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57EDF4A22BE3C955AC49DA2E2107B67A"},
    };
    for (const auto& c : cases) EXPECT_EQ(Md5Text(c.message, std::strlen(c.message)), c.digest) << '"' << c.message << '"';
}

TEST(Md5, DigestOfAFileSpanningManyReads) {
    ScratchFolder folder;
    std::string path = folder.File("million.bin");
    ASSERT_TRUE(WriteWholeFile(path, std::string(1000000, 'a')));
    EXPECT_EQ(Md5TextOfFile(path), "7707D6AE4E027C70EEA2A935C2296F21");
}

TEST(Md5, PiecesOfAnySizeGiveTheDigestOfTheWhole) {
    // Pieces that begin, complete, span and end blocks at every offset.
    const size_t pieceSizes[] = {1, 63, 64, 65, 130, 7, 1000, 3};
    const std::string message(1000000, 'a');
    Md5 md5;
    size_t offset = 0;
    for (size_t i = 0; offset < message.size(); ++i) {
        size_t take = std::min(pieceSizes[i % 8], message.size() - offset);
        md5.Update(message.data() + offset, take);
        offset += take;
    }
    unsigned char digest[16];
    md5.Final(digest);
    EXPECT_EQ(HexText(digest, sizeof digest, HexLetters::kUpper), "7707D6AE4E027C70EEA2A935C2296F21");
}

// A file that cannot be read has no digest: not the digest of its first
// pieces, not that of an empty file, and nothing on standard output.
TEST(Md5, AFileThatCannotBeReadHasNoDigest) {
    ScratchFolder folder;
    testing::internal::CaptureStdout();
    EXPECT_EQ(Md5TextOfFile(folder.File("missing.bin")), std::nullopt);
    EXPECT_EQ(Md5TextOfFile(folder.Path()), std::nullopt);  // a folder: opened on some systems, never read
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

}  // namespace
