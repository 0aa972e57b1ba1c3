#include "flows/Worker.h"

#include <thread>

#include "LoadedModule.h"
#include "app/ResourceSource.h"

void StartWorker(std::function<void()> body) {
    // Taken here, before start-up can free the library at the window's end.
    LoadedModule resources(ReferenceResourceModule());
    std::thread([body = std::move(body), resources = std::move(resources)] { body(); }).detach();
}
