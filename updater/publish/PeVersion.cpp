#include "PeVersion.h"

#include "run/Clock.h"

#include <optional>
#include <vector>

namespace {

constexpr uint32_t kPeSignature = 0x00004550;  // "PE\0\0"
constexpr uint16_t kPe32Magic = 0x10b;
constexpr uint16_t kPe32PlusMagic = 0x20b;
constexpr uint32_t kResourceDirectoryIndex = 2;
constexpr uint16_t kRtVersion = 16;
constexpr uint16_t kVsVersionInfoId = 1;
constexpr uint32_t kFixedFileInfoSignature = 0xFEEF04BD;
constexpr uint32_t kFixedFileInfoSize = 52;
constexpr uint32_t kSubdirectoryFlag = 0x80000000u;
constexpr uint32_t kNamedEntryFlag = 0x80000000u;

// Little-endian reads that fail instead of leaving the bytes. Offsets are
// 64-bit so that a sum of two hostile 32-bit fields cannot wrap.
class Bytes {
public:
    explicit Bytes(std::string_view bytes) : bytes_(bytes) {}

    bool Has(uint64_t offset, uint64_t size) const { return offset <= bytes_.size() && size <= bytes_.size() - offset; }

    bool U16(uint64_t offset, uint16_t* value) const {
        if (!Has(offset, 2)) return false;
        *value = static_cast<uint16_t>(Byte(offset) | Byte(offset + 1) << 8);
        return true;
    }
    bool U32(uint64_t offset, uint32_t* value) const {
        if (!Has(offset, 4)) return false;
        *value = static_cast<uint32_t>(Byte(offset)) | static_cast<uint32_t>(Byte(offset + 1)) << 8 |
                 static_cast<uint32_t>(Byte(offset + 2)) << 16 | static_cast<uint32_t>(Byte(offset + 3)) << 24;
        return true;
    }

private:
    uint32_t Byte(uint64_t offset) const { return static_cast<unsigned char>(bytes_[offset]); }

    std::string_view bytes_;
};

struct Section {
    uint32_t virtualAddress;
    uint32_t rawSize;
    uint32_t rawOffset;
};

class PeImage {
public:
    explicit PeImage(std::string_view image) : bytes_(image) {}

    // Reads the headers and the section table; false when they are not a PE image's.
    bool ReadHeaders() {
        uint16_t dosMagic = 0;
        uint32_t ntOffset = 0, signature = 0;
        if (!bytes_.U16(0, &dosMagic) || dosMagic != 0x5A4D || !bytes_.U32(0x3C, &ntOffset) ||
            !bytes_.U32(ntOffset, &signature) || signature != kPeSignature) {
            return false;
        }
        const uint64_t fileHeader = uint64_t{ntOffset} + 4;
        uint16_t sectionCount = 0, optionalSize = 0, magic = 0;
        if (!bytes_.U16(fileHeader + 2, &sectionCount) || !bytes_.U16(fileHeader + 16, &optionalSize)) return false;
        const uint64_t optional = fileHeader + 20;
        if (!bytes_.U16(optional, &magic)) return false;
        // Where the directory count and the directories begin in each form.
        uint64_t countAt = 0;
        if (magic == kPe32Magic) {
            countAt = 92;
        } else if (magic == kPe32PlusMagic) {
            countAt = 108;
        } else {
            return false;
        }
        uint32_t directoryCount = 0;
        if (!bytes_.U32(optional + countAt, &directoryCount)) return false;
        const uint64_t resourceEntry = countAt + 4 + 8 * uint64_t{kResourceDirectoryIndex};
        if (directoryCount <= kResourceDirectoryIndex || resourceEntry + 8 > optionalSize) {
            resourceRva_ = resourceSize_ = 0;
        } else if (!bytes_.U32(optional + resourceEntry, &resourceRva_) ||
                   !bytes_.U32(optional + resourceEntry + 4, &resourceSize_)) {
            return false;
        }

        const uint64_t table = optional + optionalSize;
        if (!bytes_.Has(table, uint64_t{sectionCount} * 40)) return false;
        sections_.reserve(sectionCount);
        for (uint16_t i = 0; i < sectionCount; ++i) {
            const uint64_t at = table + uint64_t{i} * 40;
            Section section{};
            bytes_.U32(at + 12, &section.virtualAddress);
            bytes_.U32(at + 16, &section.rawSize);
            bytes_.U32(at + 20, &section.rawOffset);
            sections_.push_back(section);
        }
        return true;
    }

    // The file offset of `size` bytes at the relative virtual address, when
    // they lie wholly inside one section's data in the file.
    bool FileOffset(uint64_t rva, uint64_t size, uint64_t* offset) const {
        for (const Section& section : sections_) {
            if (rva < section.virtualAddress) continue;
            const uint64_t into = rva - section.virtualAddress;
            if (into >= section.rawSize || size > section.rawSize - into) continue;
            const uint64_t at = uint64_t{section.rawOffset} + into;
            if (!bytes_.Has(at, size)) return false;
            *offset = at;
            return true;
        }
        return false;
    }

