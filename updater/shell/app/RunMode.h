// The run modes chosen by the single word on Koravel's command line.
#pragma once

enum RunMode {
    RUN_MODE_NONE = -1,  // the command line is no mode word
    RUN_MODE_DOWNLOAD = 0,
    RUN_MODE_DOWNLOAD_WITH_GUI = 1,
    RUN_MODE_UPDATE = 2,
    RUN_MODE_DOWNLOAD_AND_UPDATE = 3,
    RUN_MODE_FORCE_DOWNLOAD_AND_UPDATE = 4,
    RUN_MODE_FORCE_UPDATE = 5,
    RUN_MODE_SHOW_NO_UPDATE_INFO = 6,
};

// Compares the whole text with each mode word in order, ignoring letter case;
// anything else (blanks, further words, empty text) gives RUN_MODE_NONE.
RunMode ParseRunMode(const char* commandLine);
