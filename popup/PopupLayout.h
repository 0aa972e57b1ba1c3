// Geometry of the alert window: its areas for a given size, where the texts
// and diamonds go, and where the window stands on the work area.
#pragma once

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    // Left and top edges inside, right and bottom outside, as the system counts.
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const Rect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

constexpr int kPopupWidth = 259;
constexpr int kPopupFullHeight = 145;
constexpr int kImportanceIconSize = 16;

struct PopupAreas {
    Rect caption;  // title strip, drags the window
    Rect close;    // close button
    Rect body;     // message area, clicks here are reported
};

// Areas for a client size cx by cy (both greater than zero).
PopupAreas PopupAreasForSize(int cx, int cy);

Rect TimeLineRect(const Rect& body, int textHeight);
Rect MessageRect(const Rect& body, const Rect& timeLine);
Rect ImportanceLabelRect(const Rect& body, int labelWidth, int labelHeight);
// Top-left corner of the index-th importance diamond (from 0).
void ImportanceIconOrigin(const Rect& label, int index, int* x, int* y);

struct Placement {
    int x = 0, y = 0, width = 0, height = 0;
};

// The window at the bottom-right corner of the work area, `height` pixels high,
// its lower edge on the work area's bottom edge.
Placement CornerPlacement(const Rect& workArea, int height);
