// Paths as text. Windows paths separate with '\\' and also take '/'; both are
// separators here, so that a path reads the same whichever the publisher or
// the manifest used.
#pragma once

#include <optional>
#include <string>
#include <vector>

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// The folder the path names its entry in: the text before its last '\\' or
// '/', without that separator; empty when it has none.
std::string FolderOfPath(const std::string& path);

// The folder and the name with one separator between them (the folder's own
// trailing separator is kept rather than doubled); the name alone when the
// folder is empty.
std::string JoinPath(const std::string& folder, const std::string& name);

// Text after the last '.' of the whole path; empty when there is none.
std::string Extension(const std::string& path);
// The path cut at its last '.'; unchanged when it has none.
std::string NameWithoutExtension(const std::string& path);

// Every level of the folder, shortest first, cutting at '\\' and '/'; the
// text after the last separator is the deepest level. Empty levels (a
// leading or doubled separator) are not listed.
std::vector<std::string> FolderLevels(const std::string& folder);

// The program's folder from the module path the system reported into a
// buffer of `capacity` bytes: the path cut at its last separator. Nothing
// when the report filled the buffer (the path was cut), was empty, or holds
// no separator.
std::optional<std::string> FolderOfModulePath(const char* buffer, std::size_t reported, std::size_t capacity);
