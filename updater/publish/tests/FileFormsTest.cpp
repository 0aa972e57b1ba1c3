// The compressed forms and patches the manifest command writes beside each
// file: decoded by the updater's decoder to the exact file, written only
// where they are smaller, listed in the item beside the whole file's fields
// (which stay as they were), never taken for release files, and covered by
// the signature like every other byte.
#include "PublishTestSupport.h"

#include "HexText.h"
#include "TestFiles.h"
#include "DecodeInMemory.h"
#include "manifest/ManifestFields.h"
#include "manifest/UpdateItem.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <vector>

using ::testing::HasSubstr;

namespace fs = std::filesystem;

namespace {

std::string Sha256(const std::string& bytes) {
    unsigned char value[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_Digest(bytes.data(), bytes.size(), value, &length, EVP_sha256(), nullptr);
    return HexText(value, length, HexLetters::kLower);
}

// Text that compresses well, different for each seed.
std::string FormulaText(unsigned seed, int lines) {
    std::mt19937 random(seed);
    std::string text;
    for (int i = 0; i < lines; ++i) {
        text += "MA" + std::to_string(random() % 60) + " := CLOSE * " + std::to_string(random() % 1000) + ";\r\n";
    }
    return text;
}

std::string RandomBytes(unsigned seed, size_t size) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    return bytes;
}

// The form decoded as the updater will: the whole file's size from the item,
// a patch against its base.
std::optional<std::string> Decoded(const std::string& stream, uint64_t size,
                                   const std::optional<std::string>& base = std::nullopt) {
    const DecodeOutcome outcome = DecodeInMemory(stream, size, base);
    if (outcome.finished != DecodeStatus::kOk) return std::nullopt;
    return outcome.output;
}

class FileForms : public ::testing::Test {
protected:
    ToolRun Publish(std::vector<std::string> previous, std::vector<std::string> extra = {}) {
        std::vector<std::string> words = {"manifest", release_, "--base-url", "http://h/files", "--out", output_};
        for (const std::string& folder : previous) words.insert(words.end(), {"--previous", folder});
        words.insert(words.end(), extra.begin(), extra.end());
        return RunTool(words);
    }
    std::vector<ManifestFieldMap> Items() const { return ManifestItems(ReadWholeFile(output_)); }

