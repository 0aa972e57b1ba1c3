// The reference file data\refer.xml beside the client's executable, read into
// the queue of alerts.
#pragma once

#include <string>

#include "ReferQueue.h"

// "<folder of the process's executable>\data\refer.xml"; empty when the
// system cannot tell that folder.
std::string ReferFilePath();

// Reads the rows of the file's first "rs:data" element into the queue.
// False, with the queue untouched, when the document model is unavailable,
// the file is missing or not well-formed, or it has no root element; else the
// queue holds the file's rows (none without "rs:data"), the first
// CReferQueue::kCapacity of them when there are more. Throws only when memory
// runs out, and then leaves the queue as it was.
bool ReadReferFile(const char* path, CReferQueue* queue);
