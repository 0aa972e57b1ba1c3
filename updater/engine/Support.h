// Support routines shared by the engine and the shell: file and folder
// helpers, version resources, local date and time, process start. The
// platform-free ones (MD5, GB2312 to UTF-8, extension, Stopwatch) come with it.
#pragma once

#include "run/Clock.h"
#include "Md5.h"
#include "transfer/TextConversion.h"
#include "TextRules.h"
#include "manifest/UpdateItem.h"

#include <windows.h>

#include <string>

// Full path of the running executable cut at its last '\\' or '/'. False when
// the path did not fit the 260-byte buffer.
bool GetProgramFolder(char folder[MAX_PATH]);

// True when the system finds a directory entry matching the path (so a path
// with wildcards is true when anything matches); false for a null path.
bool FileExists(const char* path);

// Removes the file; the outcome is not reported.
bool DeleteFileQuietly(const char* path);

// For every '/' or '\\' in the path, creates the folder before it, shortest
// first; failures (already there) are ignored. Text after the last separator
// is not created, so pass folders with a trailing separator.
void CreateDirectoriesAnySeparator(const char* path);
// Creates every level of a backslash path, the last one included; returns the
// result of the last creation.
bool CreateDirectoriesBackslash(const char* path);

// The root block of the file's version resource. False when the file has no
// version resource or it cannot be read.
bool ReadVersionBlock(const char* path, VersionBlock* block);
bool ReadVersionBlock(const char* path, VS_FIXEDFILEINFO* block);
std::string FileVersionText(const VS_FIXEDFILEINFO& block);

// Local date as YYYYMMDD and local time as HHMMSS.
int Today();
int Now();

// Carries out the verb "open" on the file with the parameters, shown
// normally; the started process's handle (the caller closes it), or null.
HANDLE RunProgram(HWND owner, const char* file, const char* parameters);
