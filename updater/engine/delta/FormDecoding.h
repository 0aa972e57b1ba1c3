// Turns a fetched compressed file or patch, lying on disk, into the file it
// stands for.
#pragma once

#include "delta/ZstdDecoder.h"

#include <cstdint>
#include <string>

// Decodes the stream in `formPath` (against `base` for a patch; null for a
// compressed file) into "<targetPath>.download", puts that on the disk and
// moves it over `targetPath`. kOk only when all of that worked; after any
// failure neither the ".download" file nor a new target is left, and an
// older target stays as it was.
DecodeStatus DecodeFormFile(const std::string& formPath, uint64_t expectedSize, const PatchBase* base,
                            const std::string& targetPath);
