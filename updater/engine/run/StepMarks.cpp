#include "run/StepMarks.h"

#include <atomic>

namespace {

// The one observer of the process; set before any thread marks a step.
std::atomic<StepObserver> observer{nullptr};

}  // namespace

void SetStepObserver(StepObserver newObserver) { observer.store(newObserver); }

void MarkStep(const char* step) {
    if (StepObserver current = observer.load()) current(step);
}
