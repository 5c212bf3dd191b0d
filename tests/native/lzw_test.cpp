// LZW codec: exact streams, hand-made corrupt streams, limits and round trips.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "content/lzw.h"
#include "content/lzw_testing.h"
#include "tests/native/fake_platform.h"

namespace {

using Bytes = std::vector<unsigned char>;

struct Result {
    LzwStatus status;
    Bytes data;
    bool handedBack;
};

Result run(LzwStatus (*call)(const unsigned char*, int32_t, unsigned char**, int32_t*),
           const Bytes& input, int32_t length) {
    unsigned char* out = nullptr;
    int32_t outLength = -1;
    LzwStatus status = call(input.data(), length, &out, &outLength);
    Result r{status, {}, out != nullptr};
    if (out != nullptr) {
        r.data.assign(out, out + outLength);
        free(out);
    }
    return r;
}
Result pack(const Bytes& in) { return run(lzwEncode, in, static_cast<int32_t>(in.size())); }
Result unpack(const Bytes& in) { return run(lzwDecode, in, static_cast<int32_t>(in.size())); }

Bytes bytesOf(const std::string& s) { return Bytes(s.begin(), s.end()); }

// Builds a stream from (code, width) pairs, most significant bit first, zero-padded.
Bytes streamOf(const std::vector<std::pair<uint32_t, int>>& codes) {
    Bytes out;
    uint64_t acc = 0;
    int bits = 0;
    for (auto [code, width] : codes) {
        for (int b = width - 1; b >= 0; --b) {
            acc = (acc << 1) | ((code >> b) & 1);
            if (++bits == 8) {
                out.push_back(static_cast<unsigned char>(acc));
                acc = 0;
                bits = 0;
            }
        }
    }
    if (bits > 0) out.push_back(static_cast<unsigned char>(acc << (8 - bits)));
    return out;
}

// A literal reading of the packing rules: per-length lists searched in order of addition, strings
// stored whole. Slow but independent of the codec's lookup structure. *consumedWhenFull receives
// the input count a packer reports when its 80,000-byte buffer overflows: up to the byte whose step
// wrote the first byte that does not fit.
Bytes referencePack(const Bytes& in, int32_t* consumedWhenFull = nullptr) {
    std::vector<std::string> dict(4096);
    std::vector<std::vector<int>> byLength(4097);
    int nextCode = 259;
    auto reset = [&] {
        for (auto& l : byLength) l.clear();
        nextCode = 259;
    };
    auto add = [&](const std::string& s) {
        dict[nextCode] = s;
        byLength[s.size()].push_back(nextCode);
        ++nextCode;
    };
    auto find = [&](const std::string& s) {
        if (s.size() == 1) return static_cast<int>(static_cast<unsigned char>(s[0]));
        for (int c : byLength[s.size()])
            if (dict[c] == s) return c;
        return -1;
    };
    std::vector<std::pair<uint32_t, int>> codes;
    std::vector<size_t> steps;  // the input byte of each code's step
    size_t i = 1;
    int width = 9;
    auto putString = [&](const std::string& s) {
        uint32_t c = static_cast<uint32_t>(find(s));
        while ((c >> width) != 0) codes.push_back({257, width++});
        codes.push_back({c, width});
    };
    std::string current(1, static_cast<char>(in[0]));
    for (; i < in.size(); ++i) {
        std::string candidate = current + static_cast<char>(in[i]);
        if (find(candidate) >= 0) {
            current = candidate;
            continue;
        }
        add(candidate);
        putString(current);
        current = std::string(1, static_cast<char>(in[i]));
        if (nextCode == 4096) {
            codes.push_back({258, width});
            reset();
            add(candidate);
            width = 9;
        }
        steps.resize(codes.size(), i);
    }
    putString(current);
    codes.push_back({256, width});
    steps.resize(codes.size(), in.size() - 1);
    if (consumedWhenFull != nullptr) {
        size_t bits = 0;
        for (size_t k = 0; k < codes.size() && bits / 8 <= 80000; ++k) {
            bits += static_cast<size_t>(codes[k].second);
            *consumedWhenFull = static_cast<int32_t>(steps[k] + 1);
        }
    }
    return streamOf(codes);
}

struct Unpacked {
    LzwStatus status;
    Bytes data;
    int32_t consumed;
};

// A literal reading of the unpacking rules: bits taken one at a time, strings stored whole, the
// input counted as read up to the byte that holds the last bit taken (all of it when a code is cut
// short).
Unpacked referenceUnpack(const Bytes& in) {
    size_t bit = 0;
    auto read = [&](int w, uint32_t* c) {
        if (bit + static_cast<size_t>(w) > in.size() * 8) {
            bit = in.size() * 8;
            return false;
        }
        uint32_t v = 0;
        for (int k = 0; k < w; ++k, ++bit) v = (v << 1) | ((in[bit / 8] >> (7 - bit % 8)) & 1);
        *c = v;
        return true;
    };
    auto result = [&](LzwStatus status, const std::string& data) {
        return Unpacked{status, bytesOf(data), static_cast<int32_t>((bit + 7) / 8)};
    };
    uint32_t c;
    if (!read(9, &c)) return result(LzwStatus::NoInput, "");
    std::vector<std::string> dict(4096);
    for (int k = 0; k < 256; ++k) dict[k] = std::string(1, static_cast<char>(k));
    uint32_t next = 259;
    int width = 9;
    std::string out;
    std::string current(1, static_cast<char>(c & 0xFF));
    for (;;) {
        if (!read(width, &c)) return result(LzwStatus::BadStream, out);
        if (c == 256) return result(LzwStatus::Ok, out + current);
        if (c == 258) {
            next = 259;
            width = 9;
        } else if (c == 257) {
            if (++width > 32) return result(LzwStatus::BadStream, out);
        } else {
            if (c > next || next == 4096) return result(LzwStatus::BadStream, out);
            dict[next] = current + (c == next ? current[0] : dict[c][0]);
            ++next;
            out += current;
            if (out.size() + dict[c].size() > 120000) return result(LzwStatus::NoMemory, out);
            current = dict[c];
        }
    }
}

// Codes as a careless writer might put them: strings the unpacker knows (the newest ones more often
// as the seed grows, so that strings grow long and some streams outgrow the output), widenings up to
// the limit, resets, and in every third stream rarely a code beyond the next entry.
Bytes randomCodeStream(unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<std::pair<uint32_t, int>> codes{{rng() % 256, 9}};
    uint32_t newest = 100 + 250 * (seed % 4);  // per mille
    uint32_t next = 259;
    int width = 9;
    for (int k = 0; k < 3000 && width <= 32; ++k) {
        uint32_t roll = rng() % 1000;
        if (roll < 6) {
            codes.push_back({257, width++});
            continue;
        }
        if (roll < 10) {
            codes.push_back({258, width});
            next = 259;
            width = 9;
            continue;
        }
        uint32_t code = roll < 10 + newest ? next - rng() % 2 : rng() % next;
        if (seed % 3 == 0 && roll == 999) code = next + 1 + rng() % 5;
        if (code >= 256 && code <= 258) code = 259;
        while ((code >> width) != 0 && width < 32) codes.push_back({257, width++});
        codes.push_back({code, width});
        ++next;
    }
    codes.push_back({256, width > 32 ? 32 : width});
    return streamOf(codes);
}

Bytes randomBytes(size_t n, unsigned seed, int alphabet = 256) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> pick(0, alphabet - 1);
    Bytes out(n);
    for (auto& b : out) b = static_cast<unsigned char>('a' + pick(rng) % alphabet);
    if (alphabet == 256)
        for (auto& b : out) b = static_cast<unsigned char>(pick(rng));
    return out;
}

