// Trivo's LZW packer and unpacker: variable-width codes, widening announced in the stream.
//
// Both loops keep their state (bit buffer, positions, dictionary size, width) in local variables and
// store it back once, on the way out: the output is written through unsigned char pointers, which the
// compiler must assume may alias anything in memory, so state held in the process-wide work area
// would go back and forth through memory on every code.
#include "content/lzw.h"

#include <cstdlib>
#include <cstring>

#include "content/lzw_testing.h"
#include "content/platform.h"

namespace {

enum class LzwMode : int { Pack = 1, Unpack = 2 };

constexpr uint32_t CODE_END = 256;
constexpr uint32_t CODE_WIDEN = 257;
constexpr uint32_t CODE_RESET = 258;
constexpr uint32_t FIRST_ENTRY = 259;
constexpr uint32_t DICTIONARY_SIZE = 4096;
constexpr uint32_t START_WIDTH = 9;
constexpr uint32_t MAX_WIDTH = 32;

// The unpacker copies strings in 16-byte moves, which may write up to 15 bytes past the data and read
// up to 15 bytes past a string. Its buffer therefore has, after the 120,000 bytes of data, room for
// such a write, then the 256 one-byte strings of the literals (so that a literal is copied like any
// other string) and room for such a read after them. The packer writes its bit buffer 8 bytes at a
// time, at most 8 bytes past the data it has counted.
constexpr int32_t MOVE = 16;
constexpr int32_t LITERALS = LZW_UNPACK_CAPACITY + MOVE;
constexpr int32_t UNPACK_ALLOCATION = LITERALS + 256 + MOVE;
constexpr int32_t PACK_ALLOCATION = LZW_PACK_CAPACITY + 16;

// Packer lookup: (prefix code, next byte) -> code, open addressing, with eight times as many slots as
// a dictionary cycle has entries: a lookup that meets another key first costs a mispredicted branch
// or two, which weighs more than the 128 KiB not fitting the first-level cache.
constexpr uint32_t HASH_BITS = 15;
constexpr uint32_t HASH_SLOTS = 1u << HASH_BITS;
// Input bytes whose codes the packer collects before it writes them.
constexpr uint32_t BATCH_BYTES = 1024;

// A dictionary string, held as a run of bytes that already stands in the unpacker's buffer: every
// entry is the string just written followed by the first byte of the next one, and both lie there one
// after the other, so no entry needs storage of its own. The literals lie after the data.
struct LzwEntry {
    uint32_t offset;
    uint32_t length;
};

// How a byte takes part in the packer's lookup: in the key of an entry and in the slot it lives in.
struct ByteMix {
    uint32_t key[256];
    uint16_t slot[256];
};

// The packer's tables, reached through one pointer so that its loop needs one register for them
// all: the lookup from (prefix, byte) to code, emptied at the start of each cycle; the byte mixes
// that place and key an entry (see below); and the codes found in a batch of input bytes (at most
// one per byte, and the last step may add a code and a reset) with where each string ended.
struct PackTables {
    uint32_t lookup[HASH_SLOTS];
    ByteMix mix;
    uint16_t codes[BATCH_BYTES + 2];
    uint16_t ends[BATCH_BYTES + 2];
};

struct LzwWorkArea {
    LzwMode mode;
    // Unpacking; one entry more than codes, for the entry that a full dictionary would add next.
    LzwEntry dictionary[DICTIONARY_SIZE + 1];
    PackTables pack;
    uint32_t nextCode;
    int32_t inputTotal;
    int32_t inputConsumed;
    int32_t packInputSize;
    int32_t packedSize;
};

LzwWorkArea g_lzw;
bool g_failNextAllocation = false;

unsigned char* allocateOutput(int32_t size) {
    if (g_failNextAllocation) {
        g_failNextAllocation = false;
        return nullptr;
    }
    return static_cast<unsigned char*>(malloc(static_cast<size_t>(size)));
}

void reportNoMemory() { platformMessageBox("Impossible d'allouer la memoire", "information"); }

void startCall(LzwMode mode, int32_t inputLength) {
    g_lzw.mode = mode;
    g_lzw.nextCode = FIRST_ENTRY;
    g_lzw.inputTotal = inputLength;
    g_lzw.inputConsumed = 0;
}

inline uint64_t loadBigEndian64(const unsigned char* p) {
    uint64_t v;
    memcpy(&v, p, 8);
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    v = __builtin_bswap64(v);
#endif
    return v;
}

inline void storeBigEndian64(unsigned char* p, uint64_t v) {
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    v = __builtin_bswap64(v);
#endif
    memcpy(p, &v, 8);
}

// One 16-byte move: everything is read before anything is written, so the two may overlap.
inline void move16(unsigned char* to, const unsigned char* from) {
    unsigned char chunk[MOVE];
    memcpy(chunk, from, MOVE);
    memcpy(to, chunk, MOVE);
}

// Copies a string that starts before `to`, in 16-byte moves. Each move reads bytes before the ones it
// writes, so every byte of the string before `to` arrives whole; the moves also read past the
// string's end and write past the copy's end, into bytes that are rewritten later or never handed
// over.
inline void copyString(unsigned char* to, const unsigned char* from, uint32_t length) {
    move16(to, from);
    for (uint32_t k = MOVE; __builtin_expect(k < length, 0); k += MOVE) move16(to + k, from + k);
}

// ---- Unpacking -------------------------------------------------------------------------------

// Bit reader: the live bits are the top `count` bits of `bits`, next bit first; the bits below them
// are zero or the stream's own next bits.
struct BitReader {
    uint64_t bits;
    uint32_t count;
    const unsigned char* pos;
    const unsigned char* end;
};

// Tops the buffer up to at least 57 bits while 8 input bytes remain, counting whole bytes only: the
// load may also bring the first bits of the next byte, which the next refill brings again, the same.
// Nearer the end, one byte at a time.
inline void refill(BitReader& r) {
    if (__builtin_expect(r.end - r.pos >= 8, 1)) {
        r.bits |= loadBigEndian64(r.pos) >> r.count;
        r.pos += (63 - r.count) >> 3;
        r.count |= 56;
    } else {
        while (r.count <= 56 && r.pos < r.end) {
            r.bits |= static_cast<uint64_t>(*r.pos++) << (56 - r.count);
            r.count += 8;
        }
    }
}

// Takes the next `width` bits (1 to 32; mask = 2^width - 1): a rotation brings them to the bottom,
// where they are cleared again, which costs less than two shifts by different amounts.
inline uint32_t take(BitReader& r, uint32_t width, uint64_t mask) {
    r.bits = (r.bits << width) | (r.bits >> ((64 - width) & 63));
    uint64_t code = r.bits & mask;
    r.bits ^= code;
    r.count -= width;
    return static_cast<uint32_t>(code);
}

// Input bytes holding bits that have been taken (the bytes read ahead do not count).
inline int32_t bytesTaken(const BitReader& r, const unsigned char* input) {
    return static_cast<int32_t>(r.pos - input) - static_cast<int32_t>(r.count >> 3);
}

// The string of each code is written to the output as soon as it is read. "committed" counts the
// bytes that are final: all but the most recent string, which only counts once the next code has
// proved the stream sound (or it is the last before the end code).
//
// The entry that the next code adds, the most recent string followed by the next string's first
// byte, is known as soon as the most recent string is written: the most recent string starts where
// it does and the next one starts where the output ends. So it is laid down at once in
// dictionary[nextCode], where the next code then finds it (a code equal to nextCode refers to it) and
// only has to count it; after a reset it moves to entry 259.
__attribute__((noinline)) LzwStatus decodeStream(const unsigned char* input, int32_t inputLength, unsigned char* out,
                                                 int32_t* committed) {
    LzwEntry* dictionary = g_lzw.dictionary;
    for (uint32_t c = 0; c < 256; ++c) {
        out[LITERALS + c] = static_cast<unsigned char>(c);
        dictionary[c] = {LITERALS + c, 1};
    }
    BitReader r = {0, 0, input, input + inputLength};
    refill(r);
    if (r.count < START_WIDTH) {
        g_lzw.inputConsumed = inputLength;
        return LzwStatus::NoInput;
    }
    uint64_t mask = (uint64_t{1} << START_WIDTH) - 1;
    // The first code is always a literal: only its low eight bits count.
    out[0] = static_cast<unsigned char>(take(r, START_WIDTH, mask));
    dictionary[FIRST_ENTRY] = {0, 2};

    size_t written = 1;
    size_t nextCode = FIRST_ENTRY;
    uint32_t width = START_WIDTH;
    LzwStatus status;
    for (;;) {
        if (__builtin_expect(r.count < width, 0)) {
            refill(r);
            if (r.count < width) {
                // The input ends inside the code: every byte of it has been read.
                g_lzw.nextCode = static_cast<uint32_t>(nextCode);
                g_lzw.inputConsumed = inputLength;
                *committed = static_cast<int32_t>(dictionary[nextCode].offset);
                return LzwStatus::BadStream;
            }
        }
        size_t code = take(r, width, mask);

        // The three special codes in one comparison.
        if (__builtin_expect(code - CODE_END < 3, 0)) {
            if (code == CODE_END) {
                status = LzwStatus::Ok;
                *committed = static_cast<int32_t>(written);
                break;
            }
            if (code == CODE_RESET) {
                dictionary[FIRST_ENTRY] = dictionary[nextCode];
                nextCode = FIRST_ENTRY;
                width = START_WIDTH;
            } else if (++width > MAX_WIDTH) {
                status = LzwStatus::BadStream;
                *committed = static_cast<int32_t>(dictionary[nextCode].offset);
                break;
            }
            mask = (uint64_t{1} << width) - 1;
            continue;
        }
        // From here on the code adds an entry. A code beyond the next entry, or an entry beyond code
        // 4095 without a reset, is malformed: no packer writes them. (Strings cannot outgrow anything
        // else: each entry is one byte longer than the string before it, so a string of length L
        // needs L * (L - 1) / 2 bytes of output before it, and the output fills long before 4,096.)
        if (__builtin_expect(nextCode == DICTIONARY_SIZE || code > nextCode, 0)) {
            status = LzwStatus::BadStream;
            *committed = static_cast<int32_t>(dictionary[nextCode].offset);
            break;
        }
        LzwEntry entry = dictionary[code];
        // The unpacked result has a fixed buffer: data that do not fit it are refused as NoMemory,
        // with the bytes that did fit handed back.
        if (__builtin_expect(written + entry.length > static_cast<size_t>(LZW_UNPACK_CAPACITY), 0)) {
            status = LzwStatus::NoMemory;
            *committed = static_cast<int32_t>(written);
            ++nextCode;
            break;
        }
        copyString(out + written, out + entry.offset, entry.length);
        // A code equal to the entry just made stands for the previous string followed by its own
        // first byte, which the move reads before it writes it: that byte is set afterwards.
        if (__builtin_expect(code == nextCode, 0)) out[written + entry.length - 1] = out[entry.offset];
        dictionary[++nextCode] = {static_cast<uint32_t>(written), entry.length + 1};
        written += entry.length;
    }
    g_lzw.nextCode = static_cast<uint32_t>(nextCode);
    g_lzw.inputConsumed = bytesTaken(r, input);
    return status;
}

// ---- Packing ---------------------------------------------------------------------------------

// Packer lookup. An entry (prefix, byte) -> code lives in the slot prefix ^ mix(byte) or, when that is
// taken, in the next free one after it, as key(prefix, byte) ^ code. The key holds the prefix and the
// byte in its top 20 bits, so a slot XORed with the key being sought is below 4096 exactly when it
// holds that key, and is then its code. The key's low 12 bits hold the byte again: a free slot
// (0) XORed with the key gives the key, whose low 12 bits are then the code of the one-byte string
// that follows a miss. So after every lookup the low 12 bits of that XOR are the code of the new
// current string, hit or miss, and the next slot is one XOR further: the chain of lookups, one per
// input byte, waits on nothing else. The prefix's bit 8 is inverted in the key so that no key is
// below 2^20 (prefixes are bytes or codes from 259 on: never 256).
constexpr ByteMix makeByteMix() {
    ByteMix m{};
    for (uint32_t b = 0; b < 256; ++b) {
        m.key[b] = (0x100u << 20) ^ (b << 12) ^ b;
        m.slot[b] = static_cast<uint16_t>((b * 2654435761u) >> (32 - HASH_BITS));
    }
    return m;
}

constexpr ByteMix BYTE_MIX = makeByteMix();

inline uint32_t keyOf(const PackTables& t, uint32_t prefix, uint32_t byte) { return (prefix << 20) ^ t.mix.key[byte]; }
inline uint32_t homeSlot(const PackTables& t, uint32_t prefix, uint32_t byte) { return prefix ^ t.mix.slot[byte]; }

// Looks up a key from a slot on: its code, or 0 when it is absent (no entry has a code below 259).
// *slot is then where the entry belongs, so adding it needs no second probe.
inline uint32_t probe(const uint32_t* lookup, uint32_t key, uint32_t* slot) {
    uint32_t at = *slot;
    for (;;) {
        uint32_t stored = lookup[at];
        if ((stored ^ key) < DICTIONARY_SIZE) {
            *slot = at;
            return stored ^ key;
        }
        if (stored == 0) {
            *slot = at;
            return 0;
        }
        at = (at + 1) & (HASH_SLOTS - 1);
    }
}

void addEntry(PackTables& t, uint32_t prefix, uint32_t byte, uint32_t code) {
    uint32_t key = keyOf(t, prefix, byte);
    uint32_t slot = homeSlot(t, prefix, byte);
    probe(t.lookup, key, &slot);
    t.lookup[slot] = key ^ code;
}

// Empties the lookup: at the start of a call and of every dictionary cycle.
void clearLookup(PackTables& t) { memset(t.lookup, 0, sizeof t.lookup); }

// The packer's one string whose prefix may not be in the dictionary: after a reset the string that
// filled the old dictionary, P, comes back as entry 259, and its prefix only gets a code again once
// the packer adds it anew. Until then the link to 259 waits here. Strings are added in the order of
// their prefixes, so the wait follows P's prefixes as they come back: the first `matched` bytes of P
// have a code, and the entry that adds the next byte to them has the key `key` (0: nothing waits).
struct PendingLink {
    uint32_t key;
    const unsigned char* bytes;
    uint32_t length;
    uint32_t matched;
    unsigned char nextByte;
};

// Bit writer: the live bits are the low `count` bits of `bits`, most significant first. Codes are
// gathered there and whole bytes go out in one 8-byte store after a code or four (at most 7 bits
// wait, plus four codes, or three 257s and a code, of at most 12 bits each: never above 64).
struct BitWriter {
    uint64_t bits;
    uint32_t count;
    unsigned char* out;
    uint32_t length;
};

inline void putCode(BitWriter& w, uint32_t code, uint32_t width) {
    w.bits = (w.bits << width) | code;
    w.count += width;
}

inline void flush(BitWriter& w) {
    storeBigEndian64(w.out + w.length, w.bits << (64 - w.count));
    w.length += w.count >> 3;
    w.count &= 7;
}

// Writes a string's code, first announcing with a 257 (at the width in force) each bit it needs
// beyond the current width. The width never shrinks before the next reset, and never goes beyond 12
// bits, since codes stay below 4096.
inline void putStringCode(BitWriter& w, uint32_t code, uint32_t* width) {
    while (__builtin_expect((code >> *width) != 0, 0)) {
        putCode(w, CODE_WIDEN, *width);
        ++*width;
    }
    putCode(w, code, *width);
}

// In a batch, the mark of a reset code 258: above every code, so that one test finds both a reset
// and a code that needs a 257 first.
constexpr uint16_t BATCH_RESET = 0xFFFF;

// Writes one code of a batch, with any 257 it needs, and its whole bytes.
inline void writeOne(BitWriter& w, uint32_t* width, uint32_t code) {
    if (code == BATCH_RESET) {
        putCode(w, CODE_RESET, *width);
        *width = START_WIDTH;
    } else {
        putStringCode(w, code, width);
    }
    flush(w);
}

// Writes the codes of a batch, four at a time while none needs more than the width in force (four
// codes of at most 12 bits and 7 waiting bits fit the bit buffer), one at a time otherwise. False
// when the packed result outgrows its fixed buffer: data that do not fit are refused as NoMemory;
// *consumed then counts the input up to the byte that ended the string whose code did not fit.
bool writeBatch(BitWriter& w, uint32_t* width, const PackTables& t, uint32_t count, uint16_t base,
                int32_t* consumed) {
    const uint32_t limit = static_cast<uint32_t>(LZW_PACK_CAPACITY);
    for (uint32_t k = 0; k < count;) {
        if (count - k >= 4) {
            uint32_t c0 = t.codes[k], c1 = t.codes[k + 1], c2 = t.codes[k + 2], c3 = t.codes[k + 3];
            if (((c0 | c1 | c2 | c3) >> *width) == 0) {
                BitWriter before = w;
                uint32_t n = *width;
                w.bits = (((((w.bits << n) | c0) << n | c1) << n | c2) << n) | c3;
                w.count += 4 * n;
                flush(w);
                if (__builtin_expect(w.length <= limit, 1)) {
                    k += 4;
                    continue;
                }
                w = before;  // the codes one by one, to find the one that does not fit
            }
        }
        writeOne(w, width, t.codes[k]);
        if (__builtin_expect(w.length > limit, 0)) {
            *consumed = static_cast<uint16_t>(t.ends[k] - base) + 1;
            return false;
        }
        ++k;
    }
    return true;
}

// The packer finds its codes in one pass over a batch of input bytes and then writes them: finding
// them is a chain of dependent lookups, one per input byte, which must not wait on anything else.
// Each byte either extends the current string (a hit) or ends it (a miss), which adds an entry and
// yields the string's code. Which of the two happens is as good as random, so in the fast loop a
// miss is not a branch: the entry, the batch slot and the new current string are chosen by masks,
// and a hit writes back the slot it read and leaves the batch as it was. The fast loop stops short
// of the byte that could fill the dictionary, and of a miss that adds the prefix entry 259 waits
// for: those bytes take the full steps.
__attribute__((noinline)) LzwStatus encodeStream(const unsigned char* input, int32_t inputLength, unsigned char* out,
                                                 int32_t* outLength) {
    PackTables& t = g_lzw.pack;
    clearLookup(t);
    t.mix = BYTE_MIX;
    PendingLink pending = {0, nullptr, 0, 0, 0};
    BitWriter w = {0, 0, out, 0};
    uint32_t width = START_WIDTH;
    const uint32_t n = static_cast<uint32_t>(inputLength);
    uint32_t i = 1;
    uint32_t current = input[0];  // the code of the current string
    uint32_t start = 0;           // where it starts, as of the last batch written
    uint32_t nextCode = FIRST_ENTRY;
    size_t k = 0;  // codes in the batch
    // The batch notes where each string ended by the low 16 bits of the byte's address, which give
    // its position again (positions are below 65,536) and cost the fast loop no counter.
    const uint16_t base = static_cast<uint16_t>(reinterpret_cast<uintptr_t>(input));
    int32_t consumed = inputLength;
    LzwStatus status = LzwStatus::Ok;

    while (i < n) {
        if (k >= BATCH_BYTES) {
            start = static_cast<uint16_t>(t.ends[k - 1] - base);
            if (!writeBatch(w, &width, t, k, base, &consumed)) {
                status = LzwStatus::NoMemory;
                break;
            }
            k = 0;
        }
        uint32_t room = BATCH_BYTES - k;
        if (room > n - i) room = n - i;
        if (room > DICTIONARY_SIZE - 1 - nextCode) room = DICTIONARY_SIZE - 1 - nextCode;
        const uint32_t stop = i + room;
        const unsigned char* p = input + i;
        const unsigned char* const stopAt = input + stop;
        for (; p != stopAt; ++p) {
            uint32_t g = *p;
            uint32_t key = keyOf(t, current, g);
            uint32_t slot = homeSlot(t, current, g);
            uint32_t stored = t.lookup[slot];
            uint32_t found = stored ^ key;
            // A miss is a slot without the key sought: then `found` is at least 2^20 (it is the key
            // itself when the slot is free). Masks rather than conditions below, which the compiler
            // would turn back into branches.
            uint32_t miss = found >= DICTIONARY_SIZE;
            uint32_t taken = 0u - miss;
            if (__builtin_expect((stored & taken) != 0, 0)) {
                // Another key in the slot: look further.
                probe(t.lookup, key, &slot);
                stored = t.lookup[slot];
                found = stored ^ key;
                miss = found >= DICTIONARY_SIZE;
                taken = 0u - miss;
            }
            // (Only a miss can add the awaited key.)
            if (__builtin_expect(key == pending.key, 0)) break;
            t.lookup[slot] = stored | ((found ^ nextCode) & taken);
            t.codes[k] = static_cast<uint16_t>(current);
            t.ends[k] = static_cast<uint16_t>(reinterpret_cast<uintptr_t>(p));
            k += miss;
            nextCode += miss;
            current = found & (DICTIONARY_SIZE - 1);
        }
        i = static_cast<uint32_t>(p - input);
        if (i == n || (i == stop && nextCode != DICTIONARY_SIZE - 1)) continue;

        // The full steps for one byte.
        uint32_t g = input[i];
        uint32_t key = keyOf(t, current, g);
        uint32_t slot = homeSlot(t, current, g);
        uint32_t found = probe(t.lookup, key, &slot);
        ++i;
        if (found != 0) {
            current = found;
            continue;
        }
        if (k != 0) start = static_cast<uint16_t>(t.ends[k - 1] - base);
        // (A string cannot outgrow anything: one of length L needs some L * L / 2 bytes of input to
        // grow, far beyond the 65,535 of a block.)
        uint32_t length = i - 1 - start;
        uint32_t added = nextCode++;
        t.lookup[slot] = key ^ added;
        if (key == pending.key) {
            // One more byte of the prefix of entry 259 has a code; at the end, all of it.
            if (++pending.matched == pending.length) {
                addEntry(t, added, pending.nextByte, FIRST_ENTRY);
                pending.key = 0;
            } else {
                pending.key = keyOf(t, added, pending.bytes[pending.matched]);
            }
        }
        t.codes[k] = static_cast<uint16_t>(current);
        t.ends[k++] = static_cast<uint16_t>(base + i - 1);
        if (nextCode == DICTIONARY_SIZE) {
            t.codes[k] = BATCH_RESET;
            t.ends[k++] = static_cast<uint16_t>(base + i - 1);
            clearLookup(t);
            // The string whose addition filled the dictionary becomes entry 259 of the new cycle.
            nextCode = FIRST_ENTRY + 1;
            pending.key = 0;
            if (length == 1) {
                addEntry(t, current, g, FIRST_ENTRY);
            } else {
                const unsigned char* bytes = input + start;
                pending = {keyOf(t, bytes[0], bytes[1]), bytes, length, 1, static_cast<unsigned char>(g)};
            }
        }
        current = g;
    }
    if (status == LzwStatus::Ok && !writeBatch(w, &width, t, k, base, &consumed)) status = LzwStatus::NoMemory;
    g_lzw.nextCode = nextCode;
    g_lzw.inputConsumed = consumed;
    if (status == LzwStatus::Ok) {
        putStringCode(w, current, &width);
        putCode(w, CODE_END, width);
        flush(w);
        // The last byte's remaining low bits are zero; the store above has written it already.
        if (w.count > 0) ++w.length;
        if (w.length > static_cast<uint32_t>(LZW_PACK_CAPACITY)) status = LzwStatus::NoMemory;
    }
    // Bytes beyond the buffer's capacity were written into its spare room only: they do not count.
    *outLength = w.length > static_cast<uint32_t>(LZW_PACK_CAPACITY) ? LZW_PACK_CAPACITY
                                                                     : static_cast<int32_t>(w.length);
    return status;
}

}  // namespace

