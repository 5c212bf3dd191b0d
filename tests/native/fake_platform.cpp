// Recording stand-ins for the platform seam.
#include "fake_platform.h"

#include <map>

#include "../../content/platform.h"

namespace {
std::map<std::pair<std::string, int>, std::vector<unsigned char>> resources;
std::vector<FakeMessage> messages;
std::vector<uint32_t> brushColours;
// Distinct non-null handles for the brushes handed out.
std::vector<int> brushTokens(1024);
}  // namespace

void fakePlatformReset() {
    resources.clear();
    messages.clear();
    brushColours.clear();
}

void fakeSetResource(const std::string& type, int id, const std::vector<unsigned char>& bytes) {
    resources[{type, id}] = bytes;
}

const std::vector<FakeMessage>& fakeMessages() { return messages; }
const std::vector<uint32_t>& fakeBrushColours() { return brushColours; }

ResourceData platformResource(const char* type, int id) {
    auto it = resources.find({type, id});
    if (it == resources.end()) return {false, nullptr, 0};
    return {true, it->second.data(), static_cast<int32_t>(it->second.size())};
}

void platformMessageBox(const char* text, const char* caption) { messages.push_back({text, caption}); }

BrushHandle platformSolidBrush(uint32_t colour) {
    brushColours.push_back(colour);
    return &brushTokens[brushColours.size() % brushTokens.size()];
}
