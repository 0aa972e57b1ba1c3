#include "run/WorkerThread.h"

#include <process.h>

WorkerThread::WorkerThread() : finished_(CreateEventA(nullptr, TRUE, TRUE, nullptr)) {}

WorkerThread::~WorkerThread() = default;

bool WorkerThread::Start() {
    std::lock_guard<std::mutex> guard(threadLock_);
    if (thread_) return true;
    ResetEvent(finished_.Get());
    // _beginthreadex, so the runtime library is ready for the thread's use.
    uintptr_t handle = _beginthreadex(nullptr, 0, &WorkerThread::ThreadBody, this, 0, &threadId_);
    if (handle == 0) {
        SetEvent(finished_.Get());
        return false;
    }
    thread_.Reset(reinterpret_cast<HANDLE>(handle));
    return true;
}

void WorkerThread::Wait() {
    WaitForSingleObject(finished_.Get(), INFINITE);
    KernelHandle thread;
    {
        std::lock_guard<std::mutex> guard(threadLock_);
        thread = std::move(thread_);
    }
    if (thread) WaitForSingleObject(thread.Get(), INFINITE);
}

unsigned __stdcall WorkerThread::ThreadBody(void* self) {
    WorkerThread* worker = static_cast<WorkerThread*>(self);
    worker->Run();
    SetEvent(worker->finished_.Get());
    return 0;
}
