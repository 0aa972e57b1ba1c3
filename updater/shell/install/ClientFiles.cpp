#include "install/ClientFiles.h"

#include "install/SettingsFile.h"

#include <windows.h>

std::string StockIniPath(const char* programFolder) { return std::string(programFolder) + "\\Stock.ini"; }

std::string StockIniWritePath(const char* programFolder) { return std::string(programFolder) + "\\stock.ini"; }

std::string StockExePath(const char* programFolder) { return std::string(programFolder) + "\\Stock.exe"; }

std::string StateFilePath(const char* updateFolder) { return std::string(updateFolder) + "QMUpdateFileList.txt"; }

std::string ReleaseNotesPath(const char* updateFolder) { return std::string(updateFolder) + "WhatNews.txt"; }

void WritePendingUpdateFlag(const char* programFolder, bool pending) {
    WriteSettingWhole(StockIniWritePath(programFolder), "System", "Update", pending ? "TRUE" : "FALSE");
}

bool ReadPendingUpdateFlag(const char* programFolder) {
    char value[16] = {};
    GetPrivateProfileStringA("System", "Update", "", value, sizeof value, StockIniPath(programFolder).c_str());
    return lstrcmpiA(value, "TRUE") == 0;
}