// French-looking text: words from a small vocabulary, so strings repeat and grow long.
Bytes wordyText(size_t n, unsigned seed) {
    static const char* words[] = {"le ",    "la ",      "quiz ",     "question ", "r\xE9ponse ",
                                  "BRAVO ", "presque ", "Trop long ", "de ",       "et ",
                                  "\xE9t\xE9 ", "lune\r\n", "grivol|"};
    std::mt19937 rng(seed);
    std::uniform_int_distribution<size_t> pick(0, sizeof words / sizeof *words - 1);
    std::string s;
    while (s.size() < n) s += words[pick(rng)];
    s.resize(n);
    return bytesOf(s);
}

// The (code, width) sequence of a stream, read the way the unpacker reads it.
std::vector<std::pair<uint32_t, int>> codesOf(const Bytes& stream) {
    std::vector<std::pair<uint32_t, int>> codes;
    int width = 9;
    size_t bit = 0;
    auto read = [&](int w, uint32_t* c) {
        if (bit + static_cast<size_t>(w) > stream.size() * 8) return false;
        uint32_t v = 0;
        for (int k = 0; k < w; ++k, ++bit) v = (v << 1) | ((stream[bit / 8] >> (7 - bit % 8)) & 1);
        *c = v;
        return true;
    };
    uint32_t c;
    if (!read(9, &c)) return codes;
    codes.push_back({c, 9});
    while (read(width, &c)) {
        codes.push_back({c, width});
        if (c == 256) break;
        if (c == 257) ++width;
        if (c == 258) width = 9;
    }
    return codes;
}

