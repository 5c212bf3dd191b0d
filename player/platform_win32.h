// Win32-only declarations of the platform seam's implementation.
#pragma once
#include <windows.h>

// Module whose resources the program reads; null means the program itself.
extern HMODULE g_resourceModule;

// g_resourceModule, or the program itself when none is set.
HMODULE resourceModule();
