#include "flows/Worker.h"

#include <thread>

void StartWorker(std::function<void()> body) { std::thread(std::move(body)).detach(); }
