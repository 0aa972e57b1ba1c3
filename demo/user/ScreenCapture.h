// Saves a rectangle of the screen as a 24-bit BMP file.
#pragma once

#include <windows.h>

#include <string>

bool SaveScreenRect(const RECT& area, const std::string& bmpPath);
RECT WholeScreen();
// The window's rectangle, the part of it on the screen.
RECT AroundWindow(HWND window);