size_t countResets(const Bytes& stream) {
    size_t resets = 0;
    for (auto [code, width] : codesOf(stream)) resets += code == 258;
    return resets;
}

// An input whose dictionary fills while the packer holds the two-byte string AB, so that AB + C
// comes back as entry 259 of the next cycle; the tail then adds AB anew and meets AB + C again,
// which must be found as 259. Every other adjacent pair before the reset is new, so each byte adds
// exactly one entry and the reset falls at a known place.
Bytes resetWithLongPrefix() {
    std::mt19937 rng(99);
    std::vector<bool> used(65536, false);
    Bytes s{'A', 'B'};
    used['A' * 256 + 'B'] = true;
    const size_t m = 3836;  // s[m], s[m + 1] repeat s[0], s[1]
    while (s.size() < m) {
        unsigned char next = static_cast<unsigned char>(rng());
        bool free = !used[s.back() * 256 + next];
        if (s.size() == m - 1) free = free && !used[next * 256 + 'A'] && next != s.back();
        if (!free || next == 'A' || next == 'B' || next == 'C') continue;
        used[s.back() * 256 + next] = true;
        s.push_back(next);
    }
    for (unsigned char b : {'A', 'B', 'C', 'C', 'A', 'B', 'A', 'B', 'C', 'D'}) s.push_back(b);
    return s;
}

class Lzw : public ::testing::Test {
protected:
    void SetUp() override { fakePlatformReset(); }
};

TEST_F(Lzw, PacksTheDocumentedExamplesExactly) {
    EXPECT_EQ(pack(bytesOf("abc")).data, (Bytes{0x30, 0x98, 0x8C, 0x70, 0x00}));
    EXPECT_EQ(pack(bytesOf("aaaaaaa")).data, (Bytes{0x30, 0xC0, 0xE0, 0x86, 0x18, 0x00}));
    EXPECT_EQ(pack(Bytes{0x61}).data, (Bytes{0x30, 0xC0, 0x00}));

    // The second example meets codes equal to the unpacker's next entry twice.
    Result r = unpack(Bytes{0x30, 0xC0, 0xE0, 0x86, 0x18, 0x00});
    EXPECT_EQ(r.status, LzwStatus::Ok);
    EXPECT_EQ(r.data, bytesOf("aaaaaaa"));
    EXPECT_EQ(unpack(Bytes{0x30, 0x98, 0x8C, 0x70, 0x00}).data, bytesOf("abc"));
    EXPECT_EQ(unpack(Bytes{0x30, 0xC0, 0x00}).data, Bytes{0x61});
}

TEST_F(Lzw, CountersDescribeTheLastCall) {
    pack(bytesOf("abc"));
    EXPECT_EQ(lzwPackInputSize(), 3);
    EXPECT_EQ(lzwPackedSize(), 5);
    EXPECT_EQ(lzwInputTotal(), 3);
    EXPECT_EQ(lzwInputConsumed(), 3);

    Bytes withTail{0x30, 0x98, 0x8C, 0x70, 0x00, 0xFF, 0xFF, 0x12};
    Result r = unpack(withTail);
    EXPECT_EQ(r.status, LzwStatus::Ok);
    EXPECT_EQ(r.data, bytesOf("abc"));  // bytes after the end code are never read
    EXPECT_EQ(lzwInputTotal(), 8);
    EXPECT_EQ(lzwInputConsumed(), 5);
    EXPECT_EQ(lzwPackInputSize(), 3);  // unpacking leaves the packer's counters alone
    EXPECT_EQ(lzwPackedSize(), 5);
}

