#include "MouseInput.h"

namespace {

void PressAndRelease() {
    INPUT inputs[2] = {};
    inputs[0].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].type = INPUT_MOUSE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
}

}  // namespace

void ClickAt(POINT point) {
    SetCursorPos(point.x, point.y);
    Sleep(150);
    PressAndRelease();
}

void DoubleClickAt(POINT point) {
    SetCursorPos(point.x, point.y);
    Sleep(150);
    PressAndRelease();
    Sleep(60);
    PressAndRelease();
}

POINT CentreOf(HWND window) {
    RECT area{};
    GetWindowRect(window, &area);
    return POINT{(area.left + area.right) / 2, (area.top + area.bottom) / 2};
}
