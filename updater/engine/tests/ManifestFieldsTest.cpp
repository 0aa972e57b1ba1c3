#include "ManifestFields.h"

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

}  // namespace
