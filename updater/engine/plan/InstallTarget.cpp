#include "plan/InstallTarget.h"

#include "TextRules.h"

namespace {

const size_t kPathBuffer = 260;
const size_t kTemporaryNameRoom = 14;

}  // namespace

const char kInstallCopyPrefix[] = "kor";

bool IsUpdaterOwnFile(const std::string& fileName) {
    return EqualsIgnoreCase(fileName, "Koravel.exe") || EqualsIgnoreCase(fileName, "KoravelRC.dll") ||
           EqualsIgnoreCase(fileName, "libiconv2.dll");
}

std::string InstallTargetPath(const std::string& destinationPath, const std::string& fileName) {
    return IsUpdaterOwnFile(fileName) ? destinationPath + ".update" : destinationPath;
}

bool InstallNamesFit(const std::string& destinationPath, const std::string& fileName) {
    size_t cut = destinationPath.find_last_of("\\/");
    size_t folderLength = cut == std::string::npos ? 0 : cut;
    return InstallTargetPath(destinationPath, fileName).size() < kPathBuffer &&
           folderLength + kTemporaryNameRoom <= kPathBuffer;
}
