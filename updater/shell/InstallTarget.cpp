#include "InstallTarget.h"

#include "MbcsText.h"

bool IsUpdaterOwnFile(const char* fileName) {
    return EqualIgnoreCaseMbcs(fileName, "Koravel.exe") || EqualIgnoreCaseMbcs(fileName, "KoravelRC.dll") ||
           EqualIgnoreCaseMbcs(fileName, "libiconv2.dll");
}

std::string InstallTargetPath(const std::string& destinationPath, const std::string& fileName) {
    return IsUpdaterOwnFile(fileName.c_str()) ? destinationPath + ".update" : destinationPath;
}
