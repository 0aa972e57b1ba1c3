#include "ManifestItem.h"

#include "FileDate.h"
#include "FileDigests.h"
#include "FileIo.h"
#include "PeVersion.h"
#include "TextRules.h"
#include "UrlPath.h"

#include <limits>

namespace {

bool IsWindowsImageName(const std::string& name) {
    const std::string extension = Extension(name);
    return EqualsIgnoreCase(extension, "exe") || EqualsIgnoreCase(extension, "dll");
}

}  // namespace

ManifestItem DescribeReleaseFile(const ReleaseFile& file, const std::string& baseUrl, std::ostream& notes) {
    ManifestItem item;
    item.fileName = file.fileName;
    item.localPath = file.LocalPath();

    const FileDigests digests = DigestFile(file.path);
    item.length = digests.length;
    item.md5 = digests.md5;
    item.sha256 = digests.sha256;
    // The updater keeps Length in a signed 32-bit number.
    if (item.length > static_cast<uint64_t>(std::numeric_limits<int32_t>::max())) {
        notes << "note: " << file.relativePath << ": " << item.length
              << " bytes, more than the updater's progress counts; its progress will be wrong\n";
    }

    if (IsWindowsImageName(file.fileName)) {
        if (std::optional<PeFileVersion> version = ReadPeFileVersion(ReadFileBytes(file.path))) {
            item.fileVersion = version->Text();
        } else {
            notes << "note: " << file.relativePath << ": no version resource; the updater compares it by its date\n";
        }
    }
    item.fileDateLow = UtcDateNumber(ModificationTime(file.path));

    item.url = baseUrl;
    for (const std::string& folder : file.folders) item.url += "/" + EscapeUrlSegment(folder);
    item.url += "/" + EscapeUrlSegment(file.fileName);
    return item;
}
