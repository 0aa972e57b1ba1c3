// Where an installed file is written, and the names the installation uses on
// the way, which the planner measures against the 260-byte path buffers. The
// updater's own three files are in use while it runs, so they are written
// beside their destination with the suffix ".update"; the client completes
// the replacement when it restarts.
#pragma once

#include <string>

// Suffix of the temporary copy that is made beside the target and moved over
// it once complete: "<target>.installing". A run that is killed leaves at
// most one per target, under a name the next run recognises and removes.
extern const char kInstallCopySuffix[];

bool IsUpdaterOwnFile(const std::string& fileName);
std::string InstallTargetPath(const std::string& destinationPath, const std::string& fileName);
std::string InstallCopyPath(const std::string& targetPath);

// Whether the installation of a file to this destination can name everything
// it needs in 260-byte buffers: the target and its temporary copy.
bool InstallNamesFit(const std::string& destinationPath, const std::string& fileName);
