// Packing and unpacking speed of the codec, with zlib's deflate (level 1) and inflate on the same
// data in the same run for comparison.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "content/lzw.h"
#include "content/platform.h"

// The codec reports an allocation failure through the platform; the benchmark just prints it.
void platformMessageBox(const char* text, const char* caption) { fprintf(stderr, "%s: %s\n", caption, text); }
ResourceData platformResource(const char*, int) { return {false, nullptr, 0}; }
BrushHandle platformSolidBrush(uint32_t) { return nullptr; }

namespace {

using Bytes = std::vector<unsigned char>;

// 64 KB (65,535 bytes, the codec's block limit) of French words, one per line.
const Bytes& frenchText() {
    static Bytes text = [] {
        std::ifstream in(FRENCH_WORDS, std::ios::binary);
        std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (all.empty()) {
            fprintf(stderr, "cannot read %s (Debian package wfrench)\n", FRENCH_WORDS);
            exit(1);
        }
        // A stretch from the middle of the list: the start holds few accented words.
        size_t start = all.size() > 200000 ? all.find('\n', all.size() / 3) + 1 : 0;
        Bytes out(all.begin() + start, all.begin() + start + std::min<size_t>(65535, all.size() - start));
        return out;
    }();
    return text;
}

// Random bytes: the most that still pack into the 80,000-byte buffer (about 60 KB).
const Bytes& randomData() {
    static Bytes data = [] {
        std::mt19937 rng(1);
        Bytes out(58 * 1024);
        for (auto& b : out) b = static_cast<unsigned char>(rng());
        return out;
    }();
    return data;
}

// Random bytes whose packed stream still fits the 65,535 bytes the unpacker reads.
const Bytes& randomForUnpacking() {
    static Bytes data(randomData().begin(), randomData().begin() + 47 * 1024);
    return data;
}

// 0: French text, 1: random bytes for packing, 2: random bytes for unpacking.
const Bytes& dataFor(int which) {
    return which == 0 ? frenchText() : which == 1 ? randomData() : randomForUnpacking();
}
const char* nameFor(int which) { return which == 0 ? "french 64K" : which == 1 ? "random 58K" : "random 47K"; }

void lzwPack(benchmark::State& state) {
    const Bytes& in = dataFor(static_cast<int>(state.range(0)));
    state.SetLabel(nameFor(static_cast<int>(state.range(0))));
    int32_t packedLength = 0;
    for (auto _ : state) {
        unsigned char* out = nullptr;
        if (lzwEncode(in.data(), static_cast<int32_t>(in.size()), &out, &packedLength) != LzwStatus::Ok) {
            state.SkipWithError("lzwEncode failed");
            free(out);
            return;
        }
        benchmark::DoNotOptimize(out);
        free(out);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * in.size()));
    state.counters["ratio"] = static_cast<double>(packedLength) / in.size();
}

void lzwUnpack(benchmark::State& state) {
    const Bytes& in = dataFor(static_cast<int>(state.range(0)));
    state.SetLabel(nameFor(static_cast<int>(state.range(0))));
    unsigned char* packed = nullptr;
    int32_t packedLength = 0;
    if (lzwEncode(in.data(), static_cast<int32_t>(in.size()), &packed, &packedLength) != LzwStatus::Ok ||
        packedLength > LZW_MAX_INPUT) {
        state.SkipWithError("cannot prepare the packed stream");
        free(packed);
        return;
    }
    for (auto _ : state) {
        unsigned char* out = nullptr;
        int32_t outLength = 0;
        if (lzwDecode(packed, packedLength, &out, &outLength) != LzwStatus::Ok) {
            state.SkipWithError("lzwDecode failed");
        }
        benchmark::DoNotOptimize(out);
        free(out);
    }
    free(packed);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * in.size()));
}

void zlibDeflate1(benchmark::State& state) {
    const Bytes& in = dataFor(static_cast<int>(state.range(0)));
    state.SetLabel(nameFor(static_cast<int>(state.range(0))));
    Bytes out(compressBound(in.size()));
    uLongf outLength = 0;
    for (auto _ : state) {
        outLength = out.size();
        compress2(out.data(), &outLength, in.data(), in.size(), 1);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * in.size()));
    state.counters["ratio"] = static_cast<double>(outLength) / in.size();
}

void zlibInflate(benchmark::State& state) {
    const Bytes& in = dataFor(static_cast<int>(state.range(0)));
    state.SetLabel(nameFor(static_cast<int>(state.range(0))));
    Bytes packed(compressBound(in.size()));
    uLongf packedLength = packed.size();
    compress2(packed.data(), &packedLength, in.data(), in.size(), 1);
    Bytes out(in.size());
    for (auto _ : state) {
        uLongf outLength = out.size();
        uncompress(out.data(), &outLength, packed.data(), packedLength);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * in.size()));
}

}  // namespace

BENCHMARK(lzwPack)->Arg(0)->Arg(1);
BENCHMARK(zlibDeflate1)->Arg(0)->Arg(1);
BENCHMARK(lzwUnpack)->Arg(0)->Arg(2);
BENCHMARK(zlibInflate)->Arg(0)->Arg(2);

BENCHMARK_MAIN();
