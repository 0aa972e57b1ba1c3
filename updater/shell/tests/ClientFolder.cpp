#include "ClientFolder.h"

#include <windows.h>

ClientFolder::ClientFolder() {
    CopyInto(HostPathToWindows(KORAVEL_EXE), folder_.File("Koravel.exe"));
    CopyInto(HostPathToWindows(KORAVEL_TEST_CLIENT), folder_.File("Stock.exe"));
    CreateFolders(folder_.File("Update"));
}

void ClientFolder::AddResourceLibrary() const {
    CopyInto(HostPathToWindows(KORAVEL_TEST_RESOURCES), folder_.File("KoravelRC.dll"));
}

void ClientFolder::StageDownloads(const std::vector<StateEntry>& entries) const {
    std::string state = "VERSION 0.0.0.1\r\n\r\nUPDATED FALSE\r\nUPDATECOUNT " + std::to_string(entries.size()) +
                        "\r\nDOWNLOAD 20260101/120000\r\n\r\n";
    for (const StateEntry& entry : entries) {
        WriteWholeFile(update(entry.fileName), "new " + entry.fileName);
        state += "BEGIN\r\nSRCFILE " + update(entry.fileName) + "\r\nDESTFILE " + folder_.File(entry.fileName) +
                 "\r\nFILENAME " + entry.fileName + "\r\nSUBPATH \r\nFILESIZE 10\r\nURL http://127.0.0.1/" +
                 entry.fileName + "\r\nREGISTER FALSE\r\nFILETYPE NORMAL\r\nISZIP FALSE\r\nDOWNLOADSTATUS " +
                 (entry.downloaded ? "TRUE" : "FALSE") + "\r\nEND\r\n\r\n";
    }
    WriteWholeFile(update("QMUpdateFileList.txt"), state);
}

std::string ClientFolder::UpdateFlag() const { return UpdateFlagIn(folder_.Path()); }
