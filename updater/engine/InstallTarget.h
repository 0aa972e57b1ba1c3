// Where an installed file is written. The updater's own three files are in
// use while it runs, so they are written beside their destination with the
// suffix ".update"; the client completes the replacement when it restarts.
#pragma once

#include <string>

bool IsUpdaterOwnFile(const std::string& fileName);
std::string InstallTargetPath(const std::string& destinationPath, const std::string& fileName);
