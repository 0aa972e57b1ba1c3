// Creation of a folder with every level above it.
#pragma once

#include <string>

// Creates each level of the folder that is not there yet, shortest first,
// the deepest one included (a trailing separator changes nothing). True when
// the folder exists afterwards, whether made now or before.
bool CreateFolders(const std::string& folder);
