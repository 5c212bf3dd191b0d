// Silent stand-ins for the platform seam in the fuzz targets; the target chooses the resource bytes.
#pragma once
#include <cstdint>

// Handed out as PATCH 104, 105 and 106 while non-null (size may be 0); all are absent when null.
extern const unsigned char* g_fuzzResourceBytes;
extern int32_t g_fuzzResourceSize;
