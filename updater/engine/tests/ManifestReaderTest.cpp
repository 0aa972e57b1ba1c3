#include "ClientFolder.h"
#include "manifest/ManifestReader.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// 文件.dll in GB2312.
const std::string kChineseName = "\xce\xc4\xbc\xfe.dll";

class ManifestReaderTest : public testing::Test {
protected:
    ManifestReaderTest() {
        list.Folders() = ItemFolders{client.Program(), "C:\\windows", "C:\\windows\\system32", client.Update()};
    }

    bool Read(const std::string& text) {
        std::string path = client.InUpdate("Update.xml");
        WriteWholeFile(path, text);
        return ReadManifest(&list, path.c_str());
    }

    std::vector<std::unique_ptr<UpdateItem>> Items() {
        std::vector<std::unique_ptr<UpdateItem>> items;
        while (auto item = list.PopFront()) items.push_back(std::move(item));
        return items;
    }

    ClientFolder client;
    UpdateItemList list;
};

TEST_F(ManifestReaderTest, ReadsAGb2312ManifestInDocumentOrder) {
    std::string text =
        "<?xml version=\"1.0\" encoding=\"gb2312\"?>\r\n"
        "<Update><!-- the root's name is not checked -->\r\n"
        "  <Product Version=\"2.0\">\r\n"
        "    <File>\r\n"
        "      <FileName>" + kChineseName + "</FileName>\r\n"
        "      <FileVersion>1.0.0.2</FileVersion>\r\n"
        "      <Length>1234abc</Length>\r\n"
        "      <InstallDir>systemdir</InstallDir>\r\n"
        "      <Register>yes</Register>\r\n"
        "      <MD5>0cc175b9c0f1b6a831c399e269772661</MD5>\r\n"
        "      <!-- comments are no fields -->\r\n"
        "      <URL>http://h/u/" + kChineseName + "</URL>\r\n"
        "    </File>\r\n"
        "    <Empty/>\r\n"
        "    <Other>\r\n"
        "      <filename>b.txt</filename>\r\n"
        "      <LocalPath>data\\cfg</LocalPath>\r\n"
        "      <Register>TRUE</Register>\r\n"
        "    </Other>\r\n"
        "  </Product>\r\n"
        "</Update>\r\n";
    ASSERT_TRUE(Read(text));
    auto items = Items();
    ASSERT_EQ(items.size(), 2u);

    const UpdateItem& first = *items[0];
    EXPECT_EQ(first.fileName, kChineseName);
    EXPECT_EQ(first.fileVersion, "1.0.0.2");
    EXPECT_EQ(first.length, 1234);
    EXPECT_TRUE(first.registerFile);
    EXPECT_STREQ(first.md5, "0cc175b9c0f1b6a831c399e269772661");
    EXPECT_EQ(first.url, "http://h/u/" + kChineseName);
    EXPECT_EQ(first.installPath, "C:\\windows\\system32\\" + kChineseName);
    EXPECT_EQ(first.downloadPath, client.Update() + "\\" + kChineseName);
    EXPECT_EQ(first.subPath, "");

    const UpdateItem& second = *items[1];
    EXPECT_EQ(second.fileName, "b.txt");
    EXPECT_FALSE(second.registerFile);
    EXPECT_EQ(second.length, 0);
    EXPECT_EQ(second.installDir, "CURRENTDIR");
    EXPECT_EQ(second.installPath, client.Program() + "\\data\\cfg\\b.txt");
    EXPECT_EQ(second.downloadPath, client.Update() + "\\data\\cfg\\b.txt");
    EXPECT_EQ(second.subPath, client.Program() + "\\data\\cfg");
}

TEST_F(ManifestReaderTest, StructureRules) {
    const struct {
        const char* text;
        bool result;
        size_t items;
    } cases[] = {
        {"<Update><product><File><FileName>a</FileName></File></product></Update>", false, 0},
        {"<Update><Product><A/><B></B></Product></Update>", true, 0},
        {"<Update><Product/></Update>", false, 0},
        {"<Update><Other/></Update>", false, 0},
        {"<Update><Product><File><FileName>a</FileName></File>", false, 0},  // not well-formed
        {"<Update><Product><File><FileName>a</FileName></File><File>text only</File></Product></Update>", true, 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Read(c.text), c.result) << c.text;
        EXPECT_EQ(Items().size(), c.items) << c.text;
    }
    EXPECT_FALSE(ReadManifest(&list, client.InUpdate("missing.xml").c_str()));
}

TEST_F(ManifestReaderTest, ItemsLeavingTheirFoldersAreMarkedUnsafe) {
    ASSERT_TRUE(Read(ManifestText({{{"FileName", "..\\..\\evil.dll"}},
                                   {{"FileName", "ok.dll"}, {"LocalPath", "C:\\Windows"}},
                                   {{"FileName", "fine.dll"}}})));
    auto items = Items();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_FALSE(items[0]->pathsSafe);
    EXPECT_FALSE(items[1]->pathsSafe);
    EXPECT_TRUE(items[2]->pathsSafe);
    EXPECT_TRUE(items[0]->installPath.empty());
}

TEST_F(ManifestReaderTest, ReadingAgainReplacesTheList) {
    ASSERT_TRUE(Read(ManifestText({{{"FileName", "a.dll"}}, {{"FileName", "b.dll"}}})));
    ASSERT_TRUE(Read(ManifestText({{{"FileName", "c.dll"}}})));
    auto items = Items();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0]->fileName, "c.dll");
}

}  // namespace
