// The pointer and the left button, as a user moves and presses them.
#pragma once

#include <windows.h>

void ClickAt(POINT point);
void DoubleClickAt(POINT point);
// Centre of a window on the screen.
POINT CentreOf(HWND window);
