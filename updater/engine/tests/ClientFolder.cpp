#include "ClientFolder.h"

#include <windows.h>

#include "ProgramFolder.h"

std::string TestLibrary(const std::string& fileName) { return ProgramFolder() + "\\" + fileName; }

void SetModifiedDate(const std::string& path, int year, int month, int day) {
    SYSTEMTIME noon = {};
    noon.wYear = static_cast<WORD>(year);
    noon.wMonth = static_cast<WORD>(month);
    noon.wDay = static_cast<WORD>(day);
    noon.wHour = 12;
    FILETIME local, universal;
    SystemTimeToFileTime(&noon, &local);
    LocalFileTimeToFileTime(&local, &universal);
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(file, nullptr, nullptr, &universal);
    CloseHandle(file);
}

std::string ManifestText(const std::vector<ManifestEntry>& entries, bool gb2312) {
    std::string text = gb2312 ? "<?xml version=\"1.0\" encoding=\"gb2312\"?>\r\n" : "<?xml version=\"1.0\"?>\r\n";
    text += "<Update>\r\n  <Product Version=\"2.0.0.0\">\r\n";
    for (const ManifestEntry& entry : entries) {
        text += "    <File>\r\n";
        for (const auto& field : entry) {
            text += "      <" + field.first + ">" + field.second + "</" + field.first + ">\r\n";
        }
        text += "    </File>\r\n";
    }
    text += "  </Product>\r\n</Update>\r\n";
    return text;
}

ClientFolder::ClientFolder() {
    program_ = scratch_.File("Client");
    CreateDirectoryA(program_.c_str(), nullptr);
    update_ = program_ + "\\Update\\";
    CreateDirectoryA(update_.c_str(), nullptr);
}

void ClientFolder::WriteManifest(const std::vector<ManifestEntry>& entries) const {
    WriteWholeFile(InUpdate("Update.xml"), ManifestText(entries));
}
