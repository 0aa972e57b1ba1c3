// The alert library driven the way the client drives it: loaded by name, its
// exports called through cdecl pointers, data\refer.xml beside the program.
// Timers are delivered one WM_TIMER at a time and the pointer by its
// messages, so each step of the cycle is checked without waiting for it;
// one test lets the real timers run a whole cycle.
#include <windows.h>
#include <commctrl.h>

#include <initializer_list>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "GdiHandles.h"
#include "PopupHost.h"

namespace {

const UINT_PTR kTimerNext = 10, kTimerSlide = 11, kTimerHold = 12;
const UINT kNextMs = 1000, kSlideMs = 20, kHoldMs = 5000;
const int kWidth = 259, kFullHeight = 145;
const COLORREF kDiamond = RGB(32, 96, 224);  // face colour of the importance icon

// GB2312 bytes.
const std::string kTooltipGb = "\xB5\xE3\xBB\xF7\xB2\xE9\xBF\xB4\xCF\xEA\xC7\xE9";  // 点击查看详情
const std::string kMessageGb = "\xB9\xC9\xBC\xDB\xCD\xBB\xC6\xC6";                  // 股价突破

struct Row {
    std::string c0, c1, c2, c3, c4;
};

std::string RowElement(const Row& row) {
    std::string element = "<z:row";
    const std::string* values[] = {&row.c0, &row.c1, &row.c2, &row.c3, &row.c4};
    for (int i = 0; i < 5; ++i) {
        if (values[i]->empty()) continue;  // an empty value stands for a missing attribute
        element += " c" + std::to_string(i) + "=\"" + *values[i] + "\"";
    }
    return element + "/>";
}

// A reference file in the persisted record-set form.
std::string ReferXml(const std::vector<Row>& rows, const char* dataName = "rs:data",
                     const char* encoding = "gb2312", const std::string& between = "") {
    std::string xml = std::string("<?xml version=\"1.0\" encoding=\"") + encoding + "\"?>\r\n" +
                      "<xml xmlns:s=\"uuid:schema\" xmlns:rs=\"urn:rowset\" xmlns:RS=\"urn:rowset\" "
                      "xmlns:z=\"#RowsetSchema\">\r\n"
                      "<s:Schema id=\"RowsetSchema\"><s:ElementType name=\"row\"/></s:Schema>\r\n<" +
                      dataName + ">\r\n";
    for (const Row& row : rows) xml += between + RowElement(row) + "\r\n";
    return xml + "</" + dataName + ">\r\n</xml>\r\n";
}

Row Alert(int id, int level = 1) {
    return Row{std::to_string(id), "2009-06-08T09:30:00.000", "alert " + std::to_string(id),
               std::to_string(level), "extra"};
}

class PopupWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteReferFile();
        ASSERT_TRUE(library_.Loaded());
        ASSERT_EQ(1, library_.Init(client_.Handle()));
        popup_ = FindPopupWindow(library_.Module());
        ASSERT_NE(nullptr, popup_);
    }
    void TearDown() override { DeleteReferFile(); }

    void Show(const std::string& xml) {
        ASSERT_TRUE(WriteReferFile(xml));
        EXPECT_EQ(1, library_.PopupMsgWnd());
    }
    void Tick(UINT_PTR timer) { SendMessageA(popup_, WM_TIMER, timer, 0); }
    void MouseMove(int x, int y) { SendMessageA(popup_, WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }
    void MouseLeave() { SendMessageA(popup_, WM_MOUSELEAVE, 0, 0); }
    void ButtonUp(int x, int y) { SendMessageA(popup_, WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }
    bool Running(UINT_PTR timer) {
        UINT interval = timer == kTimerNext ? kNextMs : timer == kTimerSlide ? kSlideMs : kHoldMs;
        return TimerRunning(popup_, timer, interval);
    }

    // The window stands at the work area's bottom-right corner, `height` high.
    ::testing::AssertionResult AtCorner(int height) {
        RECT area = WorkArea(), rect = WindowRect(popup_);
        RECT expected = {area.right - kWidth, area.bottom - height, area.right, area.bottom};
        if (EqualRect(&rect, &expected)) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << "window at (" << rect.left << "," << rect.top << ")-(" << rect.right << "," << rect.bottom
               << "), expected (" << expected.left << "," << expected.top << ")-(" << expected.right << ","
               << expected.bottom << ")";
    }
    bool Hidden() {
        RECT rect = WindowRect(popup_);
        return rect.right == rect.left || rect.bottom == rect.top;
    }
    // Clicks the message area and answers the identifier it reported.
    int ClickMessage() {
        client_.ClearClicks();
        ButtonUp(100, 100);
        return client_.Clicks().size() == 1 ? static_cast<int>(client_.Clicks()[0].id) : -1;
    }
    // Left edges of the runs of diamond-coloured pixels along the icons' middle row.
    std::vector<int> DiamondRuns() {
        std::vector<int> starts;
        bool inside = false;
        for (int x = 0; x < kWidth; ++x) {
            bool diamond = ClientPixel(popup_, x, 126) == kDiamond;
            if (diamond && !inside) starts.push_back(x);
            inside = diamond;
        }
        return starts;
    }

    NotifyWindow client_;
    TdvnLibrary library_;  // unloaded before the client window goes
    HWND popup_ = nullptr;
};

TEST_F(PopupWindowTest, InitLeavesAVisibleZeroSizedToolWindowWithItsHint) {
    EXPECT_TRUE(IsWindowVisible(popup_));
    EXPECT_TRUE(Hidden());
    LONG style = GetWindowLongA(popup_, GWL_STYLE), exStyle = GetWindowLongA(popup_, GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & (WS_CAPTION | WS_BORDER | WS_THICKFRAME));
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(exStyle & WS_EX_APPWINDOW);

    HWND tip = FindTooltipOf(popup_);
    ASSERT_NE(nullptr, tip);
    char text[80] = {};
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = popup_;
    tool.uId = 1;
    tool.lpszText = text;
    SendMessageA(tip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(kTooltipGb, text);

    // Nothing on file: the window stays as it is.
    EXPECT_EQ(1, library_.PopupMsgWnd());
    EXPECT_TRUE(Hidden());
}

TEST_F(PopupWindowTest, RowsFollowEachOtherInFileOrderThroughHoldSinkAndGap) {
    Show(ReferXml({Alert(1), Alert(2), Alert(3)}));
    EXPECT_TRUE(AtCorner(kFullHeight));
    EXPECT_EQ(1, ClickMessage());
    Tick(kTimerNext);

    // The second alert, untouched, goes through the whole cycle.
    EXPECT_TRUE(AtCorner(kFullHeight));
    EXPECT_TRUE(Running(kTimerHold));
    EXPECT_FALSE(Running(kTimerSlide));
    Tick(kTimerHold);
    EXPECT_FALSE(Running(kTimerHold));
    EXPECT_TRUE(Running(kTimerSlide));
    for (int step = 1; step <= kFullHeight; ++step) {
        Tick(kTimerSlide);
        ASSERT_TRUE(AtCorner(kFullHeight - step)) << "step " << step;
    }
    EXPECT_TRUE(Hidden());
    EXPECT_TRUE(Running(kTimerSlide));  // the step after the last starts the gap
    EXPECT_FALSE(Running(kTimerNext));
    Tick(kTimerSlide);
    EXPECT_FALSE(Running(kTimerSlide));
    EXPECT_TRUE(Running(kTimerNext));
    EXPECT_TRUE(Hidden());
    Tick(kTimerNext);
    EXPECT_FALSE(Running(kTimerNext));
    EXPECT_TRUE(AtCorner(kFullHeight));
    EXPECT_EQ(3, ClickMessage());

    // The queue is empty now: the gap ends with nothing on screen.
    Tick(kTimerNext);
    EXPECT_TRUE(Hidden());
    EXPECT_FALSE(Running(kTimerNext));
    EXPECT_FALSE(Running(kTimerSlide));
}

TEST_F(PopupWindowTest, ASecondCallReplacesTheRowsNotYetShown) {
    Show(ReferXml({Alert(1), Alert(2), Alert(3)}));
    Show(ReferXml({Alert(21), Alert(22)}));
    EXPECT_TRUE(AtCorner(kFullHeight));
    EXPECT_EQ(21, ClickMessage());
    Tick(kTimerNext);
    EXPECT_EQ(22, ClickMessage());
    Tick(kTimerNext);
    EXPECT_TRUE(Hidden());
}

TEST_F(PopupWindowTest, ThePointerHoldsTheAlertAndLeavingStartsAFreshHold) {
    Show(ReferXml({Alert(1), Alert(2)}));
    MouseMove(100, 100);
    EXPECT_FALSE(Running(kTimerHold));
    MouseMove(120, 90);
    EXPECT_FALSE(Running(kTimerHold));
    EXPECT_TRUE(AtCorner(kFullHeight));
    MouseLeave();
    EXPECT_TRUE(Running(kTimerHold));

    // Once sinking, the pointer neither stops it nor, leaving, restarts the hold.
    Tick(kTimerHold);
    Tick(kTimerSlide);
    MouseMove(100, 100);
    EXPECT_TRUE(Running(kTimerSlide));
    MouseLeave();
    EXPECT_FALSE(Running(kTimerHold));

    // A window dragged away goes back to the corner with the next step.
    SetWindowPos(popup_, nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Tick(kTimerSlide);
    EXPECT_TRUE(AtCorner(kFullHeight - 2));
}

TEST_F(PopupWindowTest, ButtonReleaseDismissesAndReportsOnlyInTheMessageArea) {
    const struct {
        int x, y;
        bool reported;
    } cases[] = {
        {100, 100, true}, {0, 30, true}, {258, 144, true},  // message area, its corners
        {230, 5, false},                                    // close button
        {255, 25, false},                                   // strip right of the close button
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "release at " << c.x << "," << c.y);
        Show(ReferXml({Row{"77", "t", kMessageGb, "1", ""}}));
        client_.ClearClicks();
        ButtonUp(c.x, c.y);
        if (c.reported) {
            ASSERT_EQ(1u, client_.Clicks().size());
            EXPECT_EQ(77u, client_.Clicks()[0].id);
            EXPECT_EQ(kMessageGb, client_.Clicks()[0].text);
        } else {
            EXPECT_TRUE(client_.Clicks().empty());
        }
        EXPECT_TRUE(Hidden());
        EXPECT_TRUE(Running(kTimerNext));
        EXPECT_FALSE(Running(kTimerSlide));
    }
}

TEST_F(PopupWindowTest, AnotherInitKeepsTheWindowAndOnlyChangesWhereClicksGo) {
    ASSERT_EQ(1, library_.Init(nullptr));
    EXPECT_EQ(popup_, FindPopupWindow(library_.Module()));
    Show(ReferXml({Alert(1)}));
    client_.ClearClicks();
    ButtonUp(100, 100);  // no client window: nothing is sent, the alert still goes
    EXPECT_TRUE(client_.Clicks().empty());
    EXPECT_TRUE(Hidden());

    ASSERT_EQ(1, library_.Init(client_.Handle()));
    Show(ReferXml({Alert(2)}));
    EXPECT_EQ(2, ClickMessage());
}

TEST_F(PopupWindowTest, HitTestDragsByTheTitleStripAndShowsTheHandElsewhere) {
    Show(ReferXml({Alert(1)}));
    RECT window = WindowRect(popup_);
    const struct {
        int x, y;
        LRESULT code;
    } cases[] = {
        {0, 0, HTCAPTION},   {218, 29, HTCAPTION}, {100, 30, HTCLIENT},
        {258, 144, HTCLIENT}, {230, 5, HTCLIENT},   {-5, 50, HTNOWHERE},
    };
    for (const auto& c : cases) {
        LPARAM screen = MAKELPARAM(window.left + c.x, window.top + c.y);
        EXPECT_EQ(c.code, SendMessageA(popup_, WM_NCHITTEST, 0, screen)) << c.x << "," << c.y;
    }

    HCURSOR hand = LoadCursorA(library_.Module(), MAKEINTRESOURCEA(1002));
    ASSERT_NE(nullptr, hand);
    EXPECT_TRUE(SendMessageA(popup_, WM_SETCURSOR, reinterpret_cast<WPARAM>(popup_),
                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(hand, GetCursor());
    SendMessageA(popup_, WM_SETCURSOR, reinterpret_cast<WPARAM>(popup_), MAKELPARAM(HTCAPTION, WM_MOUSEMOVE));
    EXPECT_NE(hand, GetCursor());

    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(hand, &info));
    const GdiObject<HBITMAP> mask(info.hbmMask);
    const GdiObject<HBITMAP> color(info.hbmColor);
    EXPECT_EQ(5u, info.xHotspot);
    EXPECT_EQ(0u, info.yHotspot);
}

TEST_F(PopupWindowTest, ImportanceDiamondsFollowTheLevel) {
    const struct {
        const char* level;
        size_t diamonds;  // 0 with `fillsRow` means as many as reach the edge
        bool fillsRow;
    } cases[] = {{"3", 3, false}, {"1", 1, false}, {"-2", 0, false}, {"", 0, false}, {"70000", 0, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "level \"" << c.level << "\"");
        Show(ReferXml({Row{"1", "t", "m", c.level, ""}}));
        std::vector<int> runs = DiamondRuns();
        if (!c.fillsRow) {
            ASSERT_EQ(c.diamonds, runs.size());
        } else {
            ASSERT_GE(runs.size(), 8u);
            EXPECT_GT(runs.back(), kWidth - 16 - 16);  // icons go on to the window's edge
        }
        for (size_t i = 1; i < runs.size(); ++i) EXPECT_EQ(16, runs[i] - runs[i - 1]);
        if (!runs.empty()) {
            EXPECT_GT(runs[0], 30 + 3);  // after the label
        }
    }
}

TEST_F(PopupWindowTest, CloseButtonLightsUpUnderThePointerOnly) {
    Show(ReferXml({Alert(1)}));
    auto closeLit = [&] {
        COLORREF c = ClientPixel(popup_, 223, 4);
        return GetRValue(c) > 180 && GetGValue(c) < 150;
    };
    EXPECT_FALSE(closeLit());
    MouseMove(230, 5);
    EXPECT_TRUE(closeLit());
    MouseMove(100, 100);
    EXPECT_FALSE(closeLit());
    MouseMove(240, 10);
    EXPECT_TRUE(closeLit());
    MouseLeave();
    EXPECT_FALSE(closeLit());
}

TEST_F(PopupWindowTest, RowsReadFromALegacyEncodedFileWithMissingAndLongAttributes) {
    const std::string longText(200, 'x');
    Show(ReferXml({Row{"", "2009-06-08", kMessageGb, "", ""}, Row{"5", "", longText, "2", ""}}, "rs:data",
                  "gb2312", "<!-- between rows -->"));
    client_.ClearClicks();
    ButtonUp(100, 100);
    ASSERT_EQ(1u, client_.Clicks().size());
    EXPECT_EQ(0u, client_.Clicks()[0].id);
    EXPECT_EQ(kMessageGb, client_.Clicks()[0].text);
    Tick(kTimerNext);
    client_.ClearClicks();
    ButtonUp(100, 100);
    ASSERT_EQ(1u, client_.Clicks().size());
    EXPECT_EQ(5u, client_.Clicks()[0].id);
    EXPECT_EQ(std::string(127, 'x'), client_.Clicks()[0].text);
    Tick(kTimerNext);
    EXPECT_TRUE(Hidden());  // the comment made no row
}

TEST_F(PopupWindowTest, AnUnreadableFileChangesNothing) {
    const struct {
        const char* what;
        std::string bytes;  // empty: no file at all
    } cases[] = {
        {"not well-formed", "<?xml version=\"1.0\" encoding=\"gb2312\"?><xml><rs:data><z:row c0=\"9\"></xml>"},
        {"missing", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Show(ReferXml({Alert(1), Alert(2)}));
        if (c.bytes.empty()) {
            DeleteReferFile();
        } else {
            ASSERT_TRUE(WriteReferFile(c.bytes));
        }
        EXPECT_EQ(1, library_.PopupMsgWnd());
        EXPECT_TRUE(AtCorner(kFullHeight));
        EXPECT_EQ(1, ClickMessage());
        Tick(kTimerNext);
        EXPECT_EQ(2, ClickMessage());
    }
}

TEST_F(PopupWindowTest, DataElementIsFoundOnlyByItsExactName) {
    const char* names[] = {"RS:DATA", "rs:Data", "data"};
    for (const char* name : names) {
        SCOPED_TRACE(name);
        Show(ReferXml({Alert(1), Alert(2)}));
        Show(ReferXml({Alert(8)}, name, "utf-8"));
        // The queue is emptied; the alert on screen stays as it was.
        EXPECT_TRUE(AtCorner(kFullHeight));
        EXPECT_EQ(1, ClickMessage());
        Tick(kTimerNext);
        EXPECT_TRUE(Hidden());
    }
}

TEST_F(PopupWindowTest, RealTimersRunOneWholeCycle) {
    Show(ReferXml({Alert(1), Alert(2)}));
    ASSERT_TRUE(AtCorner(kFullHeight));
    DWORD shown = GetTickCount();
    ASSERT_TRUE(PumpUntil(8000, [&] { return !AtCorner(kFullHeight); }));
    DWORD sinking = GetTickCount();
    ASSERT_TRUE(PumpUntil(15000, [&] { return Hidden(); }));
    DWORD gone = GetTickCount();
    ASSERT_TRUE(PumpUntil(5000, [&] { return AtCorner(kFullHeight); }));
    DWORD next = GetTickCount();

    EXPECT_GE(sinking - shown, 4900u);  // five seconds at full size
    EXPECT_GE(gone - sinking, 2500u);   // 145 steps of 20 ms
    EXPECT_GE(next - gone, 900u);       // one second of gap
    EXPECT_EQ(2, ClickMessage());
}

}  // namespace
