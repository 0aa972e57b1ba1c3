// Reads Update.xml into the item list: one UpdateItem per item element of
// Product, fields by name, paths derived from the list's folders.
#pragma once

#include "manifest/UpdateItemList.h"

// Clears the list and reads the manifest. True when the document loaded and
// Product has at least one child node (even if no item came of it).
bool ReadManifest(UpdateItemList* list, const char* path);
