#include "manifest/NameRules.h"

#include "CaseFolding.h"
#include "ControlCharacter.h"

namespace {

const char* const kDeviceNames[] = {"CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4",
                                    "COM5", "COM6", "COM7", "COM8", "COM9", "LPT1", "LPT2", "LPT3",
                                    "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9"};

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The system takes "nul.txt" and "CON .log" for the devices as well: what
// counts is the text before the first dot, without its trailing blanks.
// Returns the device as the list spells it, or nullptr.
const char* DeviceNameIn(const std::string& name) {
    std::string stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ') stem.pop_back();
    for (const char* device : kDeviceNames) {
        if (EqualsIgnoreCase(stem, device)) return device;
    }
    return nullptr;
}

}  // namespace

std::optional<std::string> PlainNameRefusal(const std::string& name) {
    if (name.empty()) return "an empty name";
    if (HasControlCharacter(name)) return "a control character in the name";
    const size_t forbidden = name.find_first_of("*?<>:\"/\\|");
    if (forbidden != std::string::npos) return std::string("the character '") + name[forbidden] + "' in the name";
    if (name.back() == '.') return "a name ending with a dot";
    if (name.back() == ' ') return "a name ending with a blank";
    if (const char* device = DeviceNameIn(name)) return std::string("the device name ") + device;
    return std::nullopt;
}

bool IsPlainName(const std::string& name) { return !PlainNameRefusal(name).has_value(); }

bool IsPlainFileName(const std::string& fileName) { return IsPlainName(fileName); }

bool IsPlainFolderPath(const std::string& path) {
    if (path.empty()) return true;
    if (IsSeparator(path[0])) return false;  // the root of a drive, or a share
    size_t start = 0;
    while (start < path.size()) {
        size_t end = start;
        while (end < path.size() && !IsSeparator(path[end])) ++end;
        if (end > start && !IsPlainName(path.substr(start, end - start))) return false;
        start = end + 1;
    }
    return true;
}
