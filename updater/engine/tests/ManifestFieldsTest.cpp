#include "manifest/ManifestFields.h"

#include <gtest/gtest.h>

namespace {

TEST(ManifestFields, ConvertsValuesByTheFieldTable) {
    UpdateItem item;
    ApplyManifestField(&item, "downvalue", "1x");
    ApplyManifestField(&item, "FILENAME", "Stock.dll");
    ApplyManifestField(&item, "FileVersion", "1.0.0.10");
    ApplyManifestField(&item, "Length", "1234abc");
    ApplyManifestField(&item, "FileDateLow", "20240305");
    ApplyManifestField(&item, "FileDateHigh", "zz");
    ApplyManifestField(&item, "InstallDir", "systemdir");
    ApplyManifestField(&item, "LocalPath", "a\\b");
    ApplyManifestField(&item, "URL", "http://h/a.dll");
    ApplyManifestField(&item, "ExecutePar", "-q");
    ApplyManifestField(&item, "Unknown", "ignored");
    ApplyManifestField(&item, "FileName", "Later.dll");  // a later value wins

    EXPECT_EQ(item.downValue, 1);
    EXPECT_EQ(item.fileName, "Later.dll");
    EXPECT_EQ(item.fileVersion, "1.0.0.10");
    EXPECT_EQ(item.length, 1234);
    EXPECT_EQ(item.itemDate, 20240305);
    EXPECT_EQ(item.fileDateHigh, 0);
    EXPECT_EQ(item.installDir, "systemdir");
    EXPECT_EQ(item.localPath, "a\\b");
    EXPECT_EQ(item.url, "http://h/a.dll");
    EXPECT_EQ(item.executePar, "-q");
}

TEST(ManifestFields, LengthIsSignExtended) {
    UpdateItem item;
    ApplyManifestField(&item, "Length", "-5");
    EXPECT_EQ(item.length, -5);
}

TEST(ManifestFields, NumbersFollowAtoiAndStayAtThe32BitBounds) {
    const int32_t kMax = 2147483647;
    const int32_t kMin = -2147483647 - 1;
    const struct {
        const char* text;
        int32_t expected;
    } cases[] = {
        {"2147483647", kMax},
        {"2147483648", kMax},
        {"99999999999", kMax},
        {"4294967301", kMax},  // would wrap to 5 if cut to 32 bits
        {"123456789012345678901234567890", kMax},
        {"-2147483648", kMin},
        {"-2147483649", kMin},
        {"-99999999999999999999", kMin},
        {"  \t42x", 42},
        {"+7", 7},
        {"-", 0},
        {"", 0},
        {"x12", 0},
        {"00000000000000000000012", 12},
    };
    for (const auto& c : cases) {
        UpdateItem item;
        ApplyManifestField(&item, "Length", c.text);
        ApplyManifestField(&item, "DownValue", c.text);
        ApplyManifestField(&item, "FileDateLow", c.text);
        ApplyManifestField(&item, "FileDateHigh", c.text);
        EXPECT_EQ(item.length, static_cast<int64_t>(c.expected)) << c.text;
        EXPECT_EQ(item.downValue, c.expected) << c.text;
        EXPECT_EQ(item.itemDate, c.expected) << c.text;
        EXPECT_EQ(item.fileDateHigh, c.expected) << c.text;
    }
}

TEST(ManifestFields, FlagsAreTrueOnlyForYes) {
    const struct {
        const char* text;
        bool expected;
    } cases[] = {{"YES", true}, {"yes", true}, {"Yes", true}, {"TRUE", false}, {"1", false}, {"YES ", false}};
    for (const auto& c : cases) {
        for (const char* field : {"Register", "ZipFile", "ForceOverwrite", "Execute"}) {
            UpdateItem item;
            ApplyManifestField(&item, field, c.text);
            bool value = item.registerFile || item.zipFile || item.forceOverwrite || item.execute;
            EXPECT_EQ(value, c.expected) << field << "=" << c.text;
        }
    }
}

TEST(ManifestFields, Md5IsCutTo39Characters) {
    UpdateItem item;
    ApplyManifestField(&item, "MD5", std::string(50, 'a'));
    EXPECT_EQ(std::string(item.md5), std::string(39, 'a'));
    ApplyManifestField(&item, "md5", "0cc175b9c0f1b6a831c399e269772661");
    EXPECT_EQ(std::string(item.md5), "0cc175b9c0f1b6a831c399e269772661");
}

const ItemFolders kFolders{"C:\\Client", "C:\\Windows", "C:\\Windows\\system32", "C:\\Client\\Update\\"};

// The fields of the compressed file and the patches (docs/manifest-delta.md):
// read beside the whole file's, which they never change.
TEST(ManifestFields, FileFormsAreReadBesideTheWholeFile) {
    const std::string a(64, 'a'), b(64, 'B'), c(64, 'c'), d(64, 'd');
    UpdateItem item;
    const std::pair<const char*, std::string> fields[] = {
        {"URL", "http://h/a.dll"},          {"Length", "300"},
        {"SHA256", d},                      {"CompressedURL", "http://h/a.dll.zst"},
        {"compressedlength", "120"},        {"CompressedSHA256", a},
        {"Patch2BaseSHA256", b},            {"Patch2BaseLength", "280"},
        {"PATCH2URL", "http://h/a.dll.bbbb.zpatch"}, {"Patch2Length", "12"},
        {"Patch2SHA256", c},
    };
    for (const auto& [name, value] : fields) ApplyManifestField(&item, name, value);

    EXPECT_EQ(item.url, "http://h/a.dll");
    EXPECT_EQ(item.length, 300);
    EXPECT_EQ(item.sha256, d);
    EXPECT_EQ(item.forms.compressed.url, "http://h/a.dll.zst");
    EXPECT_EQ(item.forms.compressed.length, 120);
    EXPECT_TRUE(item.forms.compressed.IsComplete());
    ASSERT_EQ(item.forms.patches.size(), 2u);
    EXPECT_FALSE(item.forms.patches[0].IsComplete());  // Patch1 not given
    const PatchForm& patch = item.forms.patches[1];
    EXPECT_EQ(patch.baseSha256, b);
    EXPECT_EQ(patch.baseLength, 280);
    EXPECT_EQ(patch.url, "http://h/a.dll.bbbb.zpatch");
    EXPECT_EQ(patch.length, 12);
    EXPECT_EQ(patch.sha256, c);
    EXPECT_TRUE(patch.IsComplete());
}

TEST(ManifestFields, WithoutFormFieldsAnItemHasNoForms) {
    UpdateItem item;
    ApplyManifestField(&item, "URL", "http://h/a.dll");
    ApplyManifestField(&item, "Length", "300");
    EXPECT_FALSE(item.forms.compressed.IsComplete());
    EXPECT_TRUE(item.forms.patches.empty());
}

TEST(ManifestFields, FormFieldsOutsideTheirRulesAreNotTaken) {
    const std::string digest(64, 'e');
    // Names that are no patch field of the eight an item may list.
    for (const char* name : {"Patch0URL", "Patch9URL", "Patch01URL", "Patch12URL", "PatchURL", "Patch1Size",
                             "Compressed", "CompressedBaseSHA256"}) {
        UpdateItem item;
        ApplyManifestField(&item, name, "http://h/x");
        EXPECT_TRUE(item.forms.patches.empty()) << name;
        EXPECT_TRUE(item.forms.compressed.url.empty()) << name;
    }
    // Lengths are plain decimal numbers within 64 bits; anything else leaves
    // the form incomplete rather than guessing, as atoi would.
    for (const char* length : {"", "-1", "+5", " 5", "5x", "0x10", "1234567890123456789"}) {
        UpdateItem item;
        ApplyManifestField(&item, "CompressedURL", "http://h/a.zst");
        ApplyManifestField(&item, "CompressedSHA256", digest);
        ApplyManifestField(&item, "CompressedLength", length);
        EXPECT_FALSE(item.forms.compressed.IsComplete()) << "length \"" << length << "\"";
    }
    // A digest must be 64 hexadecimal digits.
    for (const std::string& sha : {std::string(63, 'e'), std::string(65, 'e'), std::string(63, 'e') + "g"}) {
        UpdateItem item;
        ApplyManifestField(&item, "Patch1URL", "http://h/a.zpatch");
        ApplyManifestField(&item, "Patch1Length", "10");
        ApplyManifestField(&item, "Patch1SHA256", digest);
        ApplyManifestField(&item, "Patch1BaseLength", "10");
        ApplyManifestField(&item, "Patch1BaseSHA256", sha);
        ASSERT_EQ(item.forms.patches.size(), 1u);
        EXPECT_FALSE(item.forms.patches[0].IsComplete()) << sha;
        ApplyManifestField(&item, "Patch1BaseSHA256", digest);
        EXPECT_TRUE(item.forms.patches[0].IsComplete());
    }
}

TEST(ManifestFields, PathsFollowInstallDirAndLocalPath) {
    const struct {
        const char* installDir;
        const char* localPath;
        const char* download;
        const char* install;
        const char* sub;
    } cases[] = {
        {nullptr, "", "C:\\Client\\Update\\\\f.dll", "C:\\Client\\f.dll", ""},
        {nullptr, "data\\cfg", "C:\\Client\\Update\\\\data\\cfg\\f.dll", "C:\\Client\\data\\cfg\\f.dll",
         "C:\\Client\\data\\cfg"},
        {"systemdir", "", "C:\\Client\\Update\\\\f.dll", "C:\\Windows\\system32\\f.dll", ""},
        {"WindowsDir", "x", "C:\\Client\\Update\\\\x\\f.dll", "C:\\Windows\\x\\f.dll", ""},
        {"elsewhere", "", "C:\\Client\\Update\\\\f.dll", "C:\\Client\\f.dll", ""},
    };
    for (const auto& c : cases) {
        UpdateItem item;
        ApplyManifestField(&item, "FileName", "f.dll");
        if (c.installDir) ApplyManifestField(&item, "InstallDir", c.installDir);
        ApplyManifestField(&item, "LocalPath", c.localPath);
        EXPECT_TRUE(DeriveItemPaths(&item, kFolders));
        EXPECT_EQ(item.downloadPath, c.download);
        EXPECT_EQ(item.installPath, c.install);
        EXPECT_EQ(item.subPath, c.sub);
    }
}

TEST(ManifestFields, NamesLeavingTheirFoldersOrTooLongAreUnsafe) {
    const struct {
        std::string fileName;
        std::string localPath;
    } cases[] = {
        {"..\\evil.dll", ""},       {"C:\\Windows\\evil.dll", ""}, {"\\evil.dll", ""},
        {"/evil.dll", ""},          {"f.dll", "..\\.."},           {"f.dll", "a\\..\\..\\b"},
        {"f.dll", "a/../b"},        {"f.dll", "D:x"},              {std::string(250, 'n'), ""},
        {"f.dll", std::string(245, 'p')},
    };
    for (const auto& c : cases) {
        UpdateItem item;
        item.fileName = c.fileName;
        item.localPath = c.localPath;
        EXPECT_FALSE(DeriveItemPaths(&item, kFolders)) << c.fileName << " | " << c.localPath;
        EXPECT_FALSE(item.pathsSafe);
        EXPECT_TRUE(item.downloadPath.empty());
        EXPECT_TRUE(item.installPath.empty());
    }
    UpdateItem dotted;
    dotted.fileName = "..a.dll";
    dotted.localPath = "v1..2\\x";
    EXPECT_TRUE(DeriveItemPaths(&dotted, kFolders));
}

TEST(ManifestFields, FileNamesAndFolderNamesMustBeWindowsNames) {
    const struct {
        const char* what;
        std::string fileName;
        std::string localPath;
        bool safe;
    } cases[] = {
        {"empty file name", "", "", false},
        {"empty file name below a folder", "", "data", false},
        {"asterisk", "*.dll", "", false},
        {"question mark", "a?.dll", "", false},
        {"less than", "a<b.dll", "", false},
        {"greater than", "a>b.dll", "", false},
        {"quote", "a\"b.dll", "", false},
        {"bar", "a|b.dll", "", false},
        {"slash in the file name", "data/a.dll", "", false},
        {"backslash in the file name", "data\\a.dll", "", false},
        {"stream name", "a.dll:evil", "", false},
        {"trailing dot", "a.dll.", "", false},
        {"trailing blank", "a.dll ", "", false},
        {"dot alone", ".", "", false},
        {"control character", "a\x01.dll", "", false},
        {"delete character", "a\x7F.dll", "", false},
        {"device", "CON", "", false},
        {"device with extension", "nul.txt", "", false},
        {"device in lower case", "aux", "", false},
        {"device with blanks before the dot", "PRN .log", "", false},
        {"serial port", "COM1", "", false},
        {"last serial port", "com9.dll", "", false},
        {"printer port", "LPT1.txt", "", false},
        {"last printer port", "Lpt9", "", false},
        {"device with two extensions", "con.tar.gz", "", false},
        {"device as folder", "f.dll", "CON", false},
        {"device as deeper folder", "f.dll", "data\\lpt3.x", false},
        {"wildcard in a folder", "f.dll", "da*ta", false},
        {"folder ending with a dot", "f.dll", "data.\\cfg", false},
        {"folder ending with a blank", "f.dll", "data \\cfg", false},
        {"dot folder", "f.dll", ".\\data", false},
        {"control character in a folder", "f.dll", "da\tta", false},
        {"line feed in a folder", "f.dll", "data\nEND", false},
        {"share", "f.dll", "\\\\server\\share", false},
        {"plain", "Stock.dll", "", true},
        {"GB2312 name", "\xd0\xd0\xc7\xe9\xcb\xb5\xc3\xf7.txt", "\xca\xfd\xbe\xdd", true},
        {"no extension", "README", "", true},
        {"leading dot", ".config", "", true},
        {"blank inside", "a b.dll", "a b", true},
        {"device name as a prefix", "CONSOLE.txt", "COM10\\LPT", true},
        {"ports without digit", "COM", "LPT", true},
        {"serial port zero", "COM0.txt", "", true},
        {"two-level folder", "f.dll", "data\\cfg", true},
        {"slash as separator", "f.dll", "data/cfg", true},
        {"trailing separator", "f.dll", "data\\", true},
        {"doubled separator", "f.dll", "data\\\\cfg", true},
    };
    for (const auto& c : cases) {
        UpdateItem item;
        item.fileName = c.fileName;
        item.localPath = c.localPath;
        EXPECT_EQ(DeriveItemPaths(&item, kFolders), c.safe) << c.what;
        EXPECT_EQ(item.pathsSafe, c.safe) << c.what;
    }
}

// The longest names of a run end in ".download" on the download side, and
// on the install side in the temporary copy, made only in a folder of at most
// 246 bytes, or in ".update" for the updater's own files.
TEST(ManifestFields, PathLengthsCountTheTemporaryNames) {
    const std::string update = "C:\\Client\\Update\\";
    // install folder: program, '\\', LocalPath; a long program folder keeps
    // the LocalPath, and so the download side, short in the install cases
    const std::string program = "C:\\Program Files\\Quorvane Stock Analysis Client\\Installation";
    const ItemFolders folders{program, "C:\\Windows", "C:\\Windows\\system32", update};
    auto LocalPathFor = [&](size_t installFolderLength) {
        return std::string(installFolderLength - program.size() - 1, 'p');
    };
    const struct {
        const char* what;
        std::string fileName;
        std::string localPath;
        bool safe;
    } cases[] = {
        // download: update folder, '\\', name and ".download.validator" (19)
        // below 260
        {"download name just fits", std::string(259 - 19 - update.size() - 1, 'n'), "", true},
        {"download name one too long", std::string(260 - 19 - update.size() - 1, 'n'), "", false},
        // the installation's temporary copy: install folder, '\\', name and
        // ".installing" (11) below 260
        {"install copy name just fits", "a.dll", LocalPathFor(259 - 11 - 6), true},
        {"install copy name one too long", "a.dll", LocalPathFor(260 - 11 - 6), false},
        // ".update" (7) after the updater's own file, then ".installing"
        {"own file's copy name just fits", "Koravel.exe", LocalPathFor(259 - 11 - 7 - 12), true},
        {"own file's copy name one too long", "Koravel.exe", LocalPathFor(260 - 11 - 7 - 12), false},
        {"other file of that length", "Koravel.ex_", LocalPathFor(260 - 11 - 7 - 12), true},
    };
    for (const auto& c : cases) {
        UpdateItem item;
        item.fileName = c.fileName;
        item.localPath = c.localPath;
        // only the side the case is about is long: the other one's folder is short
        ItemFolders caseFolders = folders;
        if (c.localPath.empty())
            caseFolders.program = "P:";
        else
            caseFolders.update = "U:\\";
        EXPECT_EQ(DeriveItemPaths(&item, caseFolders), c.safe) << c.what;
    }
}

}  // namespace
