#include "NotifyRecorder.h"

#include "run/Notify.h"

namespace {

const char kClassName[] = "KoravelNotifyRecorder";
const UINT kSettle = WM_APP + 1;

}  // namespace

NotifyRecorder::NotifyRecorder()
    : ready_(CreateEventA(nullptr, TRUE, FALSE, nullptr)), settled_(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {
    thread_ = std::thread([this] { Pump(); });
    WaitForSingleObject(ready_.Get(), INFINITE);
}

NotifyRecorder::~NotifyRecorder() {
    PostMessageA(window_, WM_CLOSE, 0, 0);
    thread_.join();
}

std::vector<NotifyRecorder::Notice> NotifyRecorder::Notices() {
    // Posted messages are handled in order: once the marker is, so are they.
    PostMessageA(window_, kSettle, 0, 0);
    WaitForSingleObject(settled_.Get(), 10000);
    std::lock_guard<std::mutex> guard(lock_);
    return notices_;
}

void NotifyRecorder::Pump() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = &NotifyRecorder::WindowProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);  // already registered by an earlier recorder is fine
    window_ = CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr), this);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetEvent(ready_.Get());
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
}

LRESULT CALLBACK NotifyRecorder::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    NotifyRecorder* self = reinterpret_cast<NotifyRecorder*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_UPDATE_NOTIFY && self != nullptr) {
        Notice notice{static_cast<int>(wParam), lParam, std::string(), InSendMessage() != FALSE};
        if (wParam == NOTIFY_TEXT || wParam == NOTIFY_SERVER) {
            char* text = reinterpret_cast<char*>(lParam);
            notice.text = text;
            notice.value = 0;
            delete[] text;
        }
        std::lock_guard<std::mutex> guard(self->lock_);
        self->notices_.push_back(notice);
        return 0;
    }
    if (message == kSettle && self != nullptr) {
        SetEvent(self->settled_.Get());
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
