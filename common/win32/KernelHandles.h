// Owners of the handles that kernel32 hands out. The kinds differ in the
// value that means "no handle": CreateFile and FindFirstFile return
// INVALID_HANDLE_VALUE on failure, the other creators (events, threads,
// processes, mutexes) return null.
#pragma once

#include <windows.h>

#include "UniqueResource.h"

// A file opened with CreateFile.
struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle Empty() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) { CloseHandle(handle); }
};
using FileHandle = UniqueResource<FileHandleTraits>;

// An event, thread, process or mutex.
struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Empty() { return nullptr; }
    static void Close(Handle handle) { CloseHandle(handle); }
};
using KernelHandle = UniqueResource<KernelHandleTraits>;

// A directory search started with FindFirstFile.
struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle Empty() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) { FindClose(handle); }
};
using FindHandle = UniqueResource<FindHandleTraits>;

// The process and thread handles that CreateProcess fills in, each closed
// with the object.
struct ProcessHandles {
    ProcessHandles() = default;
    explicit ProcessHandles(const PROCESS_INFORMATION& started)
        : process(started.hProcess), thread(started.hThread), processId(started.dwProcessId) {}

    KernelHandle process;
    KernelHandle thread;
    DWORD processId = 0;
};
