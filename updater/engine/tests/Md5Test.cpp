#include "TestFiles.h"
#include "Md5.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

std::string DigestText(const std::string& message) {
    Md5 md5;
    md5.Update(message.data(), message.size());
    unsigned char digest[16];
    md5.Final(digest);
    char text[33];
    EXPECT_TRUE(DigestToText(digest, text));
    return text;
}

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
    for (const auto& c : cases) EXPECT_EQ(DigestText(c.message), c.digest) << '"' << c.message << '"';
}

TEST(Md5, DigestOfAFileSpanningManyReads) {
    ScratchFolder folder;
    std::string path = folder.File("million.bin");
    WriteWholeFile(path, std::string(1000000, 'a'));
    EXPECT_EQ(Md5TextOfFile(path.c_str()), "7707D6AE4E027C70EEA2A935C2296F21");
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
    char text[33];
    ASSERT_TRUE(DigestToText(digest, text));
    EXPECT_STREQ(text, "7707D6AE4E027C70EEA2A935C2296F21");
}

TEST(Md5, UnreadableFileLeavesTheDigestAndReportsOnStandardOutput) {
    ScratchFolder folder;
    std::string path = folder.File("missing.bin");
    unsigned char digest[16];
    std::memset(digest, 0x5A, sizeof digest);
    testing::internal::CaptureStdout();
    Md5OfFile(path.c_str(), digest);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), path + " can't be opened\n");
    for (unsigned char byte : digest) EXPECT_EQ(byte, 0x5A);
    EXPECT_EQ(Md5TextOfFile(path.c_str()), std::string(32, '0'));
}

TEST(Md5, DigestTextRefusesNullPointers) {
    unsigned char digest[16] = {};
    char text[33];
    EXPECT_FALSE(DigestToText(nullptr, text));
    EXPECT_FALSE(DigestToText(digest, nullptr));
}

}  // namespace
