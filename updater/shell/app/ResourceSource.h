// The module that every dialog, string, menu, icon and bitmap of the updater
// is loaded from: the program itself, or the resource library when one was
// loaded at start-up.
#pragma once

#include <windows.h>

#include <string>

HINSTANCE ResourceModule();
void SetResourceModule(HINSTANCE module);
// A reference of its own to the module resources now come from, which keeps
// it loaded until FreeLibrary releases the reference; null when none could
// be taken.
HMODULE ReferenceResourceModule();

// String resource as GB2312 bytes; empty when the string is absent.
std::string LoadResourceString(UINT id);
// RCDATA resource's bytes; empty when it is absent.
std::string LoadResourceData(UINT id);
