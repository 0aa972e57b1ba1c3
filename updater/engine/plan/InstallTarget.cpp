#include "plan/InstallTarget.h"

#include "CaseFolding.h"
#include "PathLimits.h"
#include "PathText.h"

namespace {

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
    return InstallTargetPath(destinationPath, fileName).size() < kPathBufferBytes &&
           FolderOfPath(destinationPath).size() + kTemporaryNameRoom <= kPathBufferBytes;
}