    // Walks type, name and language to the version resource's data: its
    // file offset and size.
    bool FindVersionResource(uint64_t* offset, uint32_t* size) const {
        if (resourceRva_ == 0 || resourceSize_ == 0) return false;
        uint32_t names = 0, languages = 0, dataEntry = 0;
        if (!Entry(0, Pick::kExactId, kRtVersion, true, &names) ||
            !Entry(names, Pick::kIdOrFirst, kVsVersionInfoId, true, &languages) ||
            !Entry(languages, Pick::kFirst, 0, false, &dataEntry)) {
            return false;
        }
        uint64_t entryAt = 0;
        uint32_t dataRva = 0;
        if (!ResourceOffset(dataEntry, 16, &entryAt) || !bytes_.U32(entryAt, &dataRva) ||
            !bytes_.U32(entryAt + 4, size)) {
            return false;
        }
        return FileOffset(dataRva, *size, offset);
    }

    const Bytes& bytes() const { return bytes_; }

private:
    // The file offset of `size` bytes at an offset into the resource
    // directory, which must hold them.
    bool ResourceOffset(uint32_t into, uint64_t size, uint64_t* offset) const {
        if (into > resourceSize_ || size > resourceSize_ - into) return false;
        return FileOffset(uint64_t{resourceRva_} + into, size, offset);
    }

    // Which entry of a directory to follow: the type must be RT_VERSION
    // itself; for the name the version block's identifier 1 is preferred,
    // and otherwise, as for the language, the first entry will do.
    enum class Pick { kExactId, kIdOrFirst, kFirst };

    // The entry chosen in the directory at `directory` (an offset into the
    // resource directory). It must lead to a subdirectory exactly when
    // `toSubdirectory`; the walk has three fixed levels, so a directory
    // pointing back at itself cannot make it loop.
    bool Entry(uint32_t directory, Pick pick, uint16_t id, bool toSubdirectory, uint32_t* target) const {
        uint64_t header = 0;
        uint16_t namedCount = 0, idCount = 0;
        if (!ResourceOffset(directory, 16, &header) || !bytes_.U16(header + 12, &namedCount) ||
            !bytes_.U16(header + 14, &idCount)) {
            return false;
        }
        const uint32_t count = uint32_t{namedCount} + idCount;
        uint64_t entries = 0;
        if (count == 0 || !ResourceOffset(directory + 16, uint64_t{count} * 8, &entries)) return false;
        std::optional<uint32_t> chosen;
        if (pick != Pick::kFirst) {
            for (uint32_t i = 0; i < count && !chosen; ++i) {
                uint32_t name = 0;
                bytes_.U32(entries + uint64_t{i} * 8, &name);
                if ((name & kNamedEntryFlag) == 0 && name == id) chosen = i;
            }
        }
        if (!chosen) {
            if (pick == Pick::kExactId) return false;
            chosen = 0;
        }
        uint32_t pointer = 0;
        bytes_.U32(entries + uint64_t{*chosen} * 8 + 4, &pointer);
        if (((pointer & kSubdirectoryFlag) != 0) != toSubdirectory) return false;
        *target = pointer & ~kSubdirectoryFlag;
        return true;
    }

    Bytes bytes_;
    uint32_t resourceRva_ = 0;
    uint32_t resourceSize_ = 0;
    std::vector<Section> sections_;
};

// The VS_VERSIONINFO block: wLength, wValueLength, wType, the key
// "VS_VERSION_INFO" in UTF-16 with its terminator, padding to a 32-bit
// boundary, then the fixed file information.
std::optional<PeFileVersion> ReadFixedFileInfo(const Bytes& bytes, uint64_t block, uint32_t size) {
    static constexpr char kKey[] = "VS_VERSION_INFO";
    constexpr uint64_t kKeyAt = 6;
    constexpr uint64_t kValueAt = (kKeyAt + sizeof kKey * 2 + 3) & ~uint64_t{3};
    uint16_t length = 0, valueLength = 0;
    if (!bytes.U16(block, &length) || !bytes.U16(block + 2, &valueLength)) return std::nullopt;
    const uint64_t limit = length < size ? length : size;
    if (valueLength < kFixedFileInfoSize || kValueAt + kFixedFileInfoSize > limit) return std::nullopt;
    for (size_t i = 0; i < sizeof kKey; ++i) {
        uint16_t unit = 0;
        if (!bytes.U16(block + kKeyAt + 2 * i, &unit) || unit != static_cast<unsigned char>(kKey[i])) {
            return std::nullopt;
        }
    }
    const uint64_t fixed = block + kValueAt;
    uint32_t signature = 0;
    PeFileVersion version;
    if (!bytes.U32(fixed, &signature) || signature != kFixedFileInfoSignature ||
        !bytes.U32(fixed + 8, &version.mostSignificant) || !bytes.U32(fixed + 12, &version.leastSignificant)) {
        return std::nullopt;
    }
    return version;
}

}  // namespace

std::string PeFileVersion::Text() const { return VersionText(mostSignificant, leastSignificant); }

std::optional<PeFileVersion> ReadPeFileVersion(std::string_view image) {
    PeImage pe(image);
    uint64_t offset = 0;
    uint32_t size = 0;
    if (!pe.ReadHeaders() || !pe.FindVersionResource(&offset, &size)) return std::nullopt;
    return ReadFixedFileInfo(pe.bytes(), offset, size);
}
