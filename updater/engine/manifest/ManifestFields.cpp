#include "manifest/ManifestFields.h"

#include "plan/InstallTarget.h"
#include "manifest/NameRules.h"
#include "CaseFolding.h"
#include "LeadingInteger.h"
#include "PathLimits.h"
#include "transfer/DownloadSuffix.h"

#include <cstring>
#include <limits>

namespace {

bool YesFlag(const std::string& text) { return EqualsIgnoreCase(text, "YES"); }

bool Fits(const std::string& text) { return text.size() < kPathBufferBytes; }

}  // namespace

void ApplyManifestField(UpdateItem* item, const std::string& name, const std::string& value) {
    if (EqualsIgnoreCase(name, "DownValue")) {
        item->downValue = LeadingInteger(value);
    } else if (EqualsIgnoreCase(name, "FileName")) {
        item->fileName = value;
    } else if (EqualsIgnoreCase(name, "FileVersion")) {
        item->fileVersion = value;
    } else if (EqualsIgnoreCase(name, "ProductVersion")) {
        item->productVersion = value;
    } else if (EqualsIgnoreCase(name, "Length")) {
        item->length = static_cast<int64_t>(LeadingInteger(value));  // sign-extended
    } else if (EqualsIgnoreCase(name, "FileDateLow")) {
        item->itemDate = LeadingInteger(value);
    } else if (EqualsIgnoreCase(name, "FileDateHigh")) {
        item->fileDateHigh = LeadingInteger(value);
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
    } else {
        ApplyFormField(&item->forms, name, value);
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
                Fits(download + kDownloadSuffix + kValidatorSuffix) && InstallNamesFit(install, item->fileName) && Fits(sub);
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
