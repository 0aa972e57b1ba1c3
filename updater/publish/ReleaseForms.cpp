#include "ReleaseForms.h"

#include "Compression.h"
#include "FileDigests.h"
#include "FileIo.h"
#include "FormNames.h"
#include "PublishError.h"
#include "UrlPath.h"

#include <set>
#include <system_error>

namespace fs = std::filesystem;

namespace {

void RemoveEarlierForms(const fs::path& file) {
    const std::set<std::string> owner{file.filename().native()};
    std::error_code error;
    std::vector<fs::path> stale;
    for (fs::directory_iterator it(file.parent_path(), error), end; !error && it != end; it.increment(error)) {
        if (IsFormOfAnotherFile(it->path().filename().native(), owner)) stale.push_back(it->path());
    }
    for (const fs::path& path : stale) {
        if (!fs::remove(path, error) && error) {
            throw PublishError(path.string() + ": cannot remove: " + error.message());
        }
    }
}

// The form's file name, appended to the escaped name in the URL, must stay
// within what the updater requests.
bool Requestable(const ReleaseFile& file, const std::string& formName, std::ostream& notes) {
    const std::size_t bytes = EscapeUrlSegment(formName).size();
    if (bytes <= kRequestNameBytes) return true;
    notes << "note: " << file.relativePath << ": " << formName.substr(file.fileName.size())
          << " not written: its name in the URL would take " << bytes << " bytes\n";
    return false;
}

void AddForm(std::vector<ManifestField>* fields, const std::string& prefix, const std::string& url,
             const std::string& bytes) {
    fields->push_back({prefix + "URL", url});
    fields->push_back(NumberField(prefix + "Length", static_cast<int64_t>(bytes.size())));
    fields->push_back({prefix + "SHA256", Sha256Text(bytes)});
}

}  // namespace

std::vector<ManifestField> WriteFileForms(const ReleaseFile& file, const std::string& fileUrl,
                                          const std::vector<fs::path>& previousReleases, std::ostream& notes) {
    RemoveEarlierForms(file.path);
    const std::string bytes = ReadFileBytes(file.path);
    const fs::path folder = file.path.parent_path();
    std::vector<ManifestField> fields;

    // The smallest way to the file so far: a patch must beat it.
    std::size_t smallest = bytes.size();
    const std::string compressedName = CompressedFormName(file.fileName);
    const std::string compressed = CompressWhole(bytes);
    if (compressed.size() < smallest && Requestable(file, compressedName, notes)) {
        ReplaceFile(folder / CompressedFormName(file.path.filename().native()), compressed);
        AddForm(&fields, "Compressed", fileUrl + CompressedFormName(""), compressed);
        smallest = compressed.size();
    }

    // A copy with the file's own bytes gets a patch too: a few bytes that
    // copy the whole base, for a client sent to fetch a file it already has.
    std::set<std::string> basesDone;
    int number = 0;
    for (const fs::path& previous : previousReleases) {
        const fs::path basePath = previous / fs::u8path(file.relativePath);
        std::error_code error;
        if (!fs::is_regular_file(basePath, error)) continue;
        const std::string base = ReadFileBytes(basePath);
        const std::string baseDigest = Sha256Text(base);
        if (!basesDone.insert(baseDigest).second) continue;  // the same bytes as a copy done
        const std::string patchName = PatchFormName(file.fileName, baseDigest);
        if (!Requestable(file, patchName, notes)) continue;
        const std::optional<std::string> patch = CompressPatch(base, bytes);
        if (!patch) {
            notes << "note: " << file.relativePath << ": no patch from " << previous.string()
                  << ": the copies are too large for the updater's window\n";
            continue;
        }
        if (patch->size() >= smallest) continue;
        ReplaceFile(folder / PatchFormName(file.path.filename().native(), baseDigest), *patch);
        const std::string prefix = "Patch" + std::to_string(++number);
        fields.push_back({prefix + "BaseSHA256", baseDigest});
        fields.push_back(NumberField(prefix + "BaseLength", static_cast<int64_t>(base.size())));
        AddForm(&fields, prefix, fileUrl + PatchFormName("", baseDigest), *patch);
    }
    return fields;
}
