// The manifest of a release folder: each file's fields, read back as the
// updater reads them, the URL as the updater requests it and as a server
// finds the file, and an output that depends only on the files.
#include "PeImageBuilder.h"
#include "HexText.h"
#include "PublishTestSupport.h"

#include "manifest/ManifestFields.h"
#include "transfer/RequestPath.h"
#include "TestFiles.h"
#include "manifest/UpdateItem.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <cstdio>
#include <string>
#include <vector>

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

std::string Hex(const std::string& bytes, const EVP_MD* digest, bool upper) {
    unsigned char value[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_Digest(bytes.data(), bytes.size(), value, &length, digest, nullptr);
    return HexText(value, length, upper ? HexLetters::kUpper : HexLetters::kLower);
}

// 行情说明 and 子目录 in GB2312.
const std::string kNotesName = "\xd0\xd0\xc7\xe9\xcb\xb5\xc3\xf7.txt";
const std::string kSubFolder = "\xd7\xd3\xc4\xbf\xc2\xbc";

struct ExpectedItem {
    std::string relative;  // UTF-8 below the release folder
    std::string fileName;  // GB2312
    std::string localPath;
    std::string url;
    std::string fileVersion;
    int date;
};

class ReleaseManifest : public ::testing::Test {
protected:
    // Files of every kind the updater tells apart, in a creation order unlike
    // the manifest's.
    void PutSmallRelease(const std::string& root) {
        PutFile(root, "行情说明.txt", "说明\r\n");
        PutFile(root, "data/子目录/a b#%&.txt", "hi\n");
        PutFile(root, "data/refer.xml", "<a/>\n", 1700000000);  // 2023-11-14T22:13:20Z
        PutFile(root, "Plain.exe", "not an image");
        PutFile(root, "Indicator.dll", BuildPeImage({false, 0x00010000, 0x00000002}).bytes);
        PutFile(root, "Formula.dat", "hello world\n");
    }

    ToolRun Publish(const std::string& root, const std::string& baseUrl = "http://update.example/files/") {
        return RunTool({"manifest", root, "--base-url", baseUrl, "--version", "1.0.0.2", "--out", output_});
    }

    ScratchFolder scratch_;
    const std::string release_ = scratch_.File("release");
    const std::string output_ = scratch_.File("Update.xml");
    // Files are dated 2024-06-03T23:30:00Z, already June 4th in this zone.
    ScopedTimeZone zone_{"CST-8"};
    const std::vector<ExpectedItem> expected_ = {
        {"Formula.dat", "Formula.dat", "", "http://update.example/files/Formula.dat", "", 20240603},
        {"Indicator.dll", "Indicator.dll", "", "http://update.example/files/Indicator.dll", "1.0.0.2", 20240603},
        {"Plain.exe", "Plain.exe", "", "http://update.example/files/Plain.exe", "", 20240603},
        {"data/refer.xml", "refer.xml", "data", "http://update.example/files/data/refer.xml", "", 20231114},
        {"data/子目录/a b#%&.txt", "a b#%&.txt", "data\\" + kSubFolder,
         "http://update.example/files/data/%e5%ad%90%e7%9b%ae%e5%bd%95/a%20b%23%25&.txt", "", 20240603},
        {"行情说明.txt", kNotesName, "", "http://update.example/files/%e8%a1%8c%e6%83%85%e8%af%b4%e6%98%8e.txt", "",
         20240603},
    };
};

TEST_F(ReleaseManifest, GivesEachFileItsFieldsInNameOrder) {
    PutSmallRelease(release_);
    const ToolRun run = Publish(release_);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.err, HasSubstr("Plain.exe: no version resource"));
    EXPECT_THAT(run.err, Not(HasSubstr("Indicator.dll")));

    const std::string xml = ReadWholeFile(output_);
    EXPECT_EQ(xml.rfind("<?xml version=\"1.0\" encoding=\"gb2312\"?>\n<Update>\n  <Product Version=\"1.0.0.2\">\n", 0),
              0u);
    const std::string end = "    </File>\n  </Product>\n</Update>\n";
    ASSERT_GE(xml.size(), end.size());
    EXPECT_EQ(xml.substr(xml.size() - end.size()), end);
    EXPECT_THAT(xml, HasSubstr("<FileName>a b#%&amp;.txt</FileName>"));
    EXPECT_THAT(xml, HasSubstr("<FileName>" + kNotesName + "</FileName>"));

    const std::vector<ManifestFieldMap> items = ManifestItems(xml);
    ASSERT_EQ(items.size(), expected_.size());
    for (size_t i = 0; i < items.size(); ++i) {
        const ExpectedItem& e = expected_[i];
        ManifestFieldMap fields = items[i];
        const std::string bytes = ReadWholeFile(release_ + "/" + e.relative);
        EXPECT_EQ(fields["FileName"], e.fileName) << e.relative;
        // An absent LocalPath is the client folder itself.
        EXPECT_EQ(fields.count("LocalPath"), e.localPath.empty() ? 0u : 1u) << e.relative;
        EXPECT_EQ(fields["LocalPath"], e.localPath) << e.relative;
        EXPECT_EQ(fields["Length"], std::to_string(bytes.size())) << e.relative;
        EXPECT_EQ(fields["MD5"], Hex(bytes, EVP_md5(), true)) << e.relative;
        EXPECT_EQ(fields["SHA256"], Hex(bytes, EVP_sha256(), false)) << e.relative;
        EXPECT_EQ(fields["FileDateLow"], std::to_string(e.date)) << e.relative;
        EXPECT_EQ(fields.count("FileVersion"), e.fileVersion.empty() ? 0u : 1u) << e.relative;
        EXPECT_EQ(fields["FileVersion"], e.fileVersion) << e.relative;
        EXPECT_EQ(fields["URL"], e.url) << e.relative;
        // What a server serving the release folder below /files looks up.
        EXPECT_EQ(DecodedUrlPath(fields["URL"]), "/files/" + e.relative) << e.relative;
    }
}

