// The encoding named in a document's XML declaration, for files the document
// model refuses to read under that name.
#pragma once

#include <string>

namespace xml {

struct DeclaredEncoding {
    bool decodable = false;         // false: nothing this layer can decode itself
    unsigned codePage = 0;          // when decodable
    size_t attributeBegin = 0;      // byte range of ` encoding="..."` in the declaration
    size_t attributeEnd = 0;
};

// Looks at the declaration `<?xml ... encoding="name" ... ?>` at the start of
// the bytes. GB2312, GBK and GB18030 are decodable with code page 936; any
// other name, and no declaration, is left to the document model alone.
DeclaredEncoding FindDeclaredEncoding(const std::string& bytes);

// Decodes the bytes with the declared code page into *text. The encoding
// attribute is left out of the result: the text is no longer in that
// encoding. False, like the document model itself, when a byte sequence is
// not valid in the code page: no replacement characters are made up.
bool DecodeWithCodePage(const std::string& bytes, const DeclaredEncoding& declared, std::wstring* text);

}  // namespace xml
