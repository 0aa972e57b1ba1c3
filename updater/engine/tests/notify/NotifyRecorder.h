// A hidden window on a thread of its own that records every WM_UPDATE_NOTIFY,
// as the dialog would receive them, noting whether each was sent or posted.
// The heap texts of codes 3 and 4 are copied and freed, as the receiver must.
#pragma once

#include <windows.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "KernelHandles.h"

class NotifyRecorder {
public:
    struct Notice {
        int code;
        LPARAM value;  // 0 for the text codes
        std::string text;
        bool sent;
    };

    NotifyRecorder();
    ~NotifyRecorder();
    NotifyRecorder(const NotifyRecorder&) = delete;
    NotifyRecorder& operator=(const NotifyRecorder&) = delete;

    HWND Window() const { return window_; }
    // Every notice so far, after all messages posted before the call were handled.
    std::vector<Notice> Notices();

private:
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Pump();

    HWND window_ = nullptr;
    KernelHandle ready_;
    KernelHandle settled_;
    std::mutex lock_;
    std::vector<Notice> notices_;
    std::thread thread_;
};
