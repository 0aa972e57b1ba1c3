// A thread that runs one body (Run) and signals a manual-reset event when it
// has finished. Start creates the thread, Wait joins it; the object can then
// be started again.
#pragma once

#include <windows.h>

#include <mutex>

#include "KernelHandles.h"

class WorkerThread {
public:
    WorkerThread();
    virtual ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // True when a thread runs (also when one was already held).
    bool Start();
    // Waits for the finished event, then for the thread itself, and closes it.
    void Wait();

protected:
    virtual void Run() = 0;

private:
    static unsigned __stdcall ThreadBody(void* self);

    unsigned threadId_ = 0;
    // Handed over under the lock: two threads may wait for the same run.
    std::mutex threadLock_;
    KernelHandle thread_;
    KernelHandle finished_;
};
