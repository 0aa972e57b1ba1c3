#include "DurableFile.h"

#include "DiskLevel.h"

bool SyncToDisk(std::FILE* file) { return std::fflush(file) == 0 && FlushFileToDisk(file); }

bool ReplaceFileDurably(const std::string& path, const std::string& bytes) {
    const std::string copy = path + ".new";
    std::FILE* file = std::fopen(copy.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && SyncToDisk(file);
    const bool closed = std::fclose(file) == 0;
    if (written && closed && MoveFileOver(copy, path)) return true;
    std::remove(copy.c_str());
    return false;
}
