// The version reader of Windows images: on images made here (both header
// forms, damaged one field at a time, cut at every length) and on the
// project's own binaries when the Windows trees are built.
#include "PeImageBuilder.h"
#include "PeVersion.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

namespace {

std::optional<std::string> VersionOf(const std::string& bytes) {
    const std::optional<PeFileVersion> version = ReadPeFileVersion(bytes);
    if (!version) return std::nullopt;
    return version->Text();
}

TEST(PeVersion, ReadsTheFixedFileVersionOfWellFormedImages) {
    const struct {
        const char* what;
        PeImageOptions options;
        const char* expected;
    } cases[] = {
        {"PE32", {}, "1.2.3.4"},
        {"PE32+", {true}, "1.2.3.4"},
        {"each part is 16 bits, high half first", {false, 0xFFFF0000, 0x0001FFFE}, "65535.0.1.65534"},
        {"a version block under another name", {false, 0x00010000, 0x00000009, 7}, "1.0.0.9"},
        {"a named type before RT_VERSION", {false, 0x00020000, 0x00000001, 1, true}, "2.0.0.1"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(VersionOf(BuildPeImage(c.options).bytes), std::optional<std::string>(c.expected)) << c.what;
    }
}

TEST(PeVersion, AnImageCutShortAnywhereGivesNoVersion) {
    const std::string whole = BuildPeImage().bytes;
    ASSERT_TRUE(VersionOf(whole));
    for (size_t length = 0; length < whole.size(); ++length) {
        EXPECT_EQ(VersionOf(whole.substr(0, length)), std::nullopt) << "cut at " << length;
    }
}

TEST(PeVersion, DamagedOrHostileFieldsGiveNoVersion) {
    using Damage = std::function<void(PeImage*)>;
    const struct {
        const char* what;
        Damage damage;
    } cases[] = {
        {"no MZ", [](PeImage* i) { i->bytes[0] = 'X'; }},
        {"header offset far beyond the file", [](PeImage* i) { Put32(&i->bytes, 0x3C, 0xFFFFFFF0); }},
        {"no PE signature", [](PeImage* i) { i->bytes[i->ntHeader + 1] = 'F'; }},
        {"unknown optional header form", [](PeImage* i) { Put16(&i->bytes, i->optionalMagic, 0x107); }},
        {"65535 sections beyond the file", [](PeImage* i) { Put16(&i->bytes, i->sectionCount, 0xFFFF); }},
        {"no section", [](PeImage* i) { Put16(&i->bytes, i->sectionCount, 0); }},
        {"no resource directory among the directories", [](PeImage* i) { Put32(&i->bytes, i->directoryCount, 2); }},
        {"optional header too short for the resource directory",
         [](PeImage* i) { Put16(&i->bytes, i->optionalHeaderSize, 96); }},
        {"resource directory outside every section",
         [](PeImage* i) { Put32(&i->bytes, i->resourceDirectory, 0x5000); }},
        {"resource directory smaller than its root", [](PeImage* i) { Put32(&i->bytes, i->resourceDirectory + 4, 8); }},
        {"section data at the end of the offset range",
         [](PeImage* i) { Put32(&i->bytes, i->section + 20, 0xFFFFFFFF); }},
        {"no RT_VERSION type", [](PeImage* i) { Put32(&i->bytes, i->typeEntry, 3); }},
        {"RT_VERSION leading to data instead of names",
         [](PeImage* i) { Put32(&i->bytes, i->typeEntry + 4, i->nameDirectoryOffset); }},
        {"the root pointing back at itself", [](PeImage* i) { Put32(&i->bytes, i->typeEntry + 4, 0x80000000u); }},
        {"the name directory pointing back at itself",
         [](PeImage* i) { Put32(&i->bytes, i->nameDirectory + 20, 0x80000000u | i->nameDirectoryOffset); }},
        {"65535 entries beyond the resources", [](PeImage* i) { Put16(&i->bytes, i->nameDirectory + 14, 0xFFFF); }},
        {"a directory without entries", [](PeImage* i) { Put16(&i->bytes, i->languageDirectory + 14, 0); }},
        {"version data beyond the section", [](PeImage* i) { Put32(&i->bytes, i->dataEntry, 0x1000 + 0x10000); }},
        {"version data too short for its fixed part", [](PeImage* i) { Put32(&i->bytes, i->dataEntry + 4, 60); }},
        {"version data of 4 GiB", [](PeImage* i) { Put32(&i->bytes, i->dataEntry + 4, 0xFFFFFFFF); }},
        {"block length too short", [](PeImage* i) { Put16(&i->bytes, i->versionInfo, 80); }},
        {"no fixed part announced", [](PeImage* i) { Put16(&i->bytes, i->versionInfo + 2, 0); }},
        {"another key than VS_VERSION_INFO", [](PeImage* i) { Put16(&i->bytes, i->versionInfo + 6 + 2 * 14, 'X'); }},
        {"wrong fixed-part signature", [](PeImage* i) { Put32(&i->bytes, i->fixedFileInfo, 0xFEEF04BE); }},
    };
    for (const auto& c : cases) {
        PeImage image = BuildPeImage();
        c.damage(&image);
        EXPECT_EQ(VersionOf(image.bytes), std::nullopt) << c.what;
    }
}

// The Windows trees share this source folder's build/ folder. The version is
// the project's, as the version resource template writes it, except for the
// engine tests' stand-in libraries, which carry their own or none.
TEST(PeVersion, ReadsTheProjectsOwnBinaries) {
    const std::string build = std::string(QV_SOURCE_DIR) + "/build/";
    const struct {
        const char* path;
        std::optional<std::string> expected;
    } cases[] = {
        {"win64/updater/shell/Koravel.exe", QV_PROJECT_VERSION},
        {"win32/updater/shell/Koravel.exe", QV_PROJECT_VERSION},
        {"win32/secure/secure.dll", QV_PROJECT_VERSION},
        {"win64/secure/secure.dll", QV_PROJECT_VERSION},
        {"win32/updater/engine/tests/kvtest_ver1009.dll", "1.0.0.9"},
        {"win32/updater/engine/tests/kvtest_noversion.dll", std::nullopt},
    };
    int read = 0;
    for (const auto& c : cases) {
        const std::string path = build + c.path;
        if (!PathExists(path)) continue;
        ++read;
        EXPECT_EQ(VersionOf(ReadWholeFile(path)), c.expected) << c.path;
    }
    if (read == 0) GTEST_SKIP() << "no Windows tree built in " << build;
}

}  // namespace
