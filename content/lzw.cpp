// Trivo's LZW packer and unpacker: variable-width codes, widening announced in the stream.
#include "content/lzw.h"

#include <cstdlib>
#include <cstring>

#include "content/platform.h"

namespace {

enum class LzwMode : int { Pack = 1, Unpack = 2 };

constexpr uint32_t CODE_END = 256;
constexpr uint32_t CODE_WIDEN = 257;
constexpr uint32_t CODE_RESET = 258;
constexpr uint32_t FIRST_ENTRY = 259;
constexpr uint32_t DICTIONARY_SIZE = 4096;
constexpr int START_WIDTH = 9;
constexpr int MAX_WIDTH = 32;

// Packer lookup: (prefix code, next byte) -> code, open addressing. Eight times the most entries a
// dictionary cycle can hold, so nearly every lookup takes one probe.
constexpr uint32_t HASH_BITS = 15;
constexpr uint32_t HASH_SLOTS = 1u << HASH_BITS;

// A dictionary string, held as a run of bytes that already stands in the data: in the output for the
// unpacker, in the input for the packer. Every entry is the string just emitted followed by the first
// byte of what comes next, and both are laid down one after the other, so such a run always exists
// and no entry needs storage of its own.
struct LzwEntry {
    uint32_t offset;
    uint16_t length;
};

// The packer's one string whose prefix may not be in the dictionary: after a reset the string that
// filled the old dictionary comes back as entry 259, and its prefix only gets a code again once the
// packer adds it anew. Until then the link to 259 waits here.
struct PendingLink {
    bool waiting;
    uint32_t prefixOffset;
    uint16_t prefixLength;
    unsigned char nextByte;
};

struct LzwWorkArea {
    LzwMode mode;
    LzwEntry dictionary[DICTIONARY_SIZE];
    uint32_t nextCode;
    // Each slot holds (prefix << 20) | (byte << 12) | code; 0 marks a free slot (no code is 0).
    uint32_t lookup[HASH_SLOTS];
    // Slots filled in this cycle, so that emptying the table touches only those; the table is left
    // empty after every call.
    uint16_t usedSlots[DICTIONARY_SIZE];
    uint32_t usedCount;
    PendingLink pending;
    // Bit stream: the low bitCount bits of bitBuffer are live, most significant first.
    uint64_t bitBuffer;
    int bitCount;
    const unsigned char* window;
    int32_t windowCount;
    int32_t readPos;
    unsigned char* output;
    int32_t outputLength;
    int32_t outputCapacity;
    bool outputFull;
    int32_t inputTotal;
    int32_t inputConsumed;
    int32_t packInputSize;
    int32_t packedSize;
};

LzwWorkArea g_lzw;
bool g_failNextAllocation = false;

unsigned char* allocateOutput(int32_t capacity) {
    if (g_failNextAllocation) {
        g_failNextAllocation = false;
        return nullptr;
    }
    return static_cast<unsigned char*>(malloc(static_cast<size_t>(capacity)));
}

void reportNoMemory() { platformMessageBox("Impossible d'allouer la memoire", "information"); }

void startCall(LzwMode mode, const unsigned char* input, int32_t inputLength, unsigned char* output,
               int32_t capacity) {
    g_lzw.mode = mode;
    g_lzw.nextCode = FIRST_ENTRY;
    g_lzw.pending.waiting = false;
    g_lzw.bitBuffer = 0;
    g_lzw.bitCount = 0;
    g_lzw.window = input;
    g_lzw.windowCount = inputLength > 0 ? inputLength : 0;
    g_lzw.readPos = 0;
    g_lzw.output = output;
    g_lzw.outputLength = 0;
    g_lzw.outputCapacity = capacity;
    g_lzw.outputFull = false;
    g_lzw.inputTotal = inputLength;
    g_lzw.inputConsumed = 0;
}

// ---- Unpacking -------------------------------------------------------------------------------

// Reads a code of width bits; false when the input ends before the code is complete (the bytes
// read on the way count as consumed).
bool readCode(int width, uint32_t* code) {
    while (g_lzw.bitCount < width) {
        if (g_lzw.readPos == g_lzw.windowCount) {
            g_lzw.inputConsumed = g_lzw.readPos;
            return false;
        }
        g_lzw.bitBuffer = (g_lzw.bitBuffer << 8) | g_lzw.window[g_lzw.readPos++];
        g_lzw.bitCount += 8;
    }
    g_lzw.inputConsumed = g_lzw.readPos;
    g_lzw.bitCount -= width;
    uint64_t mask = (uint64_t{1} << width) - 1;
    *code = static_cast<uint32_t>((g_lzw.bitBuffer >> g_lzw.bitCount) & mask);
    return true;
}

// The string of each code is written to the output as soon as it is read. "committed" counts the
// bytes that are final: all but the most recent string, which only counts once the next code has
// proved the stream sound (or it is the last before the end code).
LzwStatus decodeStream(int32_t* committed) {
    unsigned char* out = g_lzw.output;
    uint32_t first;
    if (!readCode(START_WIDTH, &first)) return LzwStatus::NoInput;
    // The first code is always a literal: only its low eight bits count.
    out[0] = static_cast<unsigned char>(first & 0xFF);
    uint32_t currentPos = 0;
    uint32_t currentLength = 1;
    uint32_t written = 1;
    int width = START_WIDTH;

    for (;;) {
        *committed = static_cast<int32_t>(currentPos);
        if (width > MAX_WIDTH) return LzwStatus::BadStream;
        uint32_t code;
        if (!readCode(width, &code)) return LzwStatus::BadStream;
        if (code == CODE_END) {
            *committed = static_cast<int32_t>(written);
            return LzwStatus::Ok;
        }
        if (code == CODE_RESET) {
            g_lzw.nextCode = FIRST_ENTRY;
            width = START_WIDTH;
            continue;
        }
        if (code == CODE_WIDEN) {
            ++width;
            continue;
        }
        // From here on the code adds an entry. Streams that would add one beyond code 4095 without
        // a reset, or build a string longer than the working strings hold, are malformed: no packer
        // writes them.
        if (code > g_lzw.nextCode) return LzwStatus::BadStream;
        if (g_lzw.nextCode >= DICTIONARY_SIZE) return LzwStatus::BadStream;
        // (Unreachable in practice: a string of length L needs some L*L/2 bytes of output before it,
        // so the output bound stops such a stream first; the check keeps the bound local.)
        if (currentLength + 1 > static_cast<uint32_t>(LZW_MAX_STRING)) return LzwStatus::BadStream;

        LzwEntry added = {currentPos, static_cast<uint16_t>(currentLength + 1)};
        g_lzw.dictionary[g_lzw.nextCode] = added;
        ++g_lzw.nextCode;

        uint32_t length = code < CODE_END ? 1 : g_lzw.dictionary[code].length;
        // Everything before the previous string is final here, the previous string too.
        *committed = static_cast<int32_t>(written);
        // The unpacked result has a fixed buffer: data that do not fit it are refused as NoMemory,
        // with the bytes that did fit handed back.
        if (written + length > static_cast<uint32_t>(g_lzw.outputCapacity)) return LzwStatus::NoMemory;

        if (code < CODE_END) {
            out[written] = static_cast<unsigned char>(code);
        } else {
            uint32_t from = g_lzw.dictionary[code].offset;
            if (from + length <= written) {
                memcpy(out + written, out + from, length);
            } else {
                // A code equal to the entry just added: its last byte is its own first byte, which
                // this forward copy writes before it reads it.
                for (uint32_t k = 0; k < length; ++k) out[written + k] = out[from + k];
            }
        }
        currentPos = written;
        currentLength = length;
        written += length;
    }
}

// ---- Packing ---------------------------------------------------------------------------------

void clearLookup() {
    for (uint32_t k = 0; k < g_lzw.usedCount; ++k) g_lzw.lookup[g_lzw.usedSlots[k]] = 0;
    g_lzw.usedCount = 0;
}

void fillSlot(uint32_t slot, uint32_t prefix, unsigned char byte, uint32_t code) {
    g_lzw.lookup[slot] = (((prefix << 8) | byte) << 12) | code;
    g_lzw.usedSlots[g_lzw.usedCount++] = static_cast<uint16_t>(slot);
}

// The prefix is the result of the previous lookup, so it only goes through a shift and an xor; the
// byte, known ahead, carries the mixing.
inline uint32_t hashSlot(uint32_t prefix, unsigned char byte) {
    return ((prefix << 3) ^ ((byte * 2654435761u) >> (32 - HASH_BITS))) & (HASH_SLOTS - 1);
}

// Looks up the entry (prefix, byte): its code, or 0 when there is none (no entry has a code below
// 259). *slot is then where the entry belongs, so adding it needs no second probe.
inline uint32_t findEntry(uint32_t prefix, unsigned char byte, uint32_t* slot) {
    uint32_t key = (prefix << 8) | byte;
    uint32_t at = hashSlot(prefix, byte);
    uint32_t stored;
    while ((stored = g_lzw.lookup[at]) != 0 && (stored >> 12) != key) at = (at + 1) & (HASH_SLOTS - 1);
    *slot = at;
    return stored & 0xFFF;
}

void linkEntry(uint32_t prefix, unsigned char byte, uint32_t code) {
    uint32_t slot;
    findEntry(prefix, byte, &slot);
    fillSlot(slot, prefix, byte, code);
}

// Called for each new entry, whose bytes stand at input[offset .. offset + length): when it is the
// prefix that entry 259 waits for, link 259 to it.
void resolvePendingLink(const unsigned char* input, uint32_t code, uint32_t offset, uint32_t length) {
    PendingLink& p = g_lzw.pending;
    if (length == p.prefixLength && memcmp(input + offset, input + p.prefixOffset, length) == 0) {
        linkEntry(code, p.nextByte, FIRST_ENTRY);
        p.waiting = false;
    }
}

void putByte(unsigned char byte) {
    if (g_lzw.outputLength == g_lzw.outputCapacity) {
        g_lzw.outputFull = true;
        return;
    }
    g_lzw.output[g_lzw.outputLength++] = byte;
}

// Appends a code of width bits, most significant bit first. Fails for widths beyond 32.
bool putCode(uint32_t code, int width) {
    if (width > MAX_WIDTH) return false;
    g_lzw.bitBuffer = (g_lzw.bitBuffer << width) | code;
    g_lzw.bitCount += width;
    while (g_lzw.bitCount >= 8) {
        g_lzw.bitCount -= 8;
        putByte(static_cast<unsigned char>(g_lzw.bitBuffer >> g_lzw.bitCount));
    }
    return true;
}

// Writes a string's code, first announcing with a 257 (at the width in force) each bit it needs
// beyond the current width. The width never shrinks before the next reset.
bool putStringCode(uint32_t code, int* width) {
    while ((code >> *width) != 0) {
        if (!putCode(CODE_WIDEN, *width)) return false;
        ++*width;
    }
    return putCode(code, *width);
}

LzwStatus encodeStream(const unsigned char* input, int32_t inputLength) {
    clearLookup();
    uint32_t currentCode = input[0];
    uint32_t currentStart = 0;
    uint32_t currentLength = 1;
    uint32_t nextCode = FIRST_ENTRY;
    int width = START_WIDTH;
    LzwStatus status = LzwStatus::Ok;
    int32_t i = 1;

    for (; i < inputLength; ++i) {
        unsigned char g = input[i];
        uint32_t slot;
        uint32_t found = findEntry(currentCode, g, &slot);
        if (__builtin_expect(found != 0, 1)) {
            currentCode = found;
            ++currentLength;
            continue;
        }
        // Cannot happen within 65,535 input bytes (a string of length L needs some L*L/2 bytes of
        // input to grow), but the working string has this bound.
        if (currentLength + 1 > static_cast<uint32_t>(LZW_MAX_STRING)) {
            status = LzwStatus::NoMemory;
            break;
        }
        uint32_t added = nextCode++;
        fillSlot(slot, currentCode, g, added);
        if (g_lzw.pending.waiting) resolvePendingLink(input, added, currentStart, currentLength + 1);
        if (!putStringCode(currentCode, &width)) {
            status = LzwStatus::WriteFailed;
            break;
        }
        if (nextCode == DICTIONARY_SIZE) {
            if (!putCode(CODE_RESET, width)) {
                status = LzwStatus::WriteFailed;
                break;
            }
            clearLookup();
            // The string whose addition filled the dictionary becomes entry 259 of the new cycle.
            nextCode = FIRST_ENTRY + 1;
            g_lzw.pending.waiting = false;
            if (currentLength == 1) {
                linkEntry(input[currentStart], g, FIRST_ENTRY);
            } else {
                g_lzw.pending = {true, currentStart, static_cast<uint16_t>(currentLength), g};
            }
            width = START_WIDTH;
        }
        currentCode = g;
        currentStart = static_cast<uint32_t>(i);
        currentLength = 1;
        // The packed result has a fixed buffer: data that do not fit it are refused as NoMemory.
        if (g_lzw.outputFull) {
            status = LzwStatus::NoMemory;
            break;
        }
    }
    g_lzw.nextCode = nextCode;
    g_lzw.inputConsumed = i < inputLength ? i + 1 : inputLength;
    clearLookup();
    if (status != LzwStatus::Ok) return status;

    if (!putStringCode(currentCode, &width) || !putCode(CODE_END, width)) return LzwStatus::WriteFailed;
    if (g_lzw.bitCount > 0) {
        putByte(static_cast<unsigned char>(g_lzw.bitBuffer << (8 - g_lzw.bitCount)));
        g_lzw.bitCount = 0;
    }
    if (g_lzw.outputFull) return LzwStatus::NoMemory;
    return LzwStatus::Ok;
}

}  // namespace

