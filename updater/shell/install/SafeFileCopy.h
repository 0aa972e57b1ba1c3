// Replaces a file without ever leaving a half-written one at its place: the
// source is copied to a temporary name in the target's folder, and only a
// complete copy is moved over the target in one step.
#pragma once

bool ReplaceFileWithCopy(const char* source, const char* target);
