// Which texts of the manifest can stand as a name on Windows: a file name,
// and a sub-folder path below the install and update folders. A text that
// fails would place a file elsewhere than the manifest says, open a device,
// or make a path the system reads differently from the state file.
#pragma once

#include <optional>
#include <string>

// One name of a path: not empty; no control character, no wildcard ('*',
// '?') and none of the characters Windows forbids in names ('<', '>', ':',
// '"', '/', '\\', '|'); not ending with a dot or a blank (the system drops
// those, so "." and ".." are no names either); not a device name (CON, PRN,
// AUX, NUL, COM1 to COM9, LPT1 to LPT9 in any letter case, also with an
// extension). Bytes are judged one by one: no GB2312 byte is below 0xA1.
bool IsPlainName(const std::string& name);

// Why a name is not plain by the rules of IsPlainName, for messages that
// name the fault: "an empty name", "a control character in the name", "the
// character '<' in the name", "a name ending with a dot", "a name ending
// with a blank" or "the device name CON" (the device in upper case). Nothing
// when the name is plain.
std::optional<std::string> PlainNameRefusal(const std::string& name);

// A FileName: a single plain name.
bool IsPlainFileName(const std::string& fileName);

// A LocalPath: empty, or plain names separated by '\\' (or '/', which the
// system reads the same way). It must not start with a separator; a doubled
// or trailing separator adds no name and is accepted, as the system reads
// "a\\\\b" as "a\\b".
bool IsPlainFolderPath(const std::string& path);