    ScratchFolder scratch_;
    const std::string release_ = scratch_.File("release");
    const std::string older_ = scratch_.File("1.0.0.1");
    const std::string old_ = scratch_.File("1.0.0.2");
    const std::string output_ = scratch_.File("Update.xml");
};

TEST_F(FileForms, CompressedFilesAndPatchesDecodeToTheExactFile) {
    const std::string v1 = FormulaText(1, 4000);
    std::string v2 = v1;
    v2.replace(1000, 40, "changed in 1.0.0.2");
    std::string v3 = v2;
    v3.insert(50000, FormulaText(3, 20));
    PutFile(older_, "data/Formula.dat", v1);
    PutFile(old_, "data/Formula.dat", v2);
    PutFile(release_, "data/Formula.dat", v3);

    ASSERT_EQ(Publish({old_, older_}).status, 0);
    const std::vector<ManifestFieldMap> items = Items();
    ASSERT_EQ(items.size(), 1u);
    ManifestFieldMap item = items[0];
    // The whole file's fields are those of the file itself.
    EXPECT_EQ(item["URL"], "http://h/files/data/Formula.dat");
    EXPECT_EQ(item["Length"], std::to_string(v3.size()));
    EXPECT_EQ(item["SHA256"], Sha256(v3));

    const std::string zst = ReadWholeFile(release_ + "/data/Formula.dat.zst");
    EXPECT_EQ(item["CompressedURL"], "http://h/files/data/Formula.dat.zst");
    EXPECT_EQ(item["CompressedLength"], std::to_string(zst.size()));
    EXPECT_EQ(item["CompressedSHA256"], Sha256(zst));
    EXPECT_LT(zst.size(), v3.size());
    EXPECT_TRUE(Decoded(zst, v3.size()) == v3);

    // One patch per earlier release, in the order given, each smaller than
    // the compressed file and decoding only against its own base.
    const std::pair<std::string, std::string> bases[] = {{"Patch1", v2}, {"Patch2", v1}};
    for (const auto& [prefix, base] : bases) {
        const std::string name = "data/Formula.dat." + Sha256(base).substr(0, 16) + ".zpatch";
        const std::string patch = ReadWholeFile(release_ + "/" + name);
        EXPECT_EQ(item[prefix + "BaseSHA256"], Sha256(base)) << prefix;
        EXPECT_EQ(item[prefix + "BaseLength"], std::to_string(base.size())) << prefix;
        EXPECT_EQ(item[prefix + "URL"], "http://h/files/" + name) << prefix;
        EXPECT_EQ(item[prefix + "Length"], std::to_string(patch.size())) << prefix;
        EXPECT_EQ(item[prefix + "SHA256"], Sha256(patch)) << prefix;
        EXPECT_LT(patch.size(), zst.size()) << prefix;
        EXPECT_TRUE(Decoded(patch, v3.size(), base) == v3) << prefix;
        const std::string& other = prefix == "Patch1" ? v1 : v2;
        EXPECT_FALSE(Decoded(patch, v3.size(), other) == v3) << prefix;
    }

    // The updater reads the same into its item.
    UpdateItem read;
    for (const auto& [name, value] : items[0]) ApplyManifestField(&read, name, value);
    EXPECT_EQ(read.length, static_cast<int64_t>(v3.size()));
    EXPECT_TRUE(read.forms.compressed.IsComplete());
    ASSERT_EQ(read.forms.patches.size(), 2u);
    EXPECT_TRUE(read.forms.patches[0].IsComplete());
    EXPECT_TRUE(read.forms.patches[1].IsComplete());
}

TEST_F(FileForms, OnlyWhatIsSmallerIsWritten) {
    const std::string text = FormulaText(7, 500);
    const std::string noise = RandomBytes(8, 20000);
    const struct {
        const char* what;
        std::string file;
        std::optional<std::string> earlier;
        bool compressed;
        bool patched;
    } cases[] = {
        {"unchanged since the earlier release", text, text, true, true},
        {"incompressible, unchanged", noise, noise, false, true},
        {"new in this release", text, std::nullopt, true, false},
        {"incompressible, changed", noise, RandomBytes(9, 20000), false, false},
        {"incompressible, one byte changed", noise, noise.substr(0, 10000) + "x" + noise.substr(10001), false, true},
        {"a few bytes, changed", "hello\n", std::string("hellp\n"), false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(release_);
        fs::remove_all(old_);
        PutFile(release_, "File.bin", c.file);
        fs::create_directories(old_);
        if (c.earlier) PutFile(old_, "File.bin", *c.earlier);
        ASSERT_EQ(Publish({old_}).status, 0);

        ManifestFieldMap item = Items().at(0);
        EXPECT_EQ(item.count("CompressedURL"), c.compressed ? 1u : 0u);
        EXPECT_EQ(PathExists(release_ + "/File.bin.zst"), c.compressed);
        EXPECT_EQ(item.count("Patch1URL"), c.patched ? 1u : 0u);
        size_t patches = 0;
        for (const auto& entry : fs::directory_iterator(release_)) {
            patches += entry.path().extension() == ".zpatch";
        }
        EXPECT_EQ(patches, c.patched ? 1u : 0u);
        EXPECT_EQ(item["Length"], std::to_string(c.file.size()));
    }
}

TEST_F(FileForms, ARepeatedRunReplacesItsFormsAndListsNoneAsFiles) {
    PutFile(old_, "Formula.dat", FormulaText(1, 2000));
    PutFile(release_, "Formula.dat", FormulaText(1, 2000) + "end\r\n");
    PutFile(release_, "Plain.txt", FormulaText(2, 300));
    ASSERT_EQ(Publish({old_}).status, 0);
    const std::string first = ReadWholeFile(output_);
    ASSERT_THAT(first, HasSubstr("Patch1URL"));

    // Published again without the earlier release: its patch goes.
    ASSERT_EQ(Publish({}).status, 0);
    std::vector<ManifestFieldMap> items = Items();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0]["FileName"], "Formula.dat");
    EXPECT_EQ(items[1]["FileName"], "Plain.txt");
    EXPECT_EQ(items[0].count("Patch1URL"), 0u);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(release_)) names.push_back(entry.path().filename().string());
    EXPECT_THAT(names, ::testing::UnorderedElementsAre("Formula.dat", "Formula.dat.zst", "Plain.txt", "Plain.txt.zst"));

    // A file that only looks like a form, with no file of its name beside it,
    // is a release file like any other.
    PutFile(release_, "Archive.zst", "not ours");
    ASSERT_EQ(Publish({}).status, 0);
    EXPECT_EQ(Items().size(), 3u);
}

TEST_F(FileForms, TheSignatureCoversTheFormFields) {
    const std::string keys = scratch_.File("keys");
    ASSERT_EQ(RunTool({"keygen", "--out", keys}).status, 0);
    PutFile(old_, "Formula.dat", FormulaText(1, 2000));
    PutFile(release_, "Formula.dat", FormulaText(1, 2000) + "end\r\n");
    ASSERT_EQ(Publish({old_}, {"--key", keys + "/private.pem"}).status, 0);
    ASSERT_EQ(RunTool({"verify", output_, "--key", keys + "/public.pem"}).status, 0);

    const std::string signedXml = ReadWholeFile(output_);
    for (const char* field : {"<CompressedLength>", "<Patch1BaseSHA256>", "<Patch1URL>"}) {
        std::string changed = signedXml;
        const size_t at = changed.find(field);
        ASSERT_NE(at, std::string::npos) << field;
        changed[at + std::string(field).size()] ^= 1;
        const std::string path = scratch_.File("changed.xml");
        WriteWholeFile(path, changed);
        EXPECT_EQ(RunTool({"verify", path, "--key", keys + "/public.pem"}).status, 1) << field;
    }
}

}  // namespace