TEST_F(Lzw, EmptyAndTruncatedInputs) {
    Result p = pack(Bytes{});
    EXPECT_EQ(p.status, LzwStatus::NoInput);
    EXPECT_TRUE(p.handedBack);
    EXPECT_TRUE(p.data.empty());

    Result u = unpack(Bytes{});
    EXPECT_EQ(u.status, LzwStatus::NoInput);
    EXPECT_TRUE(u.handedBack);
    EXPECT_TRUE(u.data.empty());

    EXPECT_EQ(unpack(Bytes{0x30}).status, LzwStatus::NoInput);     // first code incomplete
    EXPECT_EQ(unpack(Bytes{0x30, 0x98}).status, LzwStatus::BadStream);  // no end code
    // Every proper prefix of a good stream past its first code is BadStream, never a crash.
    Bytes good = pack(wordyText(3000, 1)).data;
    for (size_t n = 2; n < good.size(); n += 37)
        EXPECT_EQ(unpack(Bytes(good.begin(), good.begin() + n)).status, LzwStatus::BadStream) << n;
}

TEST_F(Lzw, HandMadeStreamsGiveTheirStatusAndTheBytesBeforeIt) {
    // A code above the next entry: the pending 'c' is not counted, "ab" is.
    Result r = unpack(streamOf({{97, 9}, {98, 9}, {99, 9}, {300, 9}, {256, 9}}));
    EXPECT_EQ(r.status, LzwStatus::BadStream);
    EXPECT_EQ(r.data, bytesOf("ab"));
    EXPECT_EQ(unpack(streamOf({{97, 9}, {260, 9}, {256, 9}})).status, LzwStatus::BadStream);

    // Widening past 32 bits.
    std::vector<std::pair<uint32_t, int>> widen{{97, 9}};
    for (int w = 9; w <= 32; ++w) widen.push_back({257, w});
    widen.push_back({256, 32});
    r = unpack(streamOf(widen));
    EXPECT_EQ(r.status, LzwStatus::BadStream);
    EXPECT_TRUE(r.data.empty());

    // A widen announces every later code one bit wider; a reset goes back to 9.
    r = unpack(streamOf({{97, 9}, {257, 9}, {98, 10}, {258, 10}, {99, 9}, {256, 9}}));
    EXPECT_EQ(r.status, LzwStatus::Ok);
    EXPECT_EQ(r.data, bytesOf("abc"));

    // 256 straight after 258 ends the data and writes the pending string.
    r = unpack(streamOf({{97, 9}, {98, 9}, {258, 9}, {256, 9}}));
    EXPECT_EQ(r.status, LzwStatus::Ok);
    EXPECT_EQ(r.data, bytesOf("ab"));

    // A code equal to the next entry right after a reset: the previous string plus its first byte.
    r = unpack(streamOf({{97, 9}, {98, 9}, {258, 9}, {259, 9}, {256, 9}}));
    EXPECT_EQ(r.status, LzwStatus::Ok);
    EXPECT_EQ(r.data, bytesOf("abbb"));

    // The first code is a literal whatever its value: only its low eight bits count.
    r = unpack(streamOf({{0x141, 9}, {256, 9}}));
    EXPECT_EQ(r.status, LzwStatus::Ok);
    EXPECT_EQ(r.data, Bytes{0x41});
}

