// The Win32 side of the platform seam: resources of a module, message boxes and brushes.
#include <windows.h>

#include "player/platform_win32.h"

#include "content/platform.h"

// The module whose resources are read: the program itself unless a test points it at a
// resource-only DLL built from a test quiz.
HMODULE g_resourceModule = nullptr;

HMODULE resourceModule() { return g_resourceModule != nullptr ? g_resourceModule : GetModuleHandleA(nullptr); }

ResourceData platformResource(const char* type, int id) {
    HMODULE module = resourceModule();
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
    if (found == nullptr) return {false, nullptr, 0};
    DWORD size = SizeofResource(module, found);
    HGLOBAL loaded = size > 0 ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) return {true, nullptr, 0};
    return {true, static_cast<const unsigned char*>(bytes), static_cast<int32_t>(size)};
}

void platformMessageBox(const char* text, const char* caption) { MessageBoxA(nullptr, text, caption, MB_OK); }

BrushHandle platformSolidBrush(uint32_t colour) { return CreateSolidBrush(static_cast<COLORREF>(colour)); }
