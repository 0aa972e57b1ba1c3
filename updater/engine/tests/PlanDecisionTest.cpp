#include "plan/PlanDecision.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

UpdateItem ManifestItem(const char* fileVersion, int date, int downValue = 0) {
    UpdateItem item;
    item.fileVersion = fileVersion;
    item.itemDate = date;
    item.downValue = downValue;
    return item;
}

InstalledFile Installed(const char* version, int date) {
    InstalledFile installed;
    installed.exists = true;
    installed.infoRead = true;
    installed.versionText = version;
    installed.date = date;
    return installed;
}

TEST(PlanDecision, ComparesVersionsAsTextAndDatesAsNumbers) {
    const struct {
        const char* manifestVersion;
        int manifestDate;
        const char* installedVersion;
        int installedDate;
        bool needed;
    } cases[] = {
        {"1.0.0.10", 0, "1.0.0.9", 0, false},  // textual: "9" is above "1"
        {"1.0.0.2", 0, "1.0.0.1", 0, true},
        {"1.0.0.1", 0, "1.0.0.1", 0, false},
        {"1.0.0.1", 0, "1.0.0.2", 0, false},
        {"1.0.0.1", 0, "", 20240101, true},  // no version resource: always below
        {"1.0.0.A", 0, "1.0.0.a", 0, false},  // case-insensitive
        {"", 20240306, "9.9.9.9", 20240305, true},
        {"", 20240305, "9.9.9.9", 20240305, false},
        {"", 20240304, "", 20240305, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecideNeedsUpdate(ManifestItem(c.manifestVersion, c.manifestDate),
                                    Installed(c.installedVersion, c.installedDate)),
                  c.needed)
            << c.manifestVersion << "/" << c.manifestDate << " vs " << c.installedVersion << "/"
            << c.installedDate;
    }
}

TEST(PlanDecision, MissingFileDownValueAndUnreadableInfo) {
    InstalledFile missing;
    EXPECT_TRUE(DecideNeedsUpdate(ManifestItem("1.0.0.1", 0), missing));

    InstalledFile current = Installed("2.0.0.0", 20991231);
    EXPECT_TRUE(DecideNeedsUpdate(ManifestItem("1.0.0.1", 0, 1), current));
    EXPECT_FALSE(DecideNeedsUpdate(ManifestItem("1.0.0.1", 0, 2), current));

    InstalledFile unreadable;
    unreadable.exists = true;
    EXPECT_FALSE(DecideNeedsUpdate(ManifestItem("9.0.0.0", 0), unreadable));
}

TEST(PlanDecision, UnsafeItemsAreNeverNeeded) {
    UpdateItem item = ManifestItem("1.0.0.1", 0, 1);
    item.pathsSafe = false;
    EXPECT_FALSE(DecideNeedsUpdate(item, InstalledFile()));
}

// A line break in any text of the block would write a block of its own into
// the state file; any control character keeps the item out of the plan.
TEST(PlanDecision, ItemsWithControlCharactersInTheirRecordedTextsAreNeverNeeded) {
    const struct {
        std::string UpdateItem::*field;
        const char* name;
    } fields[] = {
        {&UpdateItem::url, "URL"},
        {&UpdateItem::fileName, "FileName"},
        {&UpdateItem::downloadPath, "download path"},
        {&UpdateItem::installPath, "install path"},
        {&UpdateItem::subPath, "sub-folder path"},
    };
    const struct {
        std::string text;
        bool needed;
    } texts[] = {
        {"http://h/a\nEND\nBEGIN\nSRCFILE C:\\x\nDESTFILE C:\\Windows\\x.dll\nEND", false},
        {"http://h/a\r", false},
        {"a\tb", false},
        {std::string("a\0b", 3), false},
        {"a\x1F", false},
        {"a\x7F", false},
        {"http://h/\xce\xc4\xbc\xfe.dll", true},  // GB2312 bytes are no control characters
        {"a b~", true},
    };
    for (const auto& f : fields) {
        for (const auto& t : texts) {
            UpdateItem item = ManifestItem("1.0.0.1", 0, 1);
            item.*f.field = t.text;
            EXPECT_EQ(DecideNeedsUpdate(item, InstalledFile()), t.needed) << f.name << ": " << t.text;
        }
    }
}

TEST(PlanDecision, ExistingDownloadMatchesByVersionOrDigest) {
    UpdateItem item;
    item.fileVersion = "1.0.0.9";
    std::strcpy(item.md5, "0cc175b9c0f1b6a831c399e269772661");

    ExistingDownload byVersion;
    byVersion.hasVersion = true;
    byVersion.versionText = "1.0.0.9";
    EXPECT_TRUE(ExistingDownloadMatches(item, byVersion));

    ExistingDownload byDigest;
    byDigest.hasMd5 = true;
    byDigest.md5Text = "0CC175B9C0F1B6A831C399E269772661";
    EXPECT_TRUE(ExistingDownloadMatches(item, byDigest));

    ExistingDownload neither;
    neither.hasVersion = true;
    neither.versionText = "1.0.0.8";
    neither.hasMd5 = true;
    neither.md5Text = std::string(32, '0');
    EXPECT_FALSE(ExistingDownloadMatches(item, neither));

    UpdateItem noDigest;
    ExistingDownload emptyDigest;
    emptyDigest.hasMd5 = true;
    EXPECT_FALSE(ExistingDownloadMatches(noDigest, emptyDigest));
}

TEST(PlanDecision, VersionedExtensions) {
    EXPECT_TRUE(HasVersionedExtension("C:\\u\\a.EXE"));
    EXPECT_TRUE(HasVersionedExtension("C:\\u\\a.dll"));
    EXPECT_FALSE(HasVersionedExtension("C:\\u\\a.txt"));
    EXPECT_FALSE(HasVersionedExtension("C:\\u.dll\\a"));
}

}  // namespace