TEST_F(Lzw, MalformedStreamsNeverOutgrowTheDictionaryOrTheOutput) {
    // Literals alone fill the dictionary: entry 4095 is the last one a stream may add.
    std::vector<std::pair<uint32_t, int>> codes{{97, 9}};
    for (int k = 259; k <= 4095; ++k) codes.push_back({98, 9});
    Bytes fits = streamOf(codes);
    codes.push_back({256, 9});
    EXPECT_EQ(unpack(streamOf(codes)).status, LzwStatus::Ok);
    codes.pop_back();
    codes.push_back({99, 9});  // would add entry 4096
    codes.push_back({256, 9});
    Result r = unpack(streamOf(codes));
    EXPECT_EQ(r.status, LzwStatus::BadStream);
    EXPECT_EQ(r.data.size(), 1u + 3837u - 1u);  // the last 'b' was still pending

    // Each code equal to the next entry grows the string by one: the output fills first.
    std::vector<std::pair<uint32_t, int>> grow{{97, 9}};
    int width = 9;
    for (uint32_t c = 259; c < 259 + 600; ++c) {
        while ((c >> width) != 0) grow.push_back({257, width++});
        grow.push_back({c, width});
    }
    grow.push_back({256, width});
    r = unpack(streamOf(grow));
    EXPECT_EQ(r.status, LzwStatus::NoMemory);
    // Strings of 1, 2, ... 489 bytes fit 120,000 bytes; the one of 490 does not.
    EXPECT_EQ(r.data.size(), 489u * 490u / 2u);
    EXPECT_EQ(r.data, Bytes(r.data.size(), 'a'));
}

TEST_F(Lzw, RefusesBlocksBeyondTheLimits) {
    Bytes big = randomBytes(65536, 7);
    EXPECT_EQ(pack(big).status, LzwStatus::NoMemory);
    EXPECT_EQ(unpack(big).status, LzwStatus::NoMemory);
    // Incompressible data fill the 80,000-byte packing buffer before 65,535 input bytes; the bytes
    // handed back and the input count are those of a literal packer stopped there.
    for (int alphabet : {256, 200}) {
        Bytes in = randomBytes(65535, 8, alphabet);
        Result r = pack(in);
        EXPECT_EQ(r.status, LzwStatus::NoMemory);
        int32_t consumed = 0;
        Bytes whole = referencePack(in, &consumed);
        EXPECT_EQ(r.data, Bytes(whole.begin(), whole.begin() + 80000));
        EXPECT_EQ(lzwInputConsumed(), consumed);
    }
    EXPECT_TRUE(fakeMessages().empty());
}

TEST_F(Lzw, AllocationFailureShowsTheMessageAndHandsBackNothing) {
    for (auto call : {lzwEncode, lzwDecode}) {
        fakePlatformReset();
        Bytes in = bytesOf("abc");
        unsigned char* out = reinterpret_cast<unsigned char*>(&in);  // must stay untouched
        int32_t outLength = 1234;
        lzwFailNextAllocationForTesting();
        EXPECT_EQ(call(in.data(), 3, &out, &outLength), LzwStatus::NoMemory);
        EXPECT_EQ(out, reinterpret_cast<unsigned char*>(&in));
        EXPECT_EQ(outLength, 1234);
        ASSERT_EQ(fakeMessages().size(), 1u);
        EXPECT_EQ(fakeMessages()[0].text, "Impossible d'allouer la memoire");
        EXPECT_EQ(fakeMessages()[0].caption, "information");
    }
}

TEST_F(Lzw, WidensOnlyOnNeedAndMatchesTheLiteralPacker) {
    // Inputs of every shape, small alphabets crossing several resets included; each must give the
    // very stream of the literal packer and unpack to itself.
    std::vector<Bytes> inputs = {
        bytesOf("TOBEORNOTTOBEORTOBEORNOT"), Bytes(5000, 'x'), wordyText(20000, 2),
        randomBytes(12000, 3), randomBytes(30000, 4, 2), randomBytes(30000, 5, 3),
        randomBytes(25000, 6, 16), wordyText(65535, 9), randomBytes(60000, 12, 4), resetWithLongPrefix(),
    };
    for (size_t k = 0; k < inputs.size(); ++k) {
        Result p = pack(inputs[k]);
        ASSERT_EQ(p.status, LzwStatus::Ok) << k;
        EXPECT_EQ(p.data, referencePack(inputs[k])) << "input " << k;
        EXPECT_EQ(lzwPackedSize(), static_cast<int32_t>(p.data.size()));
        Result u = unpack(p.data);
        ASSERT_EQ(u.status, LzwStatus::Ok) << k;
        EXPECT_EQ(u.data, inputs[k]) << k;
    }
    for (size_t k : {3u, 7u}) EXPECT_GE(countResets(pack(inputs[k]).data), 2u) << k;

    // Every run of 257s is followed by a code that needs exactly the width they announce, the
    // last code of the data included.
    for (const Bytes& in : {randomBytes(2000, 10), randomBytes(3000, 11, 4)}) {
        std::vector<std::pair<uint32_t, int>> codes = codesOf(pack(in).data);
        ASSERT_GE(codes.size(), 3u);
        int widens = 0;
        for (size_t k = 1; k < codes.size(); ++k) {
            auto [code, width] = codes[k];
            if (code == 257) {
                ++widens;
                continue;
            }
            if (widens > 0 && code != 256 && code != 258) {
                EXPECT_GE(code, 1u << (width - 1)) << "widened without need at " << k;
                EXPECT_LT(code, 1u << width);
            }
            widens = 0;
        }
        EXPECT_EQ(codes.back().first, 256u);
    }
    // The last code of the data widens like any other. A run of one byte is written as runs of
    // 1, 2, 3, ... bytes, the run of L bytes as code 257 + L: a run of 1 + ... + 254 + 255 bytes
    // ends on code 512 while the width is still 9.
    std::vector<std::pair<uint32_t, int>> codes = codesOf(pack(Bytes(254 * 255 / 2 + 255, 'q')).data);
    ASSERT_GE(codes.size(), 4u);
    EXPECT_EQ(codes[codes.size() - 4], (std::pair<uint32_t, int>{511, 9}));
    EXPECT_EQ(codes[codes.size() - 3].first, 257u);
    EXPECT_EQ(codes[codes.size() - 3].second, 9);
    EXPECT_GE(codes[codes.size() - 2].first, 512u);
    EXPECT_EQ(codes[codes.size() - 2].second, 10);
}

