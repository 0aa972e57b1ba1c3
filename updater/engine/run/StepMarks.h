// Named steps of an update run: the moments after which a file on disk has
// changed (a copy written, a file moved into place, a source deleted, the
// state file or Stock.ini rewritten). The shipped program marks them and
// nothing follows; a test build of the program sets an observer that can end
// the process hard right after any one of them, so that a test can show
// that every step survives a kill.
#pragma once

using StepObserver = void (*)(const char* step);

// Set once, before any step is marked (a test build sets it while the
// program starts); null: steps are not observed.
void SetStepObserver(StepObserver observer);

// Tells the observer, if any, that `step` has just been completed.
void MarkStep(const char* step);
