#include "MouseInput.h"

namespace {

// Every event carries its own absolute position, so that a press lands where
// the pointer was moved even when the pointer's move has not been seen yet.
INPUT MouseEventAt(POINT point, DWORD flags) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(point.x, 65535, width > 1 ? width - 1 : 1);
    input.mi.dy = MulDiv(point.y, 65535, height > 1 ? height - 1 : 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return input;
}

void MoveTo(POINT point) {
    INPUT move = MouseEventAt(point, 0);
    SendInput(1, &move, sizeof(INPUT));
    Sleep(150);
}

void PressAndRelease(POINT point) {
    INPUT inputs[2] = {MouseEventAt(point, MOUSEEVENTF_LEFTDOWN), MouseEventAt(point, MOUSEEVENTF_LEFTUP)};
    SendInput(2, inputs, sizeof(INPUT));
}

}  // namespace

void ClickAt(POINT point) {
    MoveTo(point);
    PressAndRelease(point);
}

void DoubleClickAt(POINT point) {
    MoveTo(point);
    PressAndRelease(point);
    Sleep(60);
    PressAndRelease(point);
}

POINT CentreOf(HWND window) {
    RECT area{};
    GetWindowRect(window, &area);
    return POINT{(area.left + area.right) / 2, (area.top + area.bottom) / 2};
}
