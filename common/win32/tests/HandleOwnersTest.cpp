// Each Win32 handle kind's owner against the real system: the value a failed
// creation returns is an empty owner, an owner closes its handle when it goes,
// and a moved-from owner leaves the handle open for its new owner. Each kind
// tells how to open a handle and how to see from outside whether it is still
// open.
#include <windows.h>
#include <wininet.h>

#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "GdiHandles.h"
#include "InternetHandle.h"
#include "KernelHandles.h"
#include "LoadedModule.h"
#include "TestFiles.h"

namespace {

// A file opened without sharing: while it is open, no one else can open it.
struct FileKind {
    using Owner = FileHandle;
    ScratchFolder folder;
    std::string path = folder.File("held.bin");

    HANDLE Open() const {
        return CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    HANDLE OpenFailing() const {
        return CreateFileA(folder.File("missing\\file.bin").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    bool IsOpen(HANDLE) const {
        FileHandle other(Open());
        return !other.IsValid() && GetLastError() == ERROR_SHARING_VIOLATION;
    }
};

// An event: the handle table knows whether it is still open.
struct EventKind {
    using Owner = KernelHandle;
    HANDLE Open() const { return CreateEventA(nullptr, TRUE, FALSE, nullptr); }
    HANDLE OpenFailing() const { return OpenEventA(SYNCHRONIZE, FALSE, "qv-handle-owner-test-no-such-event"); }
    bool IsOpen(HANDLE event) const {
        DWORD flags = 0;
        return GetHandleInformation(event, &flags) != FALSE;
    }
};

// A library that a test program does not load otherwise: it stays mapped
// until its last FreeLibrary.
struct ModuleKind {
    using Owner = LoadedModule;
    static constexpr const char* kName = "msimg32.dll";
    HMODULE Open() const { return LoadLibraryA(kName); }
    HMODULE OpenFailing() const { return LoadLibraryA("qv-no-such-library.dll"); }
    bool IsOpen(HMODULE) const { return GetModuleHandleA(kName) != nullptr; }
};

// A WinINet session: options can be asked of an open handle only.
struct InternetKind {
    using Owner = InternetHandle;
    HINTERNET Open() const { return InternetOpenA("handle owner test", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0); }
    HINTERNET OpenFailing() const {
        return InternetConnectA(nullptr, "localhost", 80, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
    }
    bool IsOpen(HINTERNET session) const {
        DWORD type = 0;
        DWORD size = sizeof type;
        return InternetQueryOptionA(session, INTERNET_OPTION_HANDLE_TYPE, &type, &size) != FALSE;
    }
};

// A brush: GDI knows the type of a live object only.
struct BrushKind {
    using Owner = GdiObject<HBRUSH>;
    HBRUSH Open() const { return CreateSolidBrush(RGB(1, 2, 3)); }
    HBRUSH OpenFailing() const { return CreateDIBPatternBrushPt(nullptr, DIB_RGB_COLORS); }
    bool IsOpen(HBRUSH brush) const { return GetObjectType(brush) != 0; }
};

template <typename Kind>
class HandleOwnerTest : public ::testing::Test {
protected:
    using Owner = typename Kind::Owner;
    Kind kind_;
};

using Kinds = ::testing::Types<FileKind, EventKind, ModuleKind, InternetKind, BrushKind>;
TYPED_TEST_SUITE(HandleOwnerTest, Kinds);

TYPED_TEST(HandleOwnerTest, AFailedCreationGivesAnEmptyOwner) {
    typename TestFixture::Owner failed(this->kind_.OpenFailing());
    EXPECT_FALSE(failed.IsValid());
}

TYPED_TEST(HandleOwnerTest, TheOwnerClosesItsHandleWhenItGoes) {
    auto handle = this->kind_.Open();
    {
        typename TestFixture::Owner owner(handle);
        ASSERT_TRUE(owner.IsValid());
        EXPECT_TRUE(this->kind_.IsOpen(handle));
    }
    EXPECT_FALSE(this->kind_.IsOpen(handle));
}

TYPED_TEST(HandleOwnerTest, AMovedFromOwnerLeavesTheHandleOpen) {
    typename TestFixture::Owner second;
    auto handle = this->kind_.Open();
    {
        typename TestFixture::Owner first(handle);
        ASSERT_TRUE(first.IsValid());
        second = std::move(first);
    }
    EXPECT_TRUE(this->kind_.IsOpen(handle));
    second.Reset();
    EXPECT_FALSE(this->kind_.IsOpen(handle));
}

TEST(FindHandle, AFailedSearchGivesAnEmptyOwnerAndAStartedOneIsValid) {
    ScratchFolder folder;
    WIN32_FIND_DATAA found;
    FindHandle missing(FindFirstFileA(folder.File("missing\\*").c_str(), &found));
    EXPECT_FALSE(missing.IsValid());
    FindHandle search(FindFirstFileA(folder.File("*").c_str(), &found));
    EXPECT_TRUE(search.IsValid());
    EXPECT_TRUE(FindNextFileA(search.Get(), &found));
}

TEST(ProcessHandles, OwnsBothHandlesThatCreateProcessFilledIn) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    char commandLine[] = "cmd.exe /c exit 7";
    ASSERT_TRUE(CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                               &startup, &started));
    HANDLE thread = started.hThread;
    {
        ProcessHandles process(started);
        EXPECT_EQ(process.processId, started.dwProcessId);
        ASSERT_EQ(WaitForSingleObject(process.process.Get(), 30000), WAIT_OBJECT_0);
        DWORD code = 0;
        EXPECT_TRUE(GetExitCodeProcess(process.process.Get(), &code));
        EXPECT_EQ(code, 7u);
    }
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(thread, &flags));
}

}  // namespace
