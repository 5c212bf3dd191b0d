// Runs one packing or unpacking call on one benchmark input, for counting instructions with callgrind
// (count_instructions.sh collects only inside the call itself: lzwEncode, lzwDecode, deflate, inflate).
// Usage: lzw_count pack|unpack|deflate-1|deflate-6|inflate prose|quiz|quiz90|words|random
#include <cstdio>
#include <cstdlib>
#include <string>

#include "content/lzw.h"
#include "tests/bench/bench_inputs.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: lzw_count pack|unpack|deflate-1|deflate-6|inflate INPUT\n");
        return 2;
    }
    std::string op = argv[1];
    std::string name = argv[2];
    bool unpacking = op == "unpack" || op == "inflate";
    Bytes in = name == "random" ? randomBytes(unpacking ? 47 * 1024 : 58 * 1024)
             : name == "quiz90" ? fullQuizzes()[0] : benchInput(name);

    unsigned char* out = nullptr;
    int32_t length = 0;
    bool ok = false;
    if (op == "pack" || op == "unpack") {
        ok = lzwEncode(in.data(), static_cast<int32_t>(in.size()), &out, &length) == LzwStatus::Ok;
        if (ok && op == "unpack") {
            unsigned char* back = nullptr;
            ok = lzwDecode(out, length, &back, &length) == LzwStatus::Ok && static_cast<size_t>(length) == in.size();
            free(back);
        }
        free(out);
    } else if (op == "deflate-1" || op == "deflate-6") {
        Deflater deflater(op == "deflate-1" ? 1 : 6);
        Bytes packed;
        ok = deflater.pack(in, packed) > 0;
    } else if (op == "inflate") {
        Deflater deflater(1);
        Bytes packed;
        packed.resize(deflater.pack(in, packed));
        Inflater inflater;
        Bytes back(in.size());
        ok = inflater.unpack(packed, back) == in.size();
    } else {
        fprintf(stderr, "lzw_count: unknown operation %s\n", op.c_str());
        return 2;
    }
    printf("%s %s %zu bytes %s\n", op.c_str(), name.c_str(), in.size(), ok ? "ok" : "FAILED");
    return ok ? 0 : 1;
}
