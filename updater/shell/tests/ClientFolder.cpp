#include "ClientFolder.h"

#include <windows.h>

ClientFolder::ClientFolder() {
    CopyInto(HostPathToWindows(KORAVEL_EXE), folder_ / "Koravel.exe");
    CopyInto(HostPathToWindows(KORAVEL_TEST_CLIENT), folder_ / "Stock.exe");
    MakeFolder(folder_ / "Update");
}

void ClientFolder::AddResourceLibrary() const {
    CopyInto(HostPathToWindows(KORAVEL_TEST_RESOURCES), folder_ / "KoravelRC.dll");
}

void ClientFolder::StageDownloads(const std::vector<StateEntry>& entries) const {
    std::string state = "VERSION 0.0.0.1\r\n\r\nUPDATED FALSE\r\nUPDATECOUNT " + std::to_string(entries.size()) +
                        "\r\nDOWNLOAD 20260101/120000\r\n\r\n";
    for (const StateEntry& entry : entries) {
        WriteFile(update(entry.fileName), "new " + entry.fileName);
        state += "BEGIN\r\nSRCFILE " + update(entry.fileName) + "\r\nDESTFILE " + (folder_ / entry.fileName) +
                 "\r\nFILENAME " + entry.fileName + "\r\nSUBPATH \r\nFILESIZE 10\r\nURL http://127.0.0.1/" +
                 entry.fileName + "\r\nREGISTER FALSE\r\nFILETYPE NORMAL\r\nISZIP FALSE\r\nDOWNLOADSTATUS " +
                 (entry.downloaded ? "TRUE" : "FALSE") + "\r\nEND\r\n\r\n";
    }
    WriteFile(update("QMUpdateFileList.txt"), state);
}

std::string ClientFolder::UpdateFlag() const {
    char value[16] = {};
    GetPrivateProfileStringA("System", "Update", "(none)", value, sizeof value, (folder_ / "Stock.ini").c_str());
    return value;
}
