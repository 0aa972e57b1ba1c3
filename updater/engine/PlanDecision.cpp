#include "PlanDecision.h"

#include "StateFileWriter.h"
#include "TextRules.h"

bool DecideNeedsUpdate(const UpdateItem& item, const InstalledFile& installed) {
    if (!item.pathsSafe || !BlockTextsArePlain(item)) return false;
    if (!installed.exists) return true;
    if (item.downValue == 1) return true;
    if (!installed.infoRead) return false;
    if (!item.fileVersion.empty()) return CompareIgnoreCase(installed.versionText, item.fileVersion) < 0;
    return item.itemDate > installed.date;
}

bool ExistingDownloadMatches(const UpdateItem& item, const ExistingDownload& existing) {
    if (existing.hasVersion && EqualsIgnoreCase(existing.versionText, item.fileVersion)) return true;
    if (existing.hasMd5 && item.md5[0] != '\0' && EqualsIgnoreCase(existing.md5Text, item.md5)) return true;
    return false;
}

bool HasVersionedExtension(const std::string& path) {
    std::string extension = Extension(path);
    return EqualsIgnoreCase(extension, "exe") || EqualsIgnoreCase(extension, "dll");
}
