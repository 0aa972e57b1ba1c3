// The About item of the system menu comes from string IDS_ABOUTBOX of the
// resource source, and is left out when that string is empty.
#include <gtest/gtest.h>

#include <string>

#include "window/AboutDialog.h"
#include "LoadedModule.h"
#include "ResourceIds.h"
#include "app/ResourceSource.h"
#include "TestSupport.h"

namespace {

class AboutItemTest : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = CreateWindowA("STATIC", "about owner", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, 0, 200, 100,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window_, nullptr);
        ASSERT_NE(GetSystemMenu(window_, FALSE), nullptr);
        itemsBefore_ = GetMenuItemCount(GetSystemMenu(window_, FALSE));
    }
    void TearDown() override {
        SetResourceModule(GetModuleHandleA(nullptr));
        if (window_) DestroyWindow(window_);
    }

    HMENU SystemMenu() const { return GetSystemMenu(window_, FALSE); }

    HWND window_ = nullptr;
    int itemsBefore_ = 0;
};

std::string ItemText(HMENU menu, UINT command) {
    char text[128] = {};
    GetMenuStringA(menu, command, text, sizeof text, MF_BYCOMMAND);
    return text;
}

}  // namespace

TEST_F(AboutItemTest, SeparatorAndItemFollowTheSystemCommands) {
    SetResourceModule(GetModuleHandleA(nullptr));  // the program's own resources
    AddAboutItem(window_);

    HMENU menu = SystemMenu();
    ASSERT_EQ(GetMenuItemCount(menu), itemsBefore_ + 2);
    EXPECT_EQ(GetMenuState(menu, itemsBefore_, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
    EXPECT_EQ(GetMenuItemID(menu, itemsBefore_ + 1), static_cast<UINT>(IDM_ABOUTBOX));
    EXPECT_EQ(ItemText(menu, IDM_ABOUTBOX), Gb(u8"关于 自动更新(&A)..."));
}

TEST_F(AboutItemTest, EmptyStringInTheResourceLibraryLeavesTheMenuAsItWas) {
    LoadedModule library(LoadLibraryA(HostPathToWindows(KORAVEL_TEST_NO_ABOUT_LIBRARY).c_str()));
    ASSERT_TRUE(library.IsValid());
    SetResourceModule(library.Get());
    ASSERT_EQ(LoadResourceString(IDS_START_FROM_CLIENT), "No-About library: start from the client");

    AddAboutItem(window_);

    EXPECT_EQ(GetMenuItemCount(SystemMenu()), itemsBefore_);
    EXPECT_EQ(GetMenuState(SystemMenu(), IDM_ABOUTBOX, MF_BYCOMMAND), static_cast<UINT>(-1));
    SetResourceModule(GetModuleHandleA(nullptr));
}
