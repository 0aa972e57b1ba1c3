#include "PeImageBuilder.h"

namespace {

constexpr uint32_t kSectionRva = 0x1000;
constexpr size_t kSectionFileOffset = 0x200;
constexpr uint32_t kSubdirectory = 0x80000000u;

}  // namespace

void Put16(std::string* bytes, size_t offset, uint16_t value) {
    (*bytes)[offset] = static_cast<char>(value & 0xFF);
    (*bytes)[offset + 1] = static_cast<char>(value >> 8);
}

void Put32(std::string* bytes, size_t offset, uint32_t value) {
    Put16(bytes, offset, static_cast<uint16_t>(value & 0xFFFF));
    Put16(bytes, offset + 2, static_cast<uint16_t>(value >> 16));
}

PeImage BuildPeImage(const PeImageOptions& options) {
    PeImage image;
    std::string& b = image.bytes;

    // The resource section: three directory levels of one entry each (two at
    // the root with a named type first), a data entry and the version block.
    const uint32_t rootEntries = options.namedTypeFirst ? 2 : 1;
    const uint32_t nameDirectory = 16 + 8 * rootEntries;
    const uint32_t languageDirectory = nameDirectory + 24;
    const uint32_t dataEntry = languageDirectory + 24;
    const uint32_t versionInfo = dataEntry + 16;
    const uint32_t versionInfoSize = 40 + 52;
    const uint32_t sectionSize = versionInfo + versionInfoSize;
    b.assign(kSectionFileOffset + sectionSize, '\0');

    b[0] = 'M';
    b[1] = 'Z';
    image.ntHeader = 0x40;
    Put32(&b, 0x3C, static_cast<uint32_t>(image.ntHeader));
    b.replace(image.ntHeader, 4, std::string("PE\0\0", 4));
    const size_t fileHeader = image.ntHeader + 4;
    const uint16_t optionalSize = options.pe32Plus ? 240 : 224;
    Put16(&b, fileHeader, options.pe32Plus ? 0x8664 : 0x014C);
    image.sectionCount = fileHeader + 2;
    Put16(&b, image.sectionCount, 1);
    image.optionalHeaderSize = fileHeader + 16;
    Put16(&b, image.optionalHeaderSize, optionalSize);
    Put16(&b, fileHeader + 18, 0x2102);  // executable, 32-bit, library

    const size_t optional = fileHeader + 20;
    image.optionalMagic = optional;
    Put16(&b, optional, options.pe32Plus ? 0x20B : 0x10B);
    image.directoryCount = optional + (options.pe32Plus ? 108 : 92);
    Put32(&b, image.directoryCount, 16);
    image.resourceDirectory = image.directoryCount + 4 + 2 * 8;
    Put32(&b, image.resourceDirectory, kSectionRva);
    Put32(&b, image.resourceDirectory + 4, sectionSize);

    image.section = optional + optionalSize;
    b.replace(image.section, 6, ".rsrc\0", 6);
    Put32(&b, image.section + 8, sectionSize);                                   // VirtualSize
    Put32(&b, image.section + 12, kSectionRva);                                  // VirtualAddress
    Put32(&b, image.section + 16, sectionSize);                                  // SizeOfRawData
    Put32(&b, image.section + 20, static_cast<uint32_t>(kSectionFileOffset));   // PointerToRawData

    const size_t rsrc = kSectionFileOffset;
    image.rootDirectory = rsrc;
    Put16(&b, rsrc + 12, options.namedTypeFirst ? 1 : 0);
    Put16(&b, rsrc + 14, 1);
    if (options.namedTypeFirst) {
        // A named type ("name string" at the version block; never read)
        // leading to the same name directory.
        Put32(&b, rsrc + 16, 0x80000000u | versionInfo);
        Put32(&b, rsrc + 20, kSubdirectory | nameDirectory);
    }
    image.typeEntry = rsrc + 16 + 8 * (rootEntries - 1);
    Put32(&b, image.typeEntry, 16);  // RT_VERSION
    Put32(&b, image.typeEntry + 4, kSubdirectory | nameDirectory);

    image.nameDirectoryOffset = nameDirectory;
    image.nameDirectory = rsrc + nameDirectory;
    Put16(&b, image.nameDirectory + 14, 1);
    Put32(&b, image.nameDirectory + 16, options.versionNameId);
    Put32(&b, image.nameDirectory + 20, kSubdirectory | languageDirectory);

    image.languageDirectory = rsrc + languageDirectory;
    Put16(&b, image.languageDirectory + 14, 1);
    Put32(&b, image.languageDirectory + 16, 0x0804);
    Put32(&b, image.languageDirectory + 20, dataEntry);

    image.dataEntry = rsrc + dataEntry;
    Put32(&b, image.dataEntry, kSectionRva + versionInfo);
    Put32(&b, image.dataEntry + 4, versionInfoSize);

    image.versionInfo = rsrc + versionInfo;
    Put16(&b, image.versionInfo, versionInfoSize);  // wLength
    Put16(&b, image.versionInfo + 2, 52);           // wValueLength
    const char key[] = "VS_VERSION_INFO";
    for (size_t i = 0; i < sizeof key; ++i) Put16(&b, image.versionInfo + 6 + 2 * i, static_cast<uint8_t>(key[i]));
    image.fixedFileInfo = image.versionInfo + 40;
    Put32(&b, image.fixedFileInfo, 0xFEEF04BD);
    Put32(&b, image.fixedFileInfo + 4, 0x00010000);
    Put32(&b, image.fixedFileInfo + 8, options.fileVersionMS);
    Put32(&b, image.fixedFileInfo + 12, options.fileVersionLS);
    Put32(&b, image.fixedFileInfo + 16, options.fileVersionMS);  // product version
    Put32(&b, image.fixedFileInfo + 20, options.fileVersionLS);
    return image;
}
