// TDVN.dll built with a ceiling on single allocations (1 MiB, from the
// environment), loaded as the client loads it: a reference file with an
// alert too large for memory shows nothing and returns 1; the exception
// stays inside the library, and the next file is shown as usual.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "PopupHost.h"

namespace {

std::string ReferXml(const std::string& message) {
    return "<?xml version=\"1.0\" encoding=\"gb2312\"?>\r\n"
           "<xml xmlns:rs=\"urn:rowset\" xmlns:z=\"#RowsetSchema\"><rs:data>\r\n"
           "<z:row c0=\"1\" c1=\"2009-06-08T09:30:00.000\" c2=\"" + message + "\" c3=\"1\"/>\r\n"
           "</rs:data></xml>\r\n";
}

bool Hidden(HWND popup) {
    RECT rect = WindowRect(popup);
    return rect.right == rect.left || rect.bottom == rect.top;
}

TEST(AllocationCeilingTest, AnAlertTooLargeForMemoryShowsNothingAndReturnsOne) {
    DeleteReferFile();
    NotifyWindow client;
    TdvnLibrary library;
    ASSERT_TRUE(library.Loaded());
    ASSERT_EQ(1, library.Init(client.Handle()));
    HWND popup = FindPopupWindow(library.Module());
    ASSERT_NE(nullptr, popup);

    // The message's text alone is 2 MiB: its copy cannot be made.
    ASSERT_TRUE(WriteReferFile(ReferXml(std::string(2 * 1024 * 1024, 'x'))));
    int result = 0;
    EXPECT_NO_THROW(result = library.PopupMsgWnd());
    EXPECT_EQ(1, result);
    EXPECT_TRUE(Hidden(popup));

    ASSERT_TRUE(WriteReferFile(ReferXml("short")));
    EXPECT_EQ(1, library.PopupMsgWnd());
    EXPECT_FALSE(Hidden(popup));
    DeleteReferFile();
}

}  // namespace