LzwStatus lzwDecode(const unsigned char* input, int32_t inputLength, unsigned char** output,
                    int32_t* outputLength) {
    unsigned char* buffer = allocateOutput(LZW_UNPACK_CAPACITY);
    if (buffer == nullptr) {
        g_lzw.mode = LzwMode::Unpack;
        reportNoMemory();
        return LzwStatus::NoMemory;
    }
    startCall(LzwMode::Unpack, input, inputLength, buffer, LZW_UNPACK_CAPACITY);
    int32_t committed = 0;
    LzwStatus status;
    if (inputLength > LZW_MAX_INPUT) {
        // The reader counts its window in 16 bits: a longer block cannot be read whole.
        status = LzwStatus::NoMemory;
    } else {
        status = decodeStream(&committed);
    }
    *output = buffer;
    *outputLength = committed;
    return status;
}

LzwStatus lzwEncode(const unsigned char* input, int32_t inputLength, unsigned char** output,
                    int32_t* outputLength) {
    unsigned char* buffer = allocateOutput(LZW_PACK_CAPACITY);
    if (buffer == nullptr) {
        g_lzw.mode = LzwMode::Pack;
        reportNoMemory();
        return LzwStatus::NoMemory;
    }
    startCall(LzwMode::Pack, input, inputLength, buffer, LZW_PACK_CAPACITY);
    g_lzw.packInputSize = inputLength;
    LzwStatus status;
    if (inputLength <= 0) {
        status = LzwStatus::NoInput;
    } else if (inputLength > LZW_MAX_INPUT) {
        // A longer block could not be unpacked again, whose reader counts in 16 bits.
        status = LzwStatus::NoMemory;
    } else {
        status = encodeStream(input, inputLength);
    }
    if (status == LzwStatus::Ok) g_lzw.packedSize = g_lzw.outputLength;
    *output = buffer;
    *outputLength = g_lzw.outputLength;
    return status;
}

int32_t lzwInputTotal() { return g_lzw.inputTotal; }
int32_t lzwInputConsumed() { return g_lzw.inputConsumed; }
int32_t lzwPackInputSize() { return g_lzw.packInputSize; }
int32_t lzwPackedSize() { return g_lzw.packedSize; }

const char* lzwStatusName(LzwStatus status) {
    switch (status) {
        case LzwStatus::Ok: return "Ok";
        case LzwStatus::NoMemory: return "NoMemory";
        case LzwStatus::NoInput: return "NoInput";
        case LzwStatus::WriteFailed: return "WriteFailed";
        case LzwStatus::BadStream: return "BadStream";
    }
    return "Unknown";
}

void lzwFailNextAllocationForTesting() { g_failNextAllocation = true; }
