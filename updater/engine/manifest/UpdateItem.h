// One file of the update manifest: what the server offers, where it is
// downloaded to and where it is to be installed.
#pragma once

#include "manifest/FileForms.h"

#include <cstdint>
#include <string>

// Layout of the version resource's fixed information block.
struct VersionBlock {
    uint32_t signature = 0;
    uint32_t structVersion = 0;
    uint32_t fileVersionMS = 0;
    uint32_t fileVersionLS = 0;
    uint32_t productVersionMS = 0;
    uint32_t productVersionLS = 0;
    uint32_t flagsMask = 0;
    uint32_t flags = 0;
    uint32_t os = 0;
    uint32_t type = 0;
    uint32_t subtype = 0;
    uint32_t dateMS = 0;
    uint32_t dateLS = 0;
};

class UpdateItem {
public:
    explicit UpdateItem(const std::string& installPath = std::string()) : installPath(installPath) {}
    virtual ~UpdateItem() = default;

    VersionBlock versionBlock;  // zero unless the record describes an installed file
    int32_t downValue = 0;      // 1 forces the download
    int64_t length = 0;
    std::string fileName;
    std::string fileVersion;
    std::string productVersion;
    bool registerFile = false;
    std::string installDir = "CURRENTDIR";
    bool zipFile = false;
    bool forceOverwrite = false;
    bool execute = false;
    std::string executePar;
    std::string localPath;
    std::string subPath;       // program folder and LocalPath, when installed below the program folder
    std::string downloadPath;  // in the update folder
    int32_t fileDateHigh = 0;
    int32_t itemDate = 0;  // YYYYMMDD
    std::string installPath;
    std::string url;
    std::string userName;
    std::string password;
    char md5[40] = {};
    // The SHA256 field as given (64 hexadecimal digits), empty without one;
    // checked only by an updater that holds a publisher's key.
    std::string sha256;
    // The file compressed and as patches, when the server offers them; URL,
    // Length and the digests above stay those of the whole file.
    FileForms forms;
    bool needsUpdate = false;
    // False when FileName or LocalPath is no plain Windows name (it could
    // place a file outside its folders or reach a device), or a name the run
    // uses, temporary copies included, would not fit 260 bytes; such an item
    // is never planned.
    bool pathsSafe = true;
};
