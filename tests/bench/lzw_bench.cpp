// The codec's packing and unpacking speed against zlib on the same inputs in the same run: raw
// deflate at levels 1 and 6 for packing, raw inflate for unpacking (no zlib checksum on either side).
// Names are operation/input/contender; run with --benchmark_enable_random_interleaving so that the
// contenders take turns, and bench_table.py turns the JSON output into the table of docs/benchmark.md.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "content/lzw.h"
#include "tests/bench/bench_inputs.h"

namespace {

// Random bytes need a smaller block for unpacking than for packing (see randomBytes).
struct Input {
    const char* name;
    Bytes forPacking;
    Bytes forUnpacking;
};

// The codec's own stream of an input; empty when the codec refuses it.
Bytes lzwPacked(const Bytes& in) {
    unsigned char* out = nullptr;
    int32_t length = 0;
    Bytes packed;
    if (lzwEncode(in.data(), static_cast<int32_t>(in.size()), &out, &length) == LzwStatus::Ok)
        packed.assign(out, out + length);
    free(out);
    return packed;
}

void trivoPack(benchmark::State& state, const Bytes& in) {
    int32_t length = 0;
    for (auto _ : state) {
        unsigned char* out = nullptr;
        LzwStatus status = lzwEncode(in.data(), static_cast<int32_t>(in.size()), &out, &length);
        benchmark::DoNotOptimize(out);
        free(out);
        if (status != LzwStatus::Ok) {
            state.SkipWithError("lzwEncode failed");
            return;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * in.size()));
    state.counters["packed"] = static_cast<double>(length) / in.size();
}

void trivoUnpack(benchmark::State& state, const Bytes& in) {
    Bytes packed = lzwPacked(in);
    if (packed.empty() || packed.size() > static_cast<size_t>(LZW_MAX_INPUT)) {
        state.SkipWithError("the codec cannot pack this input for unpacking");
        return;
    }
    for (auto _ : state) {
        unsigned char* out = nullptr;
        int32_t length = 0;
        LzwStatus status = lzwDecode(packed.data(), static_cast<int32_t>(packed.size()), &out, &length);
        benchmark::DoNotOptimize(out);
        bool same = status == LzwStatus::Ok && static_cast<size_t>(length) == in.size() &&
                    memcmp(out, in.data(), in.size()) == 0;
        free(out);
        if (!same) {
            state.SkipWithError("lzwDecode failed");
            return;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * in.size()));
}

void zlibDeflate(benchmark::State& state, const Bytes& in, int level) {
    Deflater deflater(level);
    Bytes out;
    size_t length = 0;
    for (auto _ : state) {
        length = deflater.pack(in, out);
        benchmark::DoNotOptimize(out.data());
    }
    if (length == 0) state.SkipWithError("deflate failed");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * in.size()));
    state.counters["packed"] = static_cast<double>(length) / in.size();
}

void zlibInflate(benchmark::State& state, const Bytes& in) {
    Deflater deflater(1);
    Bytes packed;
    packed.resize(deflater.pack(in, packed));
    Inflater inflater;
    Bytes out(in.size());
    for (auto _ : state) {
        if (inflater.unpack(packed, out) != in.size()) {
            state.SkipWithError("inflate failed");
            return;
        }
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * in.size()));
}

void registerAll() {
    // Inputs live for the whole run: the benchmarks refer to them.
    static const Input inputs[] = {
        {"prose", benchInput("prose"), benchInput("prose")},
        {"quiz", benchInput("quiz"), benchInput("quiz")},
        {"words", benchInput("words"), benchInput("words")},
        {"random", randomBytes(58 * 1024), randomBytes(47 * 1024)},
    };
    for (const Input& input : inputs) {
        std::string pack = std::string("pack/") + input.name + "/";
        benchmark::RegisterBenchmark((pack + "Trivo").c_str(), trivoPack, input.forPacking);
        benchmark::RegisterBenchmark((pack + "deflate-1").c_str(), zlibDeflate, input.forPacking, 1);
        benchmark::RegisterBenchmark((pack + "deflate-6").c_str(), zlibDeflate, input.forPacking, 6);
        std::string unpack = std::string("unpack/") + input.name + "/";
        benchmark::RegisterBenchmark((unpack + "Trivo").c_str(), trivoUnpack, input.forUnpacking);
        benchmark::RegisterBenchmark((unpack + "inflate").c_str(), zlibInflate, input.forUnpacking);
    }
    // One call for a full 90-question quiz: what the player spends on its content at start.
    static const Bytes quiz90 = benchInput("quiz90");
    benchmark::RegisterBenchmark("unpack/quiz90/Trivo", trivoUnpack, quiz90)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("unpack/quiz90/inflate", zlibInflate, quiz90)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("pack/quiz90/Trivo", trivoPack, quiz90)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("pack/quiz90/deflate-1", zlibDeflate, quiz90, 1)->Unit(benchmark::kMicrosecond);
}

}  // namespace

int main(int argc, char** argv) {
    registerAll();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
