#include "run/WorkerThread.h"

#include <process.h>

WorkerThread::WorkerThread() : finished_(CreateEventA(nullptr, TRUE, TRUE, nullptr)) {}

WorkerThread::~WorkerThread() {
    if (finished_ != nullptr) CloseHandle(finished_);
}

bool WorkerThread::Start() {
    if (thread_ != nullptr) return true;
    ResetEvent(finished_);
    // _beginthreadex, so the runtime library is ready for the thread's use.
    uintptr_t handle = _beginthreadex(nullptr, 0, &WorkerThread::ThreadBody, this, 0, &threadId_);
    if (handle == 0) {
        SetEvent(finished_);
        return false;
    }
    thread_ = reinterpret_cast<HANDLE>(handle);
    return true;
}

void WorkerThread::Wait() {
    WaitForSingleObject(finished_, INFINITE);
    HANDLE thread = InterlockedExchangePointer(&thread_, nullptr);
    if (thread != nullptr) {
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
    }
}

unsigned __stdcall WorkerThread::ThreadBody(void* self) {
    WorkerThread* worker = static_cast<WorkerThread*>(self);
    worker->Run();
    SetEvent(worker->finished_);
    return 0;
}
