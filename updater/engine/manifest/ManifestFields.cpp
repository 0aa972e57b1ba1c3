#include "manifest/ManifestFields.h"

#include "plan/InstallTarget.h"
#include "manifest/NameRules.h"
#include "TextRules.h"

#include <cstring>
#include <limits>

namespace {

const size_t kPathBuffer = 260;
// The transfer writes the body to "<download path>.download" until it is
// complete (CInetFile), so that name must fit as well.
const char kDownloadTemporarySuffix[] = ".download";

bool IsAsciiSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The rules of atoi: leading white space, an optional sign, then the leading
// digits; no digits give 0. A value beyond 32 bits stays at the nearest
// bound instead of overflowing.
int32_t LeadingDecimal(const std::string& text) {
    const int64_t kMax = std::numeric_limits<int32_t>::max();
    const int64_t kMin = std::numeric_limits<int32_t>::min();
    size_t i = 0;
    while (i < text.size() && IsAsciiSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > kMax + 1) magnitude = kMax + 1;  // saturated; more digits change nothing
    }
    int64_t value = negative ? -magnitude : magnitude;
    if (value > kMax) value = kMax;
    if (value < kMin) value = kMin;
    return static_cast<int32_t>(value);
}

bool YesFlag(const std::string& text) { return EqualsIgnoreCase(text, "YES"); }

bool Fits(const std::string& text) { return text.size() < kPathBuffer; }

}  // namespace

void ApplyManifestField(UpdateItem* item, const std::string& name, const std::string& value) {
    if (EqualsIgnoreCase(name, "DownValue")) {
        item->downValue = LeadingDecimal(value);
    } else if (EqualsIgnoreCase(name, "FileName")) {
        item->fileName = value;
    } else if (EqualsIgnoreCase(name, "FileVersion")) {
        item->fileVersion = value;
    } else if (EqualsIgnoreCase(name, "ProductVersion")) {
        item->productVersion = value;
    } else if (EqualsIgnoreCase(name, "Length")) {
        item->length = static_cast<int64_t>(LeadingDecimal(value));  // sign-extended
    } else if (EqualsIgnoreCase(name, "FileDateLow")) {
        item->itemDate = LeadingDecimal(value);
    } else if (EqualsIgnoreCase(name, "FileDateHigh")) {
        item->fileDateHigh = LeadingDecimal(value);
    } else if (EqualsIgnoreCase(name, "InstallDir")) {
        item->installDir = value;
    } else if (EqualsIgnoreCase(name, "Register")) {
        item->registerFile = YesFlag(value);
    } else if (EqualsIgnoreCase(name, "ZipFile")) {
        item->zipFile = YesFlag(value);
    } else if (EqualsIgnoreCase(name, "ForceOverwrite")) {
        item->forceOverwrite = YesFlag(value);
    } else if (EqualsIgnoreCase(name, "Execute")) {
        item->execute = YesFlag(value);
    } else if (EqualsIgnoreCase(name, "ExecutePar")) {
        item->executePar = value;
    } else if (EqualsIgnoreCase(name, "LocalPath")) {
        item->localPath = value;
    } else if (EqualsIgnoreCase(name, "URL")) {
        item->url = value;
    } else if (EqualsIgnoreCase(name, "UserName")) {
        item->userName = value;
    } else if (EqualsIgnoreCase(name, "Password")) {
        item->password = value;
    } else if (EqualsIgnoreCase(name, "MD5")) {
        std::memset(item->md5, 0, sizeof item->md5);
        std::strncpy(item->md5, value.c_str(), sizeof item->md5 - 1);
    } else if (EqualsIgnoreCase(name, "SHA256")) {
        item->sha256 = value;
    }
}

bool DeriveItemPaths(UpdateItem* item, const ItemFolders& folders) {
    const std::string* base = &folders.program;
    if (EqualsIgnoreCase(item->installDir, "WINDOWSDIR")) {
        base = &folders.windows;
    } else if (EqualsIgnoreCase(item->installDir, "SYSTEMDIR")) {
        base = &folders.system;
    }
    std::string download, install, sub;
    if (item->localPath.empty()) {
        download = folders.update + "\\" + item->fileName;
        install = *base + "\\" + item->fileName;
    } else {
        download = folders.update + "\\" + item->localPath + "\\" + item->fileName;
        install = *base + "\\" + item->localPath + "\\" + item->fileName;
        if (base == &folders.program) sub = folders.program + "\\" + item->localPath;
    }
    bool safe = IsPlainFileName(item->fileName) && IsPlainFolderPath(item->localPath) &&
                Fits(download + kDownloadTemporarySuffix) && InstallNamesFit(install, item->fileName) && Fits(sub);
    item->pathsSafe = safe;
    if (!safe) {
        item->downloadPath.clear();
        item->installPath.clear();
        item->subPath.clear();
        return false;
    }
    item->downloadPath = download;
    item->installPath = install;
    item->subPath = sub;
    return true;
}
