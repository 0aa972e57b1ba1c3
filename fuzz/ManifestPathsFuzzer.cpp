// The fields of one manifest <File> element, and the paths the updater
// derives from them.
//
// Input: one line per field, "Name=Value" (applied as the manifest reader
// does); a line "@program=", "@windows=", "@system=" or "@update=" sets that
// folder instead, so that the 260-byte limits are reached from both sides;
// "@installed=<size>:<sha256>" describes the installed copy a patch may
// apply to.
//
// The rule, as an assertion: an item called safe stays under its folders,
// every name below them is one Windows reads as itself (no "..", no drive
// or stream, no device, nothing the system trims), and every name the
// download and the installation use fits its 260-byte buffer. The forms
// chosen for it (the compressed file and patches among its fields) come in
// the order patch, compressed, whole, each at most once; a patch only for
// the installed copy; every form complete, with names beside the download
// that fit; and none at all for an item without Length or SHA256.
#include "FuzzCheck.h"

#include "CaseFolding.h"
#include "delta/FormChoice.h"
#include "manifest/ManifestFields.h"
#include "manifest/NameRules.h"
#include "plan/InstallTarget.h"
#include "transfer/DownloadSuffix.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>

namespace {

const std::size_t kPathBuffer = 260;

bool EqualsUpper(std::string text, const char* upper) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text == upper;
}

// One name below a folder as Windows reads it: nothing that leaves the
// folder, names another drive or stream, or reaches a device.
void CheckNameStaysPut(const std::string& name) {
    FUZZ_CHECK(!name.empty());
    FUZZ_CHECK(name.find_first_of(":*?<>\"|") == std::string::npos);
    for (char c : name) FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20);
    // Windows drops trailing dots and blanks, so "..." or ". ." would be "..".
    FUZZ_CHECK(name.back() != '.' && name.back() != ' ');
    // Windows takes "nul.txt" and "CON .log" for devices too: the text
    // before the first dot counts, without its trailing blanks.
    std::string stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ') stem.pop_back();
    for (const char* device : {"CON", "PRN", "AUX", "NUL"}) FUZZ_CHECK(!EqualsUpper(stem, device));
    if (stem.size() == 4) {
        const std::string head = stem.substr(0, 3);
        const bool numbered = stem[3] >= '1' && stem[3] <= '9';
        FUZZ_CHECK(!(numbered && (EqualsUpper(head, "COM") || EqualsUpper(head, "LPT"))));
    }
    FUZZ_CHECK(IsPlainName(name) && !PlainNameRefusal(name));
}

// `path` is `folder`, a separator, then names that stay put; a doubled
// separator adds no name. Returns the last name.
std::string CheckBelow(const std::string& path, const std::string& folder) {
    FUZZ_CHECK(path.size() > folder.size() + 1);
    FUZZ_CHECK(path.compare(0, folder.size(), folder) == 0);
    FUZZ_CHECK(path[folder.size()] == '\\');
    const std::string below = path.substr(folder.size() + 1);
    FUZZ_CHECK(below[0] != '\\' && below[0] != '/');
    std::string name;
    for (std::size_t from = 0; from <= below.size();) {
        const std::size_t cut = std::min(below.find_first_of("\\/", from), below.size());
        name = below.substr(from, cut - from);
        if (!name.empty()) CheckNameStaysPut(name);
        from = cut + 1;
    }
    return name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    ItemFolders folders{"C:\\Quorvane", "C:\\WINDOWS", "C:\\WINDOWS\\system32", "C:\\Quorvane\\Update\\"};
    UpdateItem item;
    std::optional<InstalledCopy> installed;
    std::string_view input = InputText(data, size);
    while (!input.empty()) {
        const std::size_t end = std::min(input.find('\n'), input.size());
        const std::string line(input.substr(0, end));
        input.remove_prefix(std::min(end + 1, input.size()));
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        const std::string name = line.substr(0, equals), value = line.substr(equals + 1);
        if (name == "@program") {
            folders.program = value;
        } else if (name == "@windows") {
            folders.windows = value;
        } else if (name == "@system") {
            folders.system = value;
        } else if (name == "@update") {
            folders.update = value;
        } else if (name == "@installed") {
            const std::size_t colon = value.find(':');
            installed = InstalledCopy{std::strtoull(value.c_str(), nullptr, 10),
                                      colon == std::string::npos ? std::string() : value.substr(colon + 1)};
        } else {
            ApplyManifestField(&item, name, value);
        }
    }

    const bool safe = DeriveItemPaths(&item, folders);
    FUZZ_CHECK(safe == item.pathsSafe);
    if (!safe) {
        FUZZ_CHECK(item.downloadPath.empty() && item.installPath.empty() && item.subPath.empty());
        return 0;
    }

    // Under the update folder (as the shell passes it, with its separator)
    // and under the one install folder that InstallDir names.
    FUZZ_CHECK(CheckBelow(item.downloadPath, folders.update) == item.fileName);
    const std::string* base = &folders.program;
    if (EqualsUpper(item.installDir, "WINDOWSDIR")) base = &folders.windows;
    if (EqualsUpper(item.installDir, "SYSTEMDIR")) base = &folders.system;
    FUZZ_CHECK(CheckBelow(item.installPath, *base) == item.fileName);
    if (!item.subPath.empty()) {
        FUZZ_CHECK(base == &folders.program);
        CheckBelow(item.subPath, folders.program);
        FUZZ_CHECK(item.installPath.compare(0, item.subPath.size() + 1, item.subPath + "\\") == 0);
    }

    // Every name fits: the download, its ".download" copy and that copy's
    // ".validator", the install
    // target (".update" for the updater's own files), its temporary copy
    // (".installing" after the target), and the sub-folder.
    FUZZ_CHECK((item.downloadPath + kDownloadSuffix + kValidatorSuffix).size() < kPathBuffer);
    FUZZ_CHECK(InstallTargetPath(item.installPath, item.fileName).size() < kPathBuffer);
    FUZZ_CHECK(InstallCopyPath(InstallTargetPath(item.installPath, item.fileName)).size() < kPathBuffer);
    FUZZ_CHECK(item.subPath.size() < kPathBuffer);

    const std::vector<FormToFetch> forms = FormsToTry(item, installed);
    FUZZ_CHECK(!forms.empty() && forms.back().kind == FormKind::kWhole && forms.back().form == nullptr);
    if (forms.size() > 1) FUZZ_CHECK(item.length > 0 && item.sha256.size() == 64);
    FormKind previous = FormKind::kPatch;
    for (std::size_t i = 0; i + 1 < forms.size(); ++i) {
        const FormToFetch& form = forms[i];
        FUZZ_CHECK(form.kind != FormKind::kWhole && form.form != nullptr && form.form->IsComplete());
        FUZZ_CHECK(i == 0 || form.kind != previous);
        FUZZ_CHECK(form.kind == FormKind::kCompressed || i == 0);
        previous = form.kind;
        FUZZ_CHECK(form.localPath == item.downloadPath + (form.kind == FormKind::kPatch ? ".zpatch" : ".zst"));
        FUZZ_CHECK((form.localPath + kDownloadSuffix + kValidatorSuffix).size() < kPathBuffer);
        if (form.kind == FormKind::kPatch) {
            const auto& patch = static_cast<const PatchForm&>(*form.form);
            FUZZ_CHECK(installed && static_cast<uint64_t>(patch.baseLength) == installed->size);
            FUZZ_CHECK(EqualsIgnoreCase(patch.baseSha256, installed->sha256));
        } else {
            FUZZ_CHECK(form.form == &item.forms.compressed);
        }
    }
    return 0;
}
