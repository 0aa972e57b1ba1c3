// A static text control that paints its own text in a chosen font style.
// It takes over an existing dialog control through a hook.
#pragma once

#include <windows.h>

#include <string>

#include "window/CSubclassWnd.h"

// Flags of SetFontStyle.
enum : UINT {
    LABEL_BOLD = 0x01,
    LABEL_ITALIC = 0x02,
    LABEL_UNDERLINE = 0x04,
    LABEL_STRIKEOUT = 0x08,
    LABEL_ANTIALIAS = 0x10,
    LABEL_CENTER = 0x20,
    LABEL_RIGHT = 0x80,
};

class CStyledLabel : public CSubclassWnd {
public:
    // Binds the label to a dialog control and lets it report clicks.
    void Attach(HWND control);

    // Style bits only ever set; the alignment is replaced each time.
    void SetFontStyle(UINT nFlags);

    // The font style that painting creates its font from, and its text layout.
    LOGFONTA FontStyle() const;
    UINT DrawFormat() const;

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint();

    BYTE m_bBold = 0;
    BYTE m_bItalic = 0;
    BYTE m_bUnderline = 0;
    BYTE m_bStrikeOut = 0;
    BYTE m_bAntialias = 0;
    BYTE m_bCustomBack = 0;
    BYTE m_bCenter = 0;
    BYTE m_bLeft = 1;
    BYTE m_bRight = 0;
    std::string m_strFace = "MS Sans Serif";
    COLORREF m_crText = 0;
    COLORREF m_crBack = 0;
    LONG m_nFontHeight = 8;
};
