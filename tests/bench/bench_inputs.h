// The benchmark's inputs and the zlib contenders, shared by the timing benchmark and the
// instruction-count driver.
#pragma once
#include <zlib.h>

#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

// A file made by make_inputs.py in the build tree (prose, quiz, words, quiz90-1 to quiz90-8); exits
// with a message when it cannot be read.
Bytes benchInput(const std::string& name);

// The eight different 90-question quiz records.
std::vector<Bytes> fullQuizzes();

// Random bytes: 58 KiB, the most that still pack into the codec's 80,000-byte buffer, or 47 KiB, the
// most whose packed form the unpacker can still read (65,535 bytes).
Bytes randomBytes(size_t size);

// Raw deflate streams (no zlib header, no checksum), each set up once and reset between calls: zlib's
// fastest use for a run of blocks.
struct Deflater {
    z_stream stream{};
    explicit Deflater(int level);
    ~Deflater();
    // Packs the whole input into out (resized to the bound first); returns the packed size, or 0.
    size_t pack(const Bytes& in, Bytes& out);
};

struct Inflater {
    z_stream stream{};
    Inflater();
    ~Inflater();
    // Unpacks a whole raw deflate stream into out, which must be large enough; returns the size, or 0.
    size_t unpack(const Bytes& packed, Bytes& out);
};
