#include "tests/bench/bench_inputs.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>

#include "content/platform.h"

// The codec reports an allocation failure through the platform; here it is just printed.
void platformMessageBox(const char* text, const char* caption) { fprintf(stderr, "%s: %s\n", caption, text); }
ResourceData platformResource(const char*, int) { return {false, nullptr, 0}; }
BrushHandle platformSolidBrush(uint32_t) { return nullptr; }

Bytes benchInput(const std::string& name) {
    std::string path = std::string(BENCH_INPUT_DIR) + "/" + name + ".txt";
    std::ifstream in(path, std::ios::binary);
    Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.empty()) {
        fprintf(stderr, "cannot read %s (made by tests/bench/make_inputs.py when the benchmark is built)\n",
                path.c_str());
        exit(1);
    }
    return bytes;
}

std::vector<Bytes> fullQuizzes() {
    std::vector<Bytes> quizzes;
    for (int k = 1; k <= 8; ++k) quizzes.push_back(benchInput("quiz90-" + std::to_string(k)));
    return quizzes;
}

Bytes randomBytes(size_t size) {
    std::mt19937 rng(1);
    Bytes out(size);
    for (auto& b : out) b = static_cast<unsigned char>(rng());
    return out;
}

Deflater::Deflater(int level) {
    if (deflateInit2(&stream, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) abort();
}
Deflater::~Deflater() { deflateEnd(&stream); }

size_t Deflater::pack(const Bytes& in, Bytes& out) {
    out.resize(deflateBound(&stream, in.size()));
    deflateReset(&stream);
    stream.next_in = const_cast<unsigned char*>(in.data());
    stream.avail_in = static_cast<uInt>(in.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    return deflate(&stream, Z_FINISH) == Z_STREAM_END ? stream.total_out : 0;
}

Inflater::Inflater() {
    if (inflateInit2(&stream, -15) != Z_OK) abort();
}
Inflater::~Inflater() { inflateEnd(&stream); }

size_t Inflater::unpack(const Bytes& packed, Bytes& out) {
    inflateReset(&stream);
    stream.next_in = const_cast<unsigned char*>(packed.data());
    stream.avail_in = static_cast<uInt>(packed.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    return inflate(&stream, Z_FINISH) == Z_STREAM_END ? stream.total_out : 0;
}
