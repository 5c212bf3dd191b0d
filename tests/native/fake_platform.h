// Recording stand-ins for the platform seam, for the native tests.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct FakeMessage {
    std::string text;
    std::string caption;
};

// Resets everything below.
void fakePlatformReset();
// Makes resource (type, id) exist with these bytes (possibly none).
void fakeSetResource(const std::string& type, int id, const std::vector<unsigned char>& bytes);
// Every message box shown since the last reset, in order.
const std::vector<FakeMessage>& fakeMessages();
// The colour of every brush requested since the last reset, in order.
const std::vector<uint32_t>& fakeBrushColours();
