#include "ManifestItem.h"

#include "CaseFolding.h"
#include "FileDate.h"
#include "FileDigests.h"
#include "FileIo.h"
#include "PathText.h"
#include "PeVersion.h"
#include "UrlPath.h"

#include <cstdint>
#include <limits>

namespace {

bool IsWindowsImageName(const std::string& name) {
    const std::string extension = Extension(name);
    return EqualsIgnoreCase(extension, "exe") || EqualsIgnoreCase(extension, "dll");
}

}  // namespace

ManifestEntry DescribeReleaseFile(const ReleaseFile& file, const std::string& baseUrl, std::ostream& notes) {
    const FileDigests digests = DigestFile(file.path);
    // The updater keeps Length in a signed 32-bit number.
    if (digests.length > static_cast<uint64_t>(std::numeric_limits<int32_t>::max())) {
        notes << "note: " << file.relativePath << ": " << digests.length
              << " bytes, more than the updater's progress counts; its progress will be wrong\n";
    }

    std::string fileVersion;
    if (IsWindowsImageName(file.fileName)) {
        if (std::optional<PeFileVersion> version = ReadPeFileVersion(ReadFileBytes(file.path))) {
            fileVersion = version->Text();
        } else {
            notes << "note: " << file.relativePath << ": no version resource; the updater compares it by its date\n";
        }
    }

    std::string url = baseUrl;
    for (const std::string& folder : file.folders) url += "/" + EscapeUrlSegment(folder);
    url += "/" + EscapeUrlSegment(file.fileName);

    ManifestEntry entry{{"FileName", file.fileName}};
    if (!fileVersion.empty()) entry.push_back({"FileVersion", fileVersion});
    entry.push_back({"Length", std::to_string(digests.length)});
    entry.push_back(NumberField("FileDateLow", UtcDateNumber(ModificationTime(file.path))));
    const std::string localPath = file.LocalPath();
    if (!localPath.empty()) entry.push_back({"LocalPath", localPath});
    entry.push_back({"URL", url});
    entry.push_back({"MD5", digests.md5});
    entry.push_back({"SHA256", digests.sha256});
    return entry;
}
