// The two calls of DurableFile that differ between the systems.
#pragma once

#include <cstdio>
#include <string>

// Asks the system to put the stream's flushed bytes on the disk.
bool FlushFileToDisk(std::FILE* file);
// Moves `from` over `to` in one step, replacing it, written through to disk.
bool MoveFileOver(const std::string& from, const std::string& to);