TEST_F(ReleaseManifest, ItemsAreTakenByTheUpdaterAsWritten) {
    PutSmallRelease(release_);
    ASSERT_EQ(Publish(release_).status, 0);
    const std::vector<ManifestFieldMap> items = ManifestItems(ReadWholeFile(output_));
    ASSERT_EQ(items.size(), expected_.size());
    const ItemFolders folders{"C:\\Quorvane", "C:\\Windows", "C:\\Windows\\system32", "C:\\Quorvane\\Update\\"};
    for (size_t i = 0; i < items.size(); ++i) {
        const ExpectedItem& e = expected_[i];
        UpdateItem item;
        for (const auto& [name, value] : items[i]) ApplyManifestField(&item, name, value);
        ASSERT_TRUE(DeriveItemPaths(&item, folders)) << e.relative;
        const std::string below = e.localPath.empty() ? e.fileName : e.localPath + "\\" + e.fileName;
        EXPECT_EQ(item.installPath, "C:\\Quorvane\\" + below) << e.relative;
        EXPECT_EQ(item.itemDate, e.date) << e.relative;
        EXPECT_EQ(std::string(item.md5).size(), 32u) << e.relative;

        // The updater escapes the URL's path before its request: ours comes
        // through unchanged, and is what it would ask for the bare name.
        const std::string path = item.url.substr(std::string("http://update.example").size());
        EXPECT_EQ(EscapeRequestPath(path), path) << e.relative;
    }
    EXPECT_EQ(EscapeRequestPath("/files/" + kNotesName), "/files/%e8%a1%8c%e6%83%85%e8%af%b4%e6%98%8e.txt");
}

TEST_F(ReleaseManifest, DependsOnlyOnTheFilesNotOnTheOrderTheyWereMade) {
    PutSmallRelease(release_);
    ASSERT_EQ(Publish(release_).status, 0);
    const std::string first = ReadWholeFile(output_);

    // The same files made in the opposite order.
    const std::string again = scratch_.File("again");
    PutFile(again, "Formula.dat", "hello world\n");
    PutFile(again, "Indicator.dll", BuildPeImage({false, 0x00010000, 0x00000002}).bytes);
    PutFile(again, "Plain.exe", "not an image");
    PutFile(again, "data/refer.xml", "<a/>\n", 1700000000);
    PutFile(again, "data/子目录/a b#%&.txt", "hi\n");
    PutFile(again, "行情说明.txt", "说明\r\n");
    ASSERT_EQ(Publish(again).status, 0);
    EXPECT_EQ(ReadWholeFile(output_), first);
}

TEST_F(ReleaseManifest, LeavesOutTheManifestWrittenInsideTheRelease) {
    PutFile(release_, "Formula.dat", "hello world\n");
    const std::string inside = release_ + "/Update.xml";
    for (int run = 0; run < 2; ++run) {
        ASSERT_EQ(RunTool({"manifest", release_, "--base-url", "http://h", "--out", inside}).status, 0);
    }
    const std::vector<ManifestFieldMap> items = ManifestItems(ReadWholeFile(inside));
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].at("FileName"), "Formula.dat");
    EXPECT_FALSE(PathExists(inside + ".partial"));
}

TEST_F(ReleaseManifest, BaseUrlFormsAndProductVersion) {
    PutFile(release_, "Formula.dat", "hello world\n");
    const struct {
        std::string baseUrl;
        std::string url;
        bool noted;  // never: the updater fetches over http and https alike
    } cases[] = {
        {"http://127.0.0.1:8080", "http://127.0.0.1:8080/Formula.dat", false},
        {"http://update.example/files///", "http://update.example/files/Formula.dat", false},
        {"HTTP://Update.Example/a/b", "HTTP://Update.Example/a/b/Formula.dat", false},
        {"http://[::1]:8080/x", "http://[::1]:8080/x/Formula.dat", false},
        {"https://update.example/files", "https://update.example/files/Formula.dat", false},
    };
    for (const auto& c : cases) {
        const ToolRun run = RunTool({"manifest", release_, "--base-url", c.baseUrl, "--out", output_});
        ASSERT_EQ(run.status, 0) << c.baseUrl << ": " << run.err;
        const std::string xml = ReadWholeFile(output_);
        EXPECT_THAT(xml, HasSubstr("\n  <Product>\n")) << "no --version, no Version attribute";
        EXPECT_EQ(ManifestItems(xml).at(0).at("URL"), c.url);
        EXPECT_EQ(run.err.find("http:// only") != std::string::npos, c.noted) << c.baseUrl;
    }

    ASSERT_EQ(RunTool({"manifest", release_, "--base-url", "http://h", "--version", "版本 1 & \"2\"", "--out", output_})
                  .status,
              0);
    EXPECT_THAT(ReadWholeFile(output_), HasSubstr("<Product Version=\"" + Gb2312("版本") + " 1 &amp; &quot;2&quot;\">"));
}

}  // namespace
