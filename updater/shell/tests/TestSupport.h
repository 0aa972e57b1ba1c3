// Helpers of the shell's Windows tests: texts in the client's code page,
// copies, and waiting for something another thread or process
// does. Scratch folders, folders and whole files come from the shared helpers.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

#include "FolderCreation.h"
#include "GbText.h"
#include "TestFiles.h"

// The Update key of [System] in the client folder's Stock.ini; "(none)" when
// it is not there.
std::string UpdateFlagIn(const std::string& clientFolder);
void CopyInto(const std::string& source, const std::string& target);

// A build output given by its host path, as a Windows path.
std::string HostPathToWindows(const char* hostPath);

// Polls until the condition holds or the time is up; returns the last result.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit = std::chrono::seconds(20));

// Dispatches the calling thread's messages for a while.
void PumpMessagesFor(std::chrono::milliseconds duration);
