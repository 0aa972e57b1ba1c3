// The names the publisher gives a release file's other forms, beside the
// file: "<name>.zst" for the file compressed, "<name>.<16 hex>.zpatch" for a
// patch from the earlier copy whose SHA-256 starts with those digits.
#pragma once

#include <set>
#include <string>

std::string CompressedFormName(const std::string& fileName);
// `baseSha256`: the base's digest as 64 lowercase hexadecimal digits.
std::string PatchFormName(const std::string& fileName, const std::string& baseSha256);

// Whether `name` is a form the publisher wrote of another file among
// `folderNames` (the names in the same folder): such files are its own
// output, not files of the release.
bool IsFormOfAnotherFile(const std::string& name, const std::set<std::string>& folderNames);
