#include "ClientFolder.h"

#include <windows.h>

#include "FolderCreation.h"
#include "KernelHandles.h"
#include "ProgramFolder.h"

#include <gtest/gtest.h>

#include <thread>

std::string TestLibrary(const std::string& fileName) { return JoinPath(ProgramFolder().value(), fileName); }

void SetModifiedDate(const std::string& path, int year, int month, int day) {
    SYSTEMTIME noon = {};
    noon.wYear = static_cast<WORD>(year);
    noon.wMonth = static_cast<WORD>(month);
    noon.wDay = static_cast<WORD>(day);
    noon.wHour = 12;
    FILETIME local, universal;
    SystemTimeToFileTime(&noon, &local);
    LocalFileTimeToFileTime(&local, &universal);
    FileHandle file(
        CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    SetFileTime(file.Get(), nullptr, nullptr, &universal);
}

std::string ManifestText(const std::vector<ManifestEntry>& entries) { return ManifestText("2.0.0.0", entries); }

std::vector<std::string> BlockStatuses(const std::string& stateFile) {
    std::vector<std::string> statuses;
    std::string text = ReadWholeFile(stateFile);
    std::string name;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        std::string line = text.substr(start, end - start);
        if (line.rfind("FILENAME ", 0) == 0) name = line.substr(9);
        if (line.rfind("DOWNLOADSTATUS ", 0) == 0) statuses.push_back(name + "=" + line.substr(15));
        start = end == std::string::npos ? text.size() : end + 2;
    }
    return statuses;
}

std::vector<std::string> LogTexts(const std::string& path) {
    std::vector<std::string> texts;
    const std::string text = ReadWholeFile(path);
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "unterminated line in " << path;
        if (end == std::string::npos) break;
        const std::string line = text.substr(start, end - start);
        bool stamped = line.size() > 20 && line[4] == '-' && line[7] == '-' && line[10] == ' ' && line[13] == ':' &&
                       line[16] == ':' && line[19] == ' ';
        for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9, 11, 12, 14, 15, 17, 18}) {
            stamped = stamped && i < line.size() && line[i] >= '0' && line[i] <= '9';
        }
        EXPECT_TRUE(stamped) << line;
        texts.push_back(stamped ? line.substr(20) : line);
        start = end + 2;
    }
    return texts;
}

int FindLog(const std::vector<std::string>& texts, const std::string& prefix, int from) {
    for (size_t i = static_cast<size_t>(from); i < texts.size(); ++i) {
        if (texts[i].rfind(prefix, 0) == 0) return static_cast<int>(i);
    }
    return -1;
}

bool LogHolds(const std::vector<std::string>& texts, const std::string& part) {
    for (const std::string& text : texts) {
        if (text.find(part) != std::string::npos) return true;
    }
    return false;
}

ClientFolder::ClientFolder() {
    program_ = scratch_.File("Client");
    update_ = program_ + "\\Update\\";
    CreateFolders(update_);
}

void ClientFolder::WriteManifest(const std::vector<ManifestEntry>& entries) const {
    WriteWholeFile(InUpdate("Update.xml"), ManifestText(entries));
}

void RunEngineIn(const ClientFolder& client, UpdateEngine& engine, const EngineSteps& steps, HWND window,
                 DWORD timeoutMs) {
    std::thread shell([&] {
        engine.SetServer(client.InProgram("Stock.ini").c_str());
        engine.SetUpdateFolder(client.Update().c_str());
        engine.SetProgramFolder(client.Program().c_str());
        engine.SetNotifyWindow(window);
        engine.SetTransferTimeouts(timeoutMs, timeoutMs);
        ASSERT_TRUE(engine.Start(steps));
        engine.Wait();
    });
    shell.join();
}
