// Replaces a file without ever leaving a half-written one at its place: the
// source is copied to "<target>.installing" beside the target, its bytes are
// flushed to the disk, and only then is the complete copy moved over the
// target in one write-through step. A copy left by a killed run is replaced
// by the next attempt, so there is never more than one per target.
#pragma once

bool ReplaceFileWithCopy(const char* source, const char* target);

// Removes the temporary copy a killed run may have left beside the target.
void RemoveLeftoverCopy(const char* target);
