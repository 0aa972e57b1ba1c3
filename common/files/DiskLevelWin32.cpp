#include "DiskLevel.h"

#include <io.h>
#include <windows.h>

bool FlushFileToDisk(std::FILE* file) { return _commit(_fileno(file)) == 0; }

bool MoveFileOver(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
