// Text rules the engine shares: case-insensitive comparison of GB2312 text,
// control characters, path extension and the folder prefixes that directory
// creation walks.
#pragma once

#include <string>
#include <vector>

// Compares byte strings ignoring the case of ASCII letters; the trail byte of
// a double-byte GB2312 character is never case-folded. <0, 0 or >0.
int CompareIgnoreCase(const std::string& left, const std::string& right);
bool EqualsIgnoreCase(const std::string& left, const std::string& right);

// True when the text holds a control character: a byte below 0x20 or 0x7F.
// GB2312 bytes are all 0xA1 and above, so no Chinese character is one.
bool HasControlCharacter(const std::string& text);

// Text after the last '.' of the whole path; empty when there is none.
std::string Extension(const std::string& path);
// The path cut at its last '.'; unchanged when it has none.
std::string NameWithoutExtension(const std::string& path);

// Folders to create, shortest first, for every '/' or '\\' in the path (the
// text after the last separator is not a folder).
std::vector<std::string> FolderPrefixesAnySeparator(const std::string& path);
// Folders to create, shortest first, for a path that is taken to end with
// '\\' (one is appended when missing), cutting only at backslashes.
std::vector<std::string> FolderPrefixesBackslash(const std::string& path);
