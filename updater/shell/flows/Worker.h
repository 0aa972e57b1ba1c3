// Runs a shell action on a thread of its own; the thread is not kept and
// never waited for (the process may end while it runs). So what a worker
// uses must outlive it: the dialog object it holds, the application object
// (which has nothing to destroy), and the resource library, which the worker
// keeps loaded while it runs.
#pragma once

#include <functional>

void StartWorker(std::function<void()> body);
