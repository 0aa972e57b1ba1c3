// What the planner reads about an installed file.
#pragma once

#include "plan/PlanDecision.h"
#include "manifest/UpdateItem.h"

// True when the file can be opened for reading (shared read, existing only).
bool CanOpenForReading(const char* path);

// Fills Length, FileName, the version block and version texts and the item
// date (last modification, local time, YYYYMMDD) of the record's install
// path. Succeeds when the version resource was read or the status obtained.
bool ReadLocalInfo(UpdateItem* record);

// The installed file at the item's install path, as the plan decision sees it.
InstalledFile InspectInstalledFile(const UpdateItem& item);
