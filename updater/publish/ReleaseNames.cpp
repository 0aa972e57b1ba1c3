#include "ReleaseNames.h"

#include "TextRules.h"

namespace {

const char* const kDeviceNames[] = {"CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4",
                                    "COM5", "COM6", "COM7", "COM8", "COM9", "LPT1", "LPT2", "LPT3",
                                    "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9"};

// The system takes "nul.txt" and "CON .log" for the devices too: what counts
// is the text before the first dot, without its trailing blanks.
std::optional<std::string> DeviceNameIn(const std::string& name) {
    std::string stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ') stem.pop_back();
    for (const char* device : kDeviceNames) {
        if (EqualsIgnoreCase(stem, device)) return std::string(device);
    }
    return std::nullopt;
}

bool ContainsControlByte(const std::string& text) {
    for (char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) return true;
    }
    return false;
}

}  // namespace

std::optional<std::string> NameRefusal(const std::string& name) {
    if (name.empty()) return "an empty name";
    // GB2312 bytes are all 0xA1 and above, so byte-wise checks cannot hit
    // half of a Chinese character.
    if (ContainsControlByte(name)) return "a control character in the name";
    const size_t forbidden = name.find_first_of("<>:\"/\\|*?");
    if (forbidden != std::string::npos) return std::string("the character '") + name[forbidden] + "' in the name";
    if (name.back() == '.') return "a name ending with a dot";
    if (name.back() == ' ') return "a name ending with a blank";
    if (std::optional<std::string> device = DeviceNameIn(name)) return "the device name " + *device;
    return std::nullopt;
}

std::optional<std::string> PathLengthRefusal(const std::string& path) {
    if (path.size() < kPathBufferBytes) return std::nullopt;
    return "a path of " + std::to_string(path.size()) + " bytes in GB2312; the client keeps at most " +
           std::to_string(kPathBufferBytes - 1);
}
