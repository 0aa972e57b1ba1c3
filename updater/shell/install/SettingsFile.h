// The client's settings file (Stock.ini) is rewritten whole, never in place:
// the platform's profile functions write the value into a copy beside it,
// the copy reaches the disk, and one move puts it over the original. A
// process killed at any moment leaves the old file or the new one, never a
// truncated one, and a power cut cannot undo the move while the copy's bytes
// are still in a cache.
#pragma once

#include <string>

// Sets [section] key=value in the profile file at `path` (created when
// missing). The copy is "<path>.new"; one left by a killed run is replaced.
// False when the copy could not be made, written, flushed or moved into
// place; the original is then unchanged.
bool WriteSettingWhole(const std::string& path, const char* section, const char* key, const char* value);
