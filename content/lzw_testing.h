// What the codec offers its tests and fuzzers only (content/lzw.h is the codec itself).
#pragma once

// Makes the codec's next output allocation fail, to exercise the out-of-memory path.
void lzwFailNextAllocationForTesting();
