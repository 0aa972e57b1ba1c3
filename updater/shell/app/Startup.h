// Koravel from start to end: lock, platform, folders, resources, run mode,
// then the silent download or the update window.
#pragma once

// commandLine: the text after the program name, leading blanks removed.
int RunUpdater(const char* commandLine);
