#include "plan/PlanDecision.h"

#include "statefile/StateFileWriter.h"
#include "CaseFolding.h"
#include "HexText.h"
#include "PathText.h"

bool DecideNeedsUpdate(const UpdateItem& item, const InstalledFile& installed) {
    if (!item.pathsSafe || !BlockTextsArePlain(item)) return false;
    if (!installed.exists) return true;
    if (item.downValue == 1) return true;
    if (!installed.infoRead) return false;
    if (!item.fileVersion.empty()) return CompareIgnoreCase(installed.versionText, item.fileVersion) < 0;
    return item.itemDate > installed.date;
}

bool HasRequiredDigests(const UpdateItem& item) {
    return IsHexText(item.md5, 32) && (item.sha256.empty() || IsHexText(item.sha256, 64));
}

bool DownloadDigestsMatch(const UpdateItem& item, bool digestsRequired, const std::string& md5Text,
                          const std::string& sha256Text) {
    if (item.md5[0] != '\0' && !EqualsIgnoreCase(md5Text, item.md5)) return false;
    if (digestsRequired && !item.sha256.empty() && !EqualsIgnoreCase(sha256Text, item.sha256)) return false;
    return true;
}

bool ExistingDownloadMatches(const UpdateItem& item, const ExistingDownload& existing) {
    if (existing.digestsRequired) {
        return existing.hasMd5 && DownloadDigestsMatch(item, true, existing.md5Text, existing.sha256Text) &&
               (item.sha256.empty() || existing.hasSha256);
    }
    if (existing.hasVersion && EqualsIgnoreCase(existing.versionText, item.fileVersion)) return true;
    if (existing.hasMd5 && item.md5[0] != '\0' && EqualsIgnoreCase(existing.md5Text, item.md5)) return true;
    return false;
}

bool HasVersionedExtension(const std::string& path) {
    std::string extension = Extension(path);
    return EqualsIgnoreCase(extension, "exe") || EqualsIgnoreCase(extension, "dll");
}
