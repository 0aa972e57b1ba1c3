// Starts Koravel.exe from the client folder with one mode word, its trace
// output going to koravel-out.txt in that folder.
#pragma once

#include <string>

bool StartUpdater(const std::string& clientFolder, const std::string& modeWord);
