// Owners of the GDI handles that painting and capturing use, so each is
// released on every path. Shared by the alert popup, the updater's window
// and the demonstration programs.
#pragma once

#include <windows.h>

#include "UniqueResource.h"

// A pen, brush, font or bitmap, deleted with DeleteObject.
template <typename ObjectHandle>
struct GdiObjectTraits {
    using Handle = ObjectHandle;
    static Handle Empty() { return nullptr; }
    static void Close(Handle object) { DeleteObject(object); }
};
template <typename Handle>
using GdiObject = UniqueResource<GdiObjectTraits<Handle>>;

// An icon loaded for one paint, destroyed with DestroyIcon.
struct IconHandleTraits {
    using Handle = HICON;
    static Handle Empty() { return nullptr; }
    static void Close(Handle icon) { DestroyIcon(icon); }
};
using IconHandle = UniqueResource<IconHandleTraits>;

// The device context of a window (or of the screen, for a null window).
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// A memory device context compatible with another.
class MemoryDc {
public:
    explicit MemoryDc(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDc() {
        if (dc_) DeleteDC(dc_);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

// Selects an object into a device context and puts the previous one back.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~Selection() {
        if (previous_) SelectObject(dc_, previous_);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// BeginPaint and EndPaint around one WM_PAINT.
class PaintScope {
public:
    explicit PaintScope(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
    ~PaintScope() { EndPaint(window_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC Dc() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_;
    HDC dc_;
};
