// The three services the portable code needs from the platform: resource bytes, a message box and a
// solid brush. The Win32 player implements them with the real API; native tests and the command-line
// tool supply their own stand-ins. Nothing else crosses this line, and no Windows header is included.
#pragma once
#include <cstdint>

// An HBRUSH in the Win32 build, held opaquely here.
typedef void* BrushHandle;

// A resource of the running program. "Not found" (found == false) is distinct from a resource that
// exists with size 0. The bytes stay valid for the life of the process and are never written.
struct ResourceData {
    bool found;
    const unsigned char* bytes;
    int32_t size;
};

ResourceData platformResource(const char* type, int id);

// Modal message box without an owner window and with an OK button only.
void platformMessageBox(const char* text, const char* caption);

// Solid brush of a COLORREF colour (0x00BBGGRR); null when the platform cannot make one.
BrushHandle platformSolidBrush(uint32_t colour);
