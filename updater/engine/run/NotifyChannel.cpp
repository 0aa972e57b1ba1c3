#include "run/NotifyChannel.h"

#include "run/EngineTexts.h"

void NotifyChannel::Send(NotifyCode code, LPARAM value) const {
    if (window_ != nullptr) SendMessageA(window_, WM_UPDATE_NOTIFY, code, value);
}

void NotifyChannel::Post(NotifyCode code, LPARAM value) const {
    if (window_ != nullptr) PostMessageA(window_, WM_UPDATE_NOTIFY, code, value);
}

void NotifyChannel::SendText(NotifyCode code, const std::string& text) const {
    if (window_ == nullptr) return;
    char* copy = NewNotifyText(text);
    // A message that was never delivered is never freed by the receiver.
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutA(window_, WM_UPDATE_NOTIFY, code, reinterpret_cast<LPARAM>(copy), SMTO_NORMAL, INFINITE,
                             &ignored)) {
        delete[] copy;
    }
}

void NotifyChannel::PostText(NotifyCode code, const std::string& text) const {
    if (window_ == nullptr) return;
    char* copy = NewNotifyText(text);
    if (!PostMessageA(window_, WM_UPDATE_NOTIFY, code, reinterpret_cast<LPARAM>(copy))) delete[] copy;
}
