#include "FormNames.h"

namespace {

const std::string kCompressedSuffix = ".zst";
const std::string kPatchSuffix = ".zpatch";
constexpr std::size_t kBaseDigits = 16;

bool EndsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool IsLowerHex(const std::string& text) {
    for (char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    }
    return true;
}

}  // namespace

std::string CompressedFormName(const std::string& fileName) { return fileName + kCompressedSuffix; }

std::string PatchFormName(const std::string& fileName, const std::string& baseSha256) {
    return fileName + "." + baseSha256.substr(0, kBaseDigits) + kPatchSuffix;
}

bool IsFormOfAnotherFile(const std::string& name, const std::set<std::string>& folderNames) {
    if (EndsWith(name, kCompressedSuffix)) {
        return folderNames.count(name.substr(0, name.size() - kCompressedSuffix.size())) != 0;
    }
    // "." and the digits before the suffix.
    const std::size_t tail = 1 + kBaseDigits + kPatchSuffix.size();
    if (!EndsWith(name, kPatchSuffix) || name.size() <= tail) return false;
    const std::size_t dot = name.size() - tail;
    return name[dot] == '.' && IsLowerHex(name.substr(dot + 1, kBaseDigits)) &&
           folderNames.count(name.substr(0, dot)) != 0;
}
