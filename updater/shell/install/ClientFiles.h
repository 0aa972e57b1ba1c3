// Paths of the client's files in the program folder and the update folder.
#pragma once

#include <string>

std::string StockIniPath(const char* programFolder);          // read by the engine
std::string StockIniWritePath(const char* programFolder);     // written by the shell
std::string StockExePath(const char* programFolder);
std::string StateFilePath(const char* updateFolder);
std::string ReleaseNotesPath(const char* updateFolder);

// Sets [System] Update to "TRUE" or "FALSE", rewriting Stock.ini whole; a
// failed write goes unnoticed (the file then stays as it was).
void WritePendingUpdateFlag(const char* programFolder, bool pending);
// Whether [System] Update says "TRUE" (in any letter case).
bool ReadPendingUpdateFlag(const char* programFolder);