TEST_F(Lzw, UnpacksEveryStreamAsTheLiteralUnpackerDoes) {
    // Sound streams of every shape, the same cut short, with a bit flipped or with bytes after them,
    // and streams of careless codes: the same status, bytes and input count as the literal reading,
    // whether a code lies in the input's last 8 bytes or not.
    std::mt19937 rng(77);
    std::vector<Bytes> streams;
    for (const Bytes& in : {wordyText(40000, 3), randomBytes(20000, 4, 3), randomBytes(9000, 5),
                            Bytes(30000, 'z'), wordyText(300, 6), randomBytes(5, 7)}) {
        Bytes good = pack(in).data;
        streams.push_back(good);
        for (int k = 0; k < 6; ++k) {
            Bytes cut(good.begin(), good.begin() + rng() % good.size());
            Bytes flipped = good;
            flipped[rng() % good.size()] ^= static_cast<unsigned char>(1 << (rng() % 8));
            Bytes tail = good;
            for (int j = 0; j < k; ++j) tail.push_back(static_cast<unsigned char>(rng()));
            streams.insert(streams.end(), {cut, flipped, tail});
        }
    }
    for (unsigned seed = 0; seed < 40; ++seed) streams.push_back(randomCodeStream(seed));
    for (size_t k = 0; k < streams.size(); ++k) {
        Result r = unpack(streams[k]);
        Unpacked want = referenceUnpack(streams[k]);
        EXPECT_EQ(r.status, want.status) << "stream " << k;
        EXPECT_EQ(r.data, want.data) << "stream " << k;
        EXPECT_EQ(lzwInputConsumed(), want.consumed) << "stream " << k;
    }
}

TEST_F(Lzw, RoundTripsRandomInputsUpToTheBlockLimit) {
    std::mt19937 rng(42);
    for (int trial = 0; trial < 40; ++trial) {
        size_t n = std::uniform_int_distribution<size_t>(1, 65535)(rng);
        int alphabet = std::uniform_int_distribution<int>(1, 4)(rng) == 1 ? 256 : 1 + trial % 20;
        Bytes in = trial % 3 == 0 ? wordyText(n, trial) : randomBytes(n, trial, alphabet);
        Result p = pack(in);
        if (p.status == LzwStatus::NoMemory) {  // only incompressible data overflow the buffer
            EXPECT_EQ(p.data.size(), 80000u);
            continue;
        }
        ASSERT_EQ(p.status, LzwStatus::Ok);
        if (p.data.size() > 65535) continue;  // packable, but beyond what can be unpacked
        Result u = unpack(p.data);
        ASSERT_EQ(u.status, LzwStatus::Ok) << "trial " << trial;
        EXPECT_EQ(u.data, in) << "trial " << trial;
    }
}

}  // namespace
