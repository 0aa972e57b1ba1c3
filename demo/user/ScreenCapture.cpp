#include "ScreenCapture.h"

#include <cstdio>
#include <vector>

#include "GdiHandles.h"
#include "StdioFile.h"

RECT WholeScreen() { return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

RECT AroundWindow(HWND window) {
    RECT area{};
    GetWindowRect(window, &area);
    RECT screen = WholeScreen();
    IntersectRect(&area, &area, &screen);
    return area;
}

bool SaveScreenRect(const RECT& area, const std::string& bmpPath) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return false;

    WindowDc screen(nullptr);
    MemoryDc memory(screen.Get());
    GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen.Get(), width, height));
    if (!screen.Get() || !memory.Get() || !bitmap.Get()) return false;
    BOOL copied;
    {
        Selection selected(memory.Get(), bitmap.Get());
        copied = BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), area.left, area.top, SRCCOPY | CAPTUREBLT);
    }
    if (!copied) return false;

    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = -height;  // rows top-down
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const int stride = (width * 3 + 3) & ~3;
    std::vector<unsigned char> pixels(static_cast<size_t>(stride) * height);
    if (!GetDIBits(memory.Get(), bitmap.Get(), 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&header),
                   DIB_RGB_COLORS))
        return false;

    BITMAPFILEHEADER fileHeader{};
    fileHeader.bfType = 0x4D42;  // "BM"
    fileHeader.bfOffBits = sizeof fileHeader + sizeof header;
    fileHeader.bfSize = fileHeader.bfOffBits + static_cast<DWORD>(pixels.size());
    StdioFile file(std::fopen(bmpPath.c_str(), "wb"));
    if (!file) return false;
    return std::fwrite(&fileHeader, sizeof fileHeader, 1, file.Get()) == 1 &&
           std::fwrite(&header, sizeof header, 1, file.Get()) == 1 &&
           std::fwrite(pixels.data(), 1, pixels.size(), file.Get()) == pixels.size();
}
