// The text of Update.xml, written by the publisher's tool, the tests and the
// bench alike: the GB2312 declaration, the root <Update>, one <Product> and a
// <File> item per entry, LF line ends, ending with the root's end tag and a
// line break (where a signature trailer may follow).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One field of an item: <name>text</name>. The text is escaped for XML
// unless it is markup written on purpose (a test's CDATA section).
struct ManifestField {
    std::string name;
    std::string text;
    bool isMarkup = false;
};

// One <File> item: its fields in document order.
using ManifestEntry = std::vector<ManifestField>;

// A field with a decimal number (Length, FileDateLow, DownValue).
ManifestField NumberField(const std::string& name, int64_t value);

// productVersion (GB2312) becomes the Version attribute of <Product>; without
// it the attribute is left out.
std::string ManifestText(const std::optional<std::string>& productVersion, const std::vector<ManifestEntry>& entries);