LzwStatus lzwDecode(const unsigned char* input, int32_t inputLength, unsigned char** output,
                    int32_t* outputLength) {
    unsigned char* buffer = allocateOutput(UNPACK_ALLOCATION);
    if (buffer == nullptr) {
        g_lzw.mode = LzwMode::Unpack;
        reportNoMemory();
        return LzwStatus::NoMemory;
    }
    startCall(LzwMode::Unpack, inputLength);
    int32_t committed = 0;
    LzwStatus status;
    if (inputLength > LZW_MAX_INPUT) {
        // The reader counts its window in 16 bits: a longer block cannot be read whole.
        status = LzwStatus::NoMemory;
    } else {
        status = decodeStream(input, inputLength > 0 ? inputLength : 0, buffer, &committed);
    }
    *output = buffer;
    *outputLength = committed;
    return status;
}

LzwStatus lzwEncode(const unsigned char* input, int32_t inputLength, unsigned char** output,
                    int32_t* outputLength) {
    unsigned char* buffer = allocateOutput(PACK_ALLOCATION);
    if (buffer == nullptr) {
        g_lzw.mode = LzwMode::Pack;
        reportNoMemory();
        return LzwStatus::NoMemory;
    }
    startCall(LzwMode::Pack, inputLength);
    g_lzw.packInputSize = inputLength;
    int32_t length = 0;
    LzwStatus status;
    if (inputLength <= 0) {
        status = LzwStatus::NoInput;
    } else if (inputLength > LZW_MAX_INPUT) {
        // A longer block could not be unpacked again, whose reader counts in 16 bits.
        status = LzwStatus::NoMemory;
    } else {
        status = encodeStream(input, inputLength, buffer, &length);
    }
    if (status == LzwStatus::Ok) g_lzw.packedSize = length;
    *output = buffer;
    *outputLength = length;
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
