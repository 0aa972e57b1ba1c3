#include "PopupLayout.h"

PopupAreas PopupAreasForSize(int cx, int cy) {
    PopupAreas areas;
    areas.caption = Rect{0, 0, cx - 40, 30};
    areas.close = Rect{cx - 39, 0, cx - 6, 19};
    areas.body = Rect{0, 30, cx, cy};
    return areas;
}

Rect TimeLineRect(const Rect& body, int textHeight) {
    const int top = body.top + 8;
    return Rect{30, top, body.right - 30, top + textHeight};
}

Rect MessageRect(const Rect& body, const Rect& timeLine) {
    return Rect{30, timeLine.bottom + 8, body.right - 30, body.bottom - 35};
}

Rect ImportanceLabelRect(const Rect& body, int labelWidth, int labelHeight) {
    const int top = body.bottom - 25;
    return Rect{30, top, 30 + labelWidth, top + labelHeight};
}

void ImportanceIconOrigin(const Rect& label, int index, int* x, int* y) {
    *x = label.right + kImportanceIconSize * index;
    *y = label.top - 2;
}

Placement CornerPlacement(const Rect& workArea, int height) {
    Placement placement;
    placement.x = workArea.right - kPopupWidth;
    placement.y = workArea.bottom - height;
    placement.width = kPopupWidth;
    placement.height = height;
    return placement;
}
