#include "DiskLevel.h"

#include <unistd.h>

bool FlushFileToDisk(std::FILE* file) { return fsync(fileno(file)) == 0; }

bool MoveFileOver(const std::string& from, const std::string& to) { return std::rename(from.c_str(), to.c_str()) == 0; }
