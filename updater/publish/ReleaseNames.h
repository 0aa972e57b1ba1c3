// Which names of a release the updater takes: the names of files and
// folders, in GB2312, and the length of the path they make below the client
// folder.
#pragma once

#include "PathLimits.h"

#include <cstddef>
#include <optional>
#include <string>


// Why the updater would refuse this name of a file or folder, or nothing when
// it takes it; the updater's own PlainNameRefusal (NameRules.h). Refused: an
// empty name; control characters; any of < > : " / \ | * ?; a trailing dot
// or blank (the system drops them, so "." and ".." too); the device names
// CON, PRN, AUX, NUL, COM1-COM9 and LPT1-LPT9 in any letter case, alone or
// with an extension.
std::optional<std::string> NameRefusal(const std::string& gb2312Name);

// Why a path below the client folder (GB2312, backslash-separated) cannot be
// kept by the client: it must fit the path buffer with its terminator.
std::optional<std::string> PathLengthRefusal(const std::string& gb2312RelativePath);
