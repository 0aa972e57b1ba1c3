// Asks the client's windows to close before files are replaced: "Quorvane",
// the information centre ("TfrmMain" titled with "资讯中心"), the quote
// terminal, and the title of string 103. Returns only when no window with
// one of the exact titles remains; a window that refuses is asked again.
#pragma once

void CloseClientWindows();
