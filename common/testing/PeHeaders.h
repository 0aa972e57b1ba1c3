// The facts of a Windows image file that its loader and its caller rely on,
// read from the file's headers: machine, PE32 or PE32+, library or program,
// subsystem. Windows only (the constants come from the platform's headers).
#pragma once

#include <windows.h>

#include <cstddef>
#include <fstream>
#include <optional>
#include <string>

struct PeHeaders {
    WORD machine;          // IMAGE_FILE_MACHINE_I386 or _AMD64
    WORD optionalMagic;    // IMAGE_NT_OPTIONAL_HDR32_MAGIC (PE32) or _HDR64_ (PE32+)
    WORD characteristics;  // IMAGE_FILE_DLL for a library
    WORD subsystem;        // IMAGE_SUBSYSTEM_WINDOWS_GUI or _CUI
};

// The headers of the file at path, or nothing when it is no PE image.
inline std::optional<PeHeaders> ReadPeHeaders(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    IMAGE_DOS_HEADER dos {};
    if (!file.read(reinterpret_cast<char*>(&dos), sizeof dos) || dos.e_magic != IMAGE_DOS_SIGNATURE) {
        return std::nullopt;
    }
    // Signature, file header, and the optional header's fields up to the
    // subsystem, which both forms keep at the same offset.
    struct {
        DWORD signature;
        IMAGE_FILE_HEADER file;
        BYTE optional[offsetof(IMAGE_OPTIONAL_HEADER32, Subsystem) + sizeof(WORD)];
    } nt {};
    static_assert(offsetof(IMAGE_OPTIONAL_HEADER32, Subsystem) == offsetof(IMAGE_OPTIONAL_HEADER64, Subsystem),
                  "both optional header forms keep the subsystem in one place");
    if (!file.seekg(dos.e_lfanew) || !file.read(reinterpret_cast<char*>(&nt), sizeof nt) ||
        nt.signature != IMAGE_NT_SIGNATURE) {
        return std::nullopt;
    }
    PeHeaders headers {};
    headers.machine = nt.file.Machine;
    headers.characteristics = nt.file.Characteristics;
    headers.optionalMagic = static_cast<WORD>(nt.optional[0] | nt.optional[1] << 8);
    const std::size_t at = offsetof(IMAGE_OPTIONAL_HEADER32, Subsystem);
    headers.subsystem = static_cast<WORD>(nt.optional[at] | nt.optional[at + 1] << 8);
    return headers;
}

// What this tree builds: PE32 images for i386, PE32+ for x86-64.
#if defined(__i386__)
constexpr WORD kTreeMachine = IMAGE_FILE_MACHINE_I386;
constexpr WORD kTreeOptionalMagic = IMAGE_NT_OPTIONAL_HDR32_MAGIC;
#else
constexpr WORD kTreeMachine = IMAGE_FILE_MACHINE_AMD64;
constexpr WORD kTreeOptionalMagic = IMAGE_NT_OPTIONAL_HDR64_MAGIC;
#endif
