#include "Commands.h"

#include "CommandLine.h"
#include "FileIo.h"
#include "Gb2312Text.h"
#include "KeyFiles.h"
#include "ManifestItem.h"
#include "ManifestSignature.h"
#include "manifest/FileForms.h"
#include "trust/ManifestTrailer.h"
#include "PublishError.h"
#include "ReleaseFolder.h"
#include "ReleaseForms.h"
#include "UrlPath.h"

#include <ctime>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr int kDefaultValidDays = 30;
// A bound well beyond any sensible validity that keeps the expiry time a
// four-digit year.
constexpr int kMaximumValidDays = 3650;
constexpr int64_t kSecondsPerDay = 86400;

int ValidDays(const std::optional<std::string>& text) {
    if (!text) return kDefaultValidDays;
    int days = 0;
    bool digits = !text->empty() && text->size() <= 5;
    for (char c : *text) {
        digits = digits && c >= '0' && c <= '9';
        if (digits) days = days * 10 + (c - '0');
    }
    if (!digits || days < 1 || days > kMaximumValidDays) {
        throw UsageError("--valid-days \"" + *text + "\": a whole number of days from 1 to " +
                         std::to_string(kMaximumValidDays));
    }
    return days;
}

std::optional<std::string> ProductVersion(const std::optional<std::string>& text) {
    if (!text) return std::nullopt;
    std::optional<std::string> gb2312 = Utf8ToGb2312(*text);
    bool printable = gb2312.has_value() && !gb2312->empty();
    for (char c : gb2312.value_or("")) printable = printable && static_cast<unsigned char>(c) >= 0x20 && c != 0x7F;
    if (!printable) throw PublishError("--version \"" + *text + "\": not a printable text with a GB2312 form");
    return gb2312;
}

// The earlier releases patches are made from: folders, at most as many as
// an item can list patches.
std::vector<fs::path> PreviousReleases(const std::vector<std::string>& folders) {
    if (folders.size() > static_cast<std::size_t>(kMaxPatchForms)) {
        throw UsageError("--previous given " + std::to_string(folders.size()) + " times; at most " +
                         std::to_string(kMaxPatchForms) + " earlier releases");
    }
    std::vector<fs::path> paths;
    for (const std::string& folder : folders) {
        std::error_code error;
        if (!fs::is_directory(folder, error)) throw PublishError("--previous " + folder + ": no such folder");
        paths.push_back(folder);
    }
    return paths;
}

std::string FieldText(const ManifestEntry& entry, const std::string& name) {
    for (const ManifestField& field : entry) {
        if (field.name == name) return field.text;
    }
    return std::string();
}

}  // namespace

void RunManifest(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    const CommandArguments arguments(words, {"base-url", "version", "key", "valid-days", "out", "previous"}, 1,
                                     {"previous"});
    const fs::path release = arguments.Positional(0);
    const fs::path output = arguments.Required("out");
    const std::string baseUrl = CheckedBaseUrl(arguments.Required("base-url"));
    const std::optional<std::string> version = ProductVersion(arguments.Option("version"));
    const std::optional<std::string> keyPath = arguments.Option("key");
    if (!keyPath && arguments.Option("valid-days")) throw UsageError("--valid-days applies to a signed manifest (--key)");
    const int validDays = ValidDays(arguments.Option("valid-days"));
    const std::vector<fs::path> previous = PreviousReleases(arguments.Options("previous"));
    // The key is read first, so that a wrong key costs no walk of the release.
    const EvpPkey key = keyPath ? ReadPrivateKey(*keyPath) : nullptr;

    const std::vector<ReleaseFile> files = ListReleaseFiles(release, output);
    if (files.empty()) throw PublishError(release.string() + ": no files to publish");
    std::vector<ManifestEntry> items;
    items.reserve(files.size());
    for (const ReleaseFile& file : files) {
        ManifestEntry entry = DescribeReleaseFile(file, baseUrl, err);
        const std::vector<ManifestField> forms = WriteFileForms(file, FieldText(entry, "URL"), previous, err);
        entry.insert(entry.end(), forms.begin(), forms.end());
        items.push_back(std::move(entry));
    }

    std::string manifest = ManifestText(version, items);
    std::string signedBy = "not signed";
    if (key) {
        const int64_t now = static_cast<int64_t>(std::time(nullptr));
        const int64_t expires = now + validDays * kSecondsPerDay;
        manifest = SignManifest(manifest, key.get(), now, expires);
        signedBy = "signed by key " + PublicKeyId(key.get()) + " at " + FormatUtcTime(now) + ", expires " +
                   FormatUtcTime(expires);
    }
    ReplaceFile(output, manifest);
    out << output.string() << ": " << items.size() << " file(s), " << signedBy << "\n";
}
