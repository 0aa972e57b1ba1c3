// The object path of a download URL as it goes into the GET request.
#pragma once

#include <string>

// The part up to and including the last '/' stays as it is; the last segment
// (a GB2312 file name) is converted to UTF-8, at most 255 bytes, and every byte
// above 0x7F is written as '%' and two lowercase hex digits. ASCII, spaces
// included, is kept. A path without '/' is returned unchanged.
std::string EscapeRequestPath(const std::string& objectPath);
