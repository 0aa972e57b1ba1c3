// Where an installed file is written, and the names the installation uses on
// the way, which the planner measures against the 260-byte path buffers. The
// updater's own three files are in use while it runs, so they are written
// beside their destination with the suffix ".update"; the client completes
// the replacement when it restarts.
#pragma once

#include <string>

// Prefix of the temporary copy that is made in the target's folder and moved
// over the target once complete.
extern const char kInstallCopyPrefix[];

bool IsUpdaterOwnFile(const std::string& fileName);
std::string InstallTargetPath(const std::string& destinationPath, const std::string& fileName);

// Whether the installation of a file to this destination can name everything
// it needs in 260-byte buffers: the target, and the temporary copy, which
// GetTempFileNameA makes only in a folder that leaves 14 bytes of the buffer
// for "\<prefix><up to four hex digits>.tmp" and the terminator.
bool InstallNamesFit(const std::string& destinationPath, const std::string& fileName);
