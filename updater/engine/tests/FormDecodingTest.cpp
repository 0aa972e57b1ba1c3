// A fetched form on disk becomes the file it stands for, or nothing at all:
// after a failure the older file at the target stays and no decoded bytes
// are left beside it.
#include "DeltaFixtures.h"
#include "HandMadeFrame.h"
#include "delta/FormDecoding.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

DecodeStatus DecodeInFolder(const ScratchFolder& folder, const std::string& stream, uint64_t expectedSize,
                            const std::optional<std::string>& base) {
    EXPECT_TRUE(WriteWholeFile(folder.File("form"), stream));
    PatchBase patchBase;
    if (base) patchBase = PatchBase{base->data(), base->size(), base->size()};
    return DecodeFormFile(folder.File("form"), expectedSize, base ? &patchBase : nullptr, folder.File("file"));
}

TEST(FormDecoding, ACompressedFileOrAPatchReplacesTheTarget) {
    const std::string older = OlderFile();
    const std::string newer = NewerFile();
    for (const bool patch : {false, true}) {
        ScratchFolder folder;
        ASSERT_TRUE(WriteWholeFile(folder.File("file"), "an older download"));
        const DecodeStatus status = patch ? DecodeInFolder(folder, NewerPatchFromOlder(), newer.size(), older)
                                          : DecodeInFolder(folder, NewerCompressed(), newer.size(), std::nullopt);
        EXPECT_EQ(status, DecodeStatus::kOk) << (patch ? "patch" : "compressed");
        EXPECT_TRUE(ReadWholeFile(folder.File("file")) == newer);
        EXPECT_FALSE(PathExists(folder.File("file.download")));
    }
}

TEST(FormDecoding, AFailureLeavesTheTargetAsItWasAndNothingBesideIt) {
    const std::string newer = NewerFile();
    std::string damaged = NewerCompressed();
    damaged[damaged.size() / 2] ^= 0x55;
    std::string otherBase = OlderFile();
    otherBase.replace(otherBase.size() / 2, 4000, 4000, '#');
    const struct {
        const char* what;
        std::string stream;
        std::optional<std::string> base;
        DecodeStatus expected;
    } cases[] = {
        {"a damaged stream", damaged, std::nullopt, DecodeStatus::kCorrupt},
        {"a cut stream", NewerCompressed().substr(0, 100), std::nullopt, DecodeStatus::kTruncated},
        {"a bomb", BombFrame(newer.size()), std::nullopt, DecodeStatus::kTooLong},
        {"a patch against another base", NewerPatchFromOlder(), otherBase, DecodeStatus::kCorrupt},
    };
    for (const auto& c : cases) {
        ScratchFolder folder;
        ASSERT_TRUE(WriteWholeFile(folder.File("file"), "an older download"));
        EXPECT_EQ(DecodeInFolder(folder, c.stream, newer.size(), c.base), c.expected) << c.what;
        EXPECT_TRUE(ReadWholeFile(folder.File("file")) == "an older download") << c.what;
        EXPECT_FALSE(PathExists(folder.File("file.download"))) << c.what;
    }

    ScratchFolder folder;
    EXPECT_EQ(DecodeFormFile(folder.File("missing"), newer.size(), nullptr, folder.File("file")),
              DecodeStatus::kSourceFailed);
    EXPECT_FALSE(PathExists(folder.File("file")));
    EXPECT_FALSE(PathExists(folder.File("file.download")));
}

}  // namespace
