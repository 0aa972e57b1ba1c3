// The text of Update.xml: the GB2312 declaration, the root <Update>, one
// <Product> and a <File> item per release file, LF line ends, ending with the
// root's end tag and a line break (where a signature trailer may follow).
#pragma once

#include "ManifestItem.h"

#include <optional>
#include <string>
#include <vector>

// productVersion (GB2312) becomes the Version attribute of <Product>; without
// it the attribute is left out. Texts are escaped for XML.
std::string ManifestDocument(const std::optional<std::string>& productVersion,
                             const std::vector<ManifestItem>& items);
