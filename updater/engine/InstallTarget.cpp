#include "InstallTarget.h"

#include "TextRules.h"

bool IsUpdaterOwnFile(const std::string& fileName) {
    return EqualsIgnoreCase(fileName, "Koravel.exe") || EqualsIgnoreCase(fileName, "KoravelRC.dll") ||
           EqualsIgnoreCase(fileName, "libiconv2.dll");
}

std::string InstallTargetPath(const std::string& destinationPath, const std::string& fileName) {
    return IsUpdaterOwnFile(fileName) ? destinationPath + ".update" : destinationPath;
}
