#include "plan/LocalFileInfo.h"

#include "run/Clock.h"
#include "plan/VersionResource.h"

#include <windows.h>

#include "KernelHandles.h"

namespace {

FileHandle OpenForReading(const char* path) {
    return FileHandle(
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::string FileNameOf(const std::string& path) {
    size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

bool ModificationDate(const char* path, int32_t* date) {
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &attributes)) return false;
    FILETIME local;
    SYSTEMTIME fields;
    if (!FileTimeToLocalFileTime(&attributes.ftLastWriteTime, &local) || !FileTimeToSystemTime(&local, &fields)) {
        return false;
    }
    *date = DateNumber(fields.wYear, fields.wMonth, fields.wDay);
    return true;
}

}  // namespace

bool CanOpenForReading(const char* path) {
    return OpenForReading(path).IsValid();
}

bool ReadLocalInfo(UpdateItem* record) {
    if (record->installPath.empty()) return false;
    const char* path = record->installPath.c_str();
    {
        FileHandle file = OpenForReading(path);
        if (file.IsValid()) {
            record->length = static_cast<int64_t>(GetFileSize(file.Get(), nullptr));
            record->fileName = FileNameOf(record->installPath);
        }
    }
    bool versionRead = ReadVersionBlock(path, &record->versionBlock);
    if (versionRead) {
        record->fileVersion = FileVersionText(record->versionBlock);
        record->productVersion = ProductVersionText(record->versionBlock);
    }
    bool statusRead = ModificationDate(path, &record->itemDate);
    return versionRead || statusRead;
}

InstalledFile InspectInstalledFile(const UpdateItem& item) {
    InstalledFile installed;
    installed.exists = CanOpenForReading(item.installPath.c_str());
    if (!installed.exists || item.downValue == 1) return installed;
    UpdateItem record(item.installPath);
    installed.infoRead = ReadLocalInfo(&record);
    installed.versionText = record.fileVersion;
    installed.date = record.itemDate;
    return installed;
}
