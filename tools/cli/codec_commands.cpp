// Packing and unpacking a file with the player's LZW codec.
#include "tools/cli/codec_commands.h"

#include <cstdlib>
#include <ostream>

#include "content/lzw.h"
#include "tools/cli/commands.h"
#include "tools/cli/help_texts.h"
#include "tools/support/files.h"
#include "tools/support/text.h"

namespace {

int runCodecCommand(const char* command, bool packing, const Args& args, std::istream& in, std::ostream& out,
                    std::ostream& err) {
    const std::string prefix = std::string("trivo-make ") + command;
    if (args.size() == 1 && isHelpOption(args[0])) {
        out << (packing ? PACK_HELP : UNPACK_HELP);
        return TOOL_EXIT_OK;
    }
    if (args.size() != 2) {
        usageError(err, prefix, "needs IN and OUT, got " + plural(args.size(), "argument"));
        return TOOL_EXIT_USAGE;
    }
    std::vector<unsigned char> input;
    std::string error;
    if (!readInputFile(args[0], in, TOOL_MAX_FILE_BYTES,
                       "; the codec takes at most " + std::to_string(LZW_MAX_INPUT) + " bytes", &input, &error)) {
        err << prefix << ": " << error << "\n";
        return TOOL_EXIT_FAILED;
    }
    // The codec checks the length itself (NoInput, NoMemory); it only needs a valid pointer.
    static const unsigned char noBytes[1] = {0};
    const unsigned char* inputBytes = input.empty() ? noBytes : input.data();
    const int32_t inputLength = static_cast<int32_t>(input.size());
    unsigned char* output = nullptr;
    int32_t outputLength = 0;
    const LzwStatus status = packing ? lzwEncode(inputBytes, inputLength, &output, &outputLength)
                                     : lzwDecode(inputBytes, inputLength, &output, &outputLength);
    if (status != LzwStatus::Ok) {
        std::free(output);
        err << prefix << ": " << lzwStatusName(status);
        if (!packing) err << " after " << plural(outputLength, "byte");
        if (inputLength > LZW_MAX_INPUT) {
            err << " (" << (args[0] == "-" ? "standard input" : quotedText(args[0])) << " has " << inputLength
                << " bytes; the codec takes at most " << LZW_MAX_INPUT << ")";
        }
        err << "\n";
        return TOOL_EXIT_FAILED;
    }
    const bool written = writeOutputFile(args[1], output, static_cast<std::size_t>(outputLength), out, &error);
    std::free(output);
    if (!written) {
        err << prefix << ": " << error << "\n";
        return TOOL_EXIT_FAILED;
    }
    return TOOL_EXIT_OK;
}

}  // namespace

int runPack(const Args& args, std::istream& in, std::ostream& out, std::ostream& err) {
    return runCodecCommand("pack", true, args, in, out, err);
}

int runUnpack(const Args& args, std::istream& in, std::ostream& out, std::ostream& err) {
    return runCodecCommand("unpack", false, args, in, out, err);
}
