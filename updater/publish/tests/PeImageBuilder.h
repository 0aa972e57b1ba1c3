// A minimal Windows image made in memory: headers, one resource section and a
// version resource, laid out as a linker lays them out. The offsets of the
// fields let tests damage them one at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct PeImageOptions {
    bool pe32Plus = false;
    uint32_t fileVersionMS = 0x00010002;  // 1.2
    uint32_t fileVersionLS = 0x00030004;  // 3.4
    uint16_t versionNameId = 1;           // VS_VERSION_INFO
    bool namedTypeFirst = false;          // a named resource type before RT_VERSION
};

struct PeImage {
    std::string bytes;
    // File offsets.
    size_t ntHeader = 0;
    size_t sectionCount = 0;
    size_t optionalHeaderSize = 0;
    size_t optionalMagic = 0;
    size_t directoryCount = 0;
    size_t resourceDirectory = 0;  // its RVA, then its size
    size_t section = 0;            // the resource section's header
    size_t rootDirectory = 0;
    size_t typeEntry = 0;          // the RT_VERSION entry of the root
    size_t nameDirectory = 0;
    size_t languageDirectory = 0;
    size_t dataEntry = 0;
    size_t versionInfo = 0;
    size_t fixedFileInfo = 0;
    // Offsets into the resource section.
    uint32_t nameDirectoryOffset = 0;
};

PeImage BuildPeImage(const PeImageOptions& options = {});

// Little-endian stores into the bytes, for building and for damaging.
void Put16(std::string* bytes, size_t offset, uint16_t value);
void Put32(std::string* bytes, size_t offset, uint32_t value);
