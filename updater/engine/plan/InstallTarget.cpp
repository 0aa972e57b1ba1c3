#include "plan/InstallTarget.h"

#include "CaseFolding.h"
#include "PathLimits.h"

const char kInstallCopySuffix[] = ".installing";

bool IsUpdaterOwnFile(const std::string& fileName) {
    return EqualsIgnoreCase(fileName, "Koravel.exe") || EqualsIgnoreCase(fileName, "KoravelRC.dll") ||
           EqualsIgnoreCase(fileName, "libiconv2.dll");
}

std::string InstallTargetPath(const std::string& destinationPath, const std::string& fileName) {
    return IsUpdaterOwnFile(fileName) ? destinationPath + ".update" : destinationPath;
}

std::string InstallCopyPath(const std::string& targetPath) { return targetPath + kInstallCopySuffix; }

bool InstallNamesFit(const std::string& destinationPath, const std::string& fileName) {
    // The copy's name is the longest of the two.
    return InstallCopyPath(InstallTargetPath(destinationPath, fileName)).size() < kPathBufferBytes;
}
