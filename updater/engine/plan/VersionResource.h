// The version resource of an installed or downloaded executable or library.
#pragma once

#include "manifest/UpdateItem.h"

// The root block (sub-block "\\") of the file's version resource. False when
// the file has no version resource or it cannot be read.
bool ReadVersionBlock(const char* path, VersionBlock* block);
