// The codec's packing and unpacking speed against zlib on the same inputs in the same run: raw
// deflate at levels 1 and 6 for packing, raw inflate for unpacking (no zlib checksum on either side).
// Names are operation/input/contender; run with --benchmark_enable_random_interleaving so that the
// contenders take turns, and bench_table.py turns the JSON output into the table of docs/benchmark.md.
// A benchmark over several inputs takes them in turn, one per call.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "content/lzw.h"
#include "tests/bench/bench_inputs.h"

namespace {

using Inputs = std::vector<Bytes>;

size_t totalSize(const Inputs& inputs) {
    size_t total = 0;
    for (const Bytes& in : inputs) total += in.size();
    return total;
}

// Bytes handed over by the iterations so far, the inputs being taken in turn.
int64_t bytesProcessed(const benchmark::State& state, const Inputs& inputs) {
    int64_t rounds = static_cast<int64_t>(state.iterations() / inputs.size());
    int64_t bytes = rounds * static_cast<int64_t>(totalSize(inputs));
    for (size_t k = 0; k < state.iterations() % inputs.size(); ++k) bytes += static_cast<int64_t>(inputs[k].size());
    return bytes;
}

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

void trivoPack(benchmark::State& state, const Inputs& inputs) {
    size_t next = 0;
    size_t packedBytes = 0;
    for (auto _ : state) {
        const Bytes& in = inputs[next];
        next = (next + 1) % inputs.size();
        unsigned char* out = nullptr;
        int32_t length = 0;
        LzwStatus status = lzwEncode(in.data(), static_cast<int32_t>(in.size()), &out, &length);
        benchmark::DoNotOptimize(out);
        free(out);
        if (status != LzwStatus::Ok) {
            state.SkipWithError("lzwEncode failed");
            return;
        }
        packedBytes += static_cast<size_t>(length);
    }
    state.SetBytesProcessed(bytesProcessed(state, inputs));
    state.counters["packed"] = static_cast<double>(packedBytes) / static_cast<double>(bytesProcessed(state, inputs));
}

void trivoUnpack(benchmark::State& state, const Inputs& inputs) {
    Inputs packed;
    for (const Bytes& in : inputs) {
        packed.push_back(lzwPacked(in));
        if (packed.back().empty() || packed.back().size() > static_cast<size_t>(LZW_MAX_INPUT)) {
            state.SkipWithError("the codec cannot pack this input for unpacking");
            return;
        }
    }
    size_t next = 0;
    for (auto _ : state) {
        const Bytes& stream = packed[next];
        const Bytes& in = inputs[next];
        next = (next + 1) % inputs.size();
        unsigned char* out = nullptr;
        int32_t length = 0;
        LzwStatus status = lzwDecode(stream.data(), static_cast<int32_t>(stream.size()), &out, &length);
        benchmark::DoNotOptimize(out);
        bool same = status == LzwStatus::Ok && static_cast<size_t>(length) == in.size() &&
                    memcmp(out, in.data(), in.size()) == 0;
        free(out);
        if (!same) {
            state.SkipWithError("lzwDecode failed");
            return;
        }
    }
    state.SetBytesProcessed(bytesProcessed(state, inputs));
}

void zlibDeflate(benchmark::State& state, const Inputs& inputs, int level) {
    Deflater deflater(level);
    Bytes out;
    size_t next = 0;
    size_t packedBytes = 0;
    for (auto _ : state) {
        const Bytes& in = inputs[next];
        next = (next + 1) % inputs.size();
        size_t length = deflater.pack(in, out);
        benchmark::DoNotOptimize(out.data());
        if (length == 0) {
            state.SkipWithError("deflate failed");
            return;
        }
        packedBytes += length;
    }
    state.SetBytesProcessed(bytesProcessed(state, inputs));
    state.counters["packed"] = static_cast<double>(packedBytes) / static_cast<double>(bytesProcessed(state, inputs));
}

void zlibInflate(benchmark::State& state, const Inputs& inputs) {
    Deflater deflater(1);
    Inputs packed;
    for (const Bytes& in : inputs) {
        packed.emplace_back();
        packed.back().resize(deflater.pack(in, packed.back()));
    }
    Inflater inflater;
    Bytes out(65536);
    size_t next = 0;
    for (auto _ : state) {
        const Bytes& stream = packed[next];
        size_t expected = inputs[next].size();
        next = (next + 1) % inputs.size();
        if (inflater.unpack(stream, out) != expected) {
            state.SkipWithError("inflate failed");
            return;
        }
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(bytesProcessed(state, inputs));
}

void registerAll() {
    struct Input {
        const char* name;
        Inputs forPacking;
        Inputs forUnpacking;  // random bytes need a smaller block for unpacking (see randomBytes)
    };
    // Inputs live for the whole run: the benchmarks refer to them.
    static const Input inputs[] = {
        {"prose", {benchInput("prose")}, {benchInput("prose")}},
        {"quiz", {benchInput("quiz")}, {benchInput("quiz")}},
        {"words", {benchInput("words")}, {benchInput("words")}},
        {"random", {randomBytes(58 * 1024)}, {randomBytes(47 * 1024)}},
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
    // One call for a full 90-question quiz, what the player spends on its content at start: eight
    // different quizzes in turn, since one call repeated on the same bytes would let the branch
    // predictor learn them, which no real start-up enjoys.
    static const Inputs quizzes = fullQuizzes();
    benchmark::RegisterBenchmark("unpack/quiz90/Trivo", trivoUnpack, quizzes)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("unpack/quiz90/inflate", zlibInflate, quizzes)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("pack/quiz90/Trivo", trivoPack, quizzes)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("pack/quiz90/deflate-1", zlibDeflate, quizzes, 1)->Unit(benchmark::kMicrosecond);
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
