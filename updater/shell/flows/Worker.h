// Runs a shell action on a thread of its own; the thread is not kept and
// never waited for (the process may end while it runs).
#pragma once

#include <functional>

void StartWorker(std::function<void()> body);
