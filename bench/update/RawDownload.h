// What the platform's HTTP client alone achieves on this machine: one GET
// read in 8192-byte pieces, as the engine reads, each written straight to a
// file. It tells how much of the engine's download time is the client's.
#pragma once

#include <string>

// Returns the number of bytes written, or -1 when the transfer failed.
long long RawDownload(const std::string& url, const std::string& localPath);
