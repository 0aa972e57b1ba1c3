// Which representations an item is tried in: the patch whose base is the
// installed copy, the compressed file, the whole file last; an item of
// today, or one whose forms the updater cannot hold to its digests, gets the
// whole file alone.
#include "delta/FormChoice.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

const std::string kInstalledSha(64, 'a');
const std::string kOtherSha(64, 'b');
const std::string kFileSha(64, 'c');

FileForm Form(const std::string& url) { return FileForm{url, 100, std::string(64, 'd')}; }

PatchForm Patch(const std::string& url, const std::string& baseSha, int64_t baseLength) {
    PatchForm patch;
    static_cast<FileForm&>(patch) = Form(url);
    patch.baseSha256 = baseSha;
    patch.baseLength = baseLength;
    return patch;
}

// An item offering the compressed file and two patches, the second of them
// from a copy of 1000 bytes with the installed copy's digest.
UpdateItem OfferingItem() {
    UpdateItem item;
    item.length = 5000;
    item.sha256 = kFileSha;
    item.downloadPath = "C:\\Client\\Update\\Formula.dat";
    item.forms.compressed = Form("c");
    item.forms.patches = {Patch("p1", kOtherSha, 1000), Patch("p2", kInstalledSha, 1000)};
    return item;
}

std::vector<std::string> Chosen(const UpdateItem& item, const std::optional<InstalledCopy>& installed) {
    std::vector<std::string> chosen;
    for (const FormToFetch& form : FormsToTry(item, installed)) {
        chosen.push_back(std::string(FormKindText(form.kind)) + (form.form ? " " + form.form->url : ""));
    }
    return chosen;
}

TEST(FormChoice, TheMatchingPatchThenTheCompressedFileThenTheWholeFile) {
    const InstalledCopy installed{1000, kInstalledSha};
    const InstalledCopy upperCase{1000, std::string(64, 'A')};
    const struct {
        const char* what;
        std::optional<InstalledCopy> installed;
        std::vector<std::string> expected;
    } cases[] = {
        {"the second patch's base is installed", installed, {"patch p2", "compressed c", "whole"}},
        {"digests compare in either case", upperCase, {"patch p2", "compressed c", "whole"}},
        {"nothing installed", std::nullopt, {"compressed c", "whole"}},
        {"a copy of another size", InstalledCopy{999, kInstalledSha}, {"compressed c", "whole"}},
        {"a copy no patch names", InstalledCopy{1000, kFileSha}, {"compressed c", "whole"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Chosen(OfferingItem(), c.installed), c.expected) << c.what;
    }

    const std::vector<FormToFetch> forms = FormsToTry(OfferingItem(), installed);
    EXPECT_EQ(forms[0].localPath, "C:\\Client\\Update\\Formula.dat.zpatch");
    EXPECT_EQ(forms[1].localPath, "C:\\Client\\Update\\Formula.dat.zst");
    EXPECT_TRUE(forms[2].localPath.empty());
    EXPECT_TRUE(HasPatchForBaseOfSize(OfferingItem(), 1000));
    EXPECT_FALSE(HasPatchForBaseOfSize(OfferingItem(), 999));
}

TEST(FormChoice, WithoutWhatHoldsADecodedFileOnlyTheWholeFile) {
    const InstalledCopy installed{1000, kInstalledSha};
    const struct {
        const char* what;
        void (*change)(UpdateItem&);
        std::vector<std::string> expected;
    } cases[] = {
        {"an item of today", [](UpdateItem& item) { item.forms = FileForms(); }, {"whole"}},
        {"no Length", [](UpdateItem& item) { item.length = 0; }, {"whole"}},
        {"no SHA256", [](UpdateItem& item) { item.sha256.clear(); }, {"whole"}},
        {"a SHA256 that is no digest", [](UpdateItem& item) { item.sha256 = "c0ffee"; }, {"whole"}},
        {"an incomplete compressed form", [](UpdateItem& item) { item.forms.compressed.sha256.clear(); },
         {"patch p2", "whole"}},
        {"an incomplete patch", [](UpdateItem& item) { item.forms.patches[1].baseLength = -1; },
         {"compressed c", "whole"}},
        {"a base beyond the decoder's window",
         [](UpdateItem& item) { item.forms.patches[1].baseLength = int64_t{1} << 27; }, {"compressed c", "whole"}},
        // Beside the download its names take ".zpatch" or ".zst", ".download"
        // and ".validator": the patch's are the longer ones.
        {"a download path whose patch names would not fit",
         [](UpdateItem& item) { item.downloadPath = "C:\\" + std::string(233, 'x'); }, {"compressed c", "whole"}},
        {"a download path whose form names would not fit",
         [](UpdateItem& item) { item.downloadPath = "C:\\" + std::string(236, 'x'); }, {"whole"}},
    };
    for (const auto& c : cases) {
        UpdateItem item = OfferingItem();
        c.change(item);
        EXPECT_EQ(Chosen(item, installed), c.expected) << c.what;
    }
    UpdateItem today = OfferingItem();
    today.forms = FileForms();
    EXPECT_FALSE(OffersSmallerForms(today));
    EXPECT_FALSE(HasPatchForBaseOfSize(today, 1000));
}

}  // namespace
