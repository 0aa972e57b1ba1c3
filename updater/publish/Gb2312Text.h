// UTF-8 text of the publishing machine (file names, the product version) in
// the GB2312 form the manifest and the updater use.
#pragma once

#include <optional>
#include <string>

// The GB2312 bytes of the text, or nothing when it is not valid UTF-8 or a
// character has no GB2312 form. Only texts that come back unchanged through
// the updater's own GB2312-to-UTF-8 conversion are taken, so that the name the
// updater asks the server for is the name of the file served.
std::optional<std::string> Utf8ToGb2312(const std::string& utf8);
