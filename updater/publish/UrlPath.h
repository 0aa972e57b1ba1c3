// The URL of each file: the publisher's base URL, then the file's path below
// the release folder, escaped the way the updater sends a name in its request.
#pragma once

#include <cstddef>
#include <string>

// The updater converts at most this many bytes of a URL's last segment for its
// request and drops the rest.
inline constexpr std::size_t kRequestNameBytes = 255;

// The base URL without its trailing '/'. It must be http:// or https://
// (either case) followed by a host and an optional port and path, in
// printable ASCII without blanks, query or fragment; else PublishError.
std::string CheckedBaseUrl(const std::string& url);

// One segment of the path: the GB2312 name converted to UTF-8 by the updater's
// own routine, every byte outside the unreserved characters and the
// sub-delimiters of RFC 3986 written as '%' and two lowercase hexadecimal
// digits (the form the updater writes). Being ASCII, the result passes the
// updater's escaping unchanged, and a server decodes it to the UTF-8 name.
std::string EscapeUrlSegment(const std::string& gb2312Name);
