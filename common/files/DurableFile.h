// Files whose bytes must survive a power cut, not just a killed process: the
// bytes are pushed from the runtime's and the system's caches to the disk
// before the file counts as written, and a replaced file changes in one move.
#pragma once

#include <cstdio>
#include <string>

// Flushes the stream and asks the system to put its bytes on the disk.
bool SyncToDisk(std::FILE* file);

// Replaces the file with exactly these bytes: they are written to
// "<path>.new", put on the disk, and that file is moved over `path` in one
// step. A run killed at any moment leaves the old file or the new one. False
// when any step failed; the old file then stays.
bool ReplaceFileDurably(const std::string& path, const std::string& bytes);
