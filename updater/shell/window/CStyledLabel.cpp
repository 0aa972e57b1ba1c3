#include "window/CStyledLabel.h"

#include <cstring>
#include <vector>

#include "GdiHandles.h"

void CStyledLabel::Attach(HWND control) {
    SetWindowLongA(control, GWL_STYLE, GetWindowLongA(control, GWL_STYLE) | SS_NOTIFY);
    HookWnd(control);
}

void CStyledLabel::SetFontStyle(UINT nFlags) {
    if (nFlags & LABEL_BOLD) m_bBold = 1;
    if (nFlags & LABEL_ITALIC) m_bItalic = 1;
    if (nFlags & LABEL_UNDERLINE) m_bUnderline = 1;
    if (nFlags & LABEL_STRIKEOUT) m_bStrikeOut = 1;
    if (nFlags & LABEL_ANTIALIAS) m_bAntialias = 1;
    m_bCenter = (nFlags & LABEL_CENTER) ? 1 : 0;
    m_bRight = (!m_bCenter && (nFlags & LABEL_RIGHT)) ? 1 : 0;
    m_bLeft = (!m_bCenter && !m_bRight) ? 1 : 0;
}

LOGFONTA CStyledLabel::FontStyle() const {
    LOGFONTA font{};
    font.lfHeight = m_nFontHeight;
    font.lfWeight = m_bBold ? 900 : 400;
    font.lfItalic = m_bItalic;
    font.lfUnderline = m_bUnderline;
    font.lfStrikeOut = m_bStrikeOut;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_STRING_PRECIS;
    font.lfClipPrecision = CLIP_CHARACTER_PRECIS;
    font.lfQuality = m_bAntialias ? ANTIALIASED_QUALITY : DEFAULT_QUALITY;
    font.lfPitchAndFamily = 0;
    strncpy(font.lfFaceName, m_strFace.c_str(), LF_FACESIZE - 1);
    return font;
}

UINT CStyledLabel::DrawFormat() const {
    UINT alignment = m_bCenter ? DT_CENTER : (m_bRight ? DT_RIGHT : DT_LEFT);
    return DT_WORDBREAK | DT_NOPREFIX | alignment;
}

LRESULT CStyledLabel::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) {
        Paint();
        return 0;
    }
    return CSubclassWnd::WindowProc(msg, wParam, lParam);
}

void CStyledLabel::Paint() {
    HWND hwnd = hookedWindow();
    PaintScope paint(hwnd);

    int length = GetWindowTextLengthA(hwnd);
    std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(hwnd, text.data(), length + 1);
    RECT client;
    GetClientRect(hwnd, &client);

    GdiObject<HBRUSH> back(CreateSolidBrush(m_bCustomBack ? m_crBack : GetSysColor(COLOR_BTNFACE)));
    FillRect(paint.Dc(), &client, back.Get());
    SetTextColor(paint.Dc(), m_crText);
    SetBkMode(paint.Dc(), TRANSPARENT);

    LOGFONTA style = FontStyle();
    GdiObject<HFONT> font(CreateFontIndirectA(&style));
    if (!font.Get()) {
        MessageBoxA(hwnd, "Font could not be created!", nullptr, MB_OK);
        return;
    }
    Selection selected(paint.Dc(), font.Get());
    DrawTextA(paint.Dc(), text.data(), -1, &client, DrawFormat());
}
