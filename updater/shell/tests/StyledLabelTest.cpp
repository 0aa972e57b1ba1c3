// The styled label: how style flags accumulate, and what it paints.
#include <gtest/gtest.h>

#include <climits>

#include "window/CStyledLabel.h"
#include "GdiHandles.h"
#include "TestSupport.h"

TEST(StyledLabelTest, StyleBitsAccumulateAndAlignmentIsReplaced) {
    const struct {
        std::vector<UINT> calls;
        LONG weight;
        BYTE italic, underline, strikeOut, quality;
        UINT alignment;
    } cases[] = {
        {{}, 400, 0, 0, 0, DEFAULT_QUALITY, DT_LEFT},
        {{0x01}, 900, 0, 0, 0, DEFAULT_QUALITY, DT_LEFT},
        {{0x02 | 0x04 | 0x08}, 400, 1, 1, 1, DEFAULT_QUALITY, DT_LEFT},
        {{0x01 | 0x20}, 900, 0, 0, 0, DEFAULT_QUALITY, DT_CENTER},
        {{0x01 | 0x20, 0x10}, 900, 0, 0, 0, ANTIALIASED_QUALITY, DT_LEFT},
        {{0x80}, 400, 0, 0, 0, DEFAULT_QUALITY, DT_RIGHT},
        {{0x20 | 0x80}, 400, 0, 0, 0, DEFAULT_QUALITY, DT_CENTER},
        {{0x02, 0x80, 0x00}, 400, 1, 0, 0, DEFAULT_QUALITY, DT_LEFT},
    };
    for (const auto& c : cases) {
        CStyledLabel label;
        for (UINT flags : c.calls) label.SetFontStyle(flags);
        LOGFONTA font = label.FontStyle();
        SCOPED_TRACE(c.calls.empty() ? 0u : c.calls.back());
        EXPECT_EQ(font.lfWeight, c.weight);
        EXPECT_EQ(font.lfItalic, c.italic);
        EXPECT_EQ(font.lfUnderline, c.underline);
        EXPECT_EQ(font.lfStrikeOut, c.strikeOut);
        EXPECT_EQ(font.lfQuality, c.quality);
        EXPECT_EQ(label.DrawFormat(), DT_WORDBREAK | DT_NOPREFIX | c.alignment);
        EXPECT_EQ(font.lfHeight, 8);
        EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");
        EXPECT_EQ(font.lfCharSet, DEFAULT_CHARSET);
    }
}

namespace {

struct Ink {
    int dark = 0;
    int left = INT_MAX;
};

// How much dark the control shows on the screen, and where it starts.
Ink MeasureInk(HWND control) {
    RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessagesFor(std::chrono::milliseconds(100));
    Ink ink;
    RECT client;
    GetClientRect(control, &client);
    WindowDc dc(control);
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) {
            COLORREF colour = GetPixel(dc.Get(), x, y);
            int lightness = GetRValue(colour) + GetGValue(colour) + GetBValue(colour);
            // Small text comes out smoothed: grey pixels count by their darkness.
            if (colour != CLR_INVALID && lightness < 3 * 200) {
                ink.dark += 3 * 255 - lightness;
                if (x < ink.left) ink.left = x;
            }
        }
    }
    return ink;
}

}  // namespace

TEST(StyledLabelTest, PaintsBoldCentredTextAndKeepsBoldWhenRealigned) {
    HWND parent = CreateWindowA("STATIC", "", WS_POPUP | WS_VISIBLE, 20, 20, 320, 60, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    HWND plainControl = CreateWindowA("STATIC", "WWW", WS_CHILD | WS_VISIBLE, 0, 0, 300, 20, parent, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
    HWND styledControl = CreateWindowA("STATIC", "WWW", WS_CHILD | WS_VISIBLE, 0, 30, 300, 20, parent, nullptr,
                                       GetModuleHandleA(nullptr), nullptr);
    CStyledLabel plain, styled;
    plain.Attach(plainControl);
    styled.Attach(styledControl);
    EXPECT_TRUE(GetWindowLongA(styledControl, GWL_STYLE) & SS_NOTIFY);

    Ink normal = MeasureInk(plainControl);
    styled.SetFontStyle(0x01 | 0x20);
    Ink boldCentred = MeasureInk(styledControl);
    styled.SetFontStyle(0x10);
    Ink boldLeft = MeasureInk(styledControl);

    ASSERT_GT(normal.dark, 0);
    EXPECT_LT(normal.left, 5);
    EXPECT_GT(boldCentred.left, 100);
    EXPECT_GT(boldCentred.dark, normal.dark);
    EXPECT_LT(boldLeft.left, 5);
    EXPECT_GT(boldLeft.dark, normal.dark);
    DestroyWindow(parent);
}
