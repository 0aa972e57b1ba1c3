// The encoding named in a document's XML declaration, for files the document
// model refuses to read under that name.
#pragma once

#include <string>

namespace xml {

struct DeclaredEncoding {
    unsigned codePage = 0;          // 0: nothing this layer can decode itself
    size_t attributeBegin = 0;      // byte range of ` encoding="..."` in the declaration
    size_t attributeEnd = 0;
};

// Looks at the declaration `<?xml ... encoding="name" ... ?>` at the start of
// the bytes. GB2312, GBK and GB18030 map to code page 936; another legacy
// name maps to the ANSI code page; Unicode names and no declaration give 0.
DeclaredEncoding FindDeclaredEncoding(const std::string& bytes);

// Decodes the bytes with the declared code page. The encoding attribute is
// left out of the result: the text is no longer in that encoding.
std::wstring DecodeWithCodePage(const std::string& bytes, const DeclaredEncoding& declared);

}  // namespace xml
