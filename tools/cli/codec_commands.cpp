// Packing and unpacking a file with the player's LZW codec.
#include "tools/cli/codec_commands.h"

#include <cstdlib>
#include <ostream>

#include "content/lzw.h"
#include "tools/cli/commands.h"
#include "tools/cli/help_texts.h"
#include "tools/support/files.h"
#include "tools/support/text.h"
#include "tools/support/translation.h"

namespace {

int runCodecCommand(const char* command, bool packing, const Args& args, std::istream& in, std::ostream& out,
                    std::ostream& err) {
    const std::string prefix = std::string("trivo-make ") + command;
    if (args.size() == 1 && isHelpOption(args[0])) {
        out << tr(packing ? PACK_HELP : UNPACK_HELP);
        return TOOL_EXIT_OK;
    }
    if (args.size() != 2) {
        usageError(err, prefix, needsArguments(tr("IN and OUT"), args.size()));
        return TOOL_EXIT_USAGE;
    }
    std::vector<unsigned char> input;
    std::string error;
    if (!readInputFile(args[0], in, TOOL_MAX_FILE_BYTES,
                       fillIn(tr("; the codec takes at most {1} bytes"), LZW_MAX_INPUT), &input, &error)) {
        err << prefixed(prefix, error) << "\n";
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
        // The status is the codec's own name for it, in every language.
        std::string message = packing ? lzwStatusName(status)
                                      : fillIn(ntr("{1} after {2} byte", "{1} after {2} bytes", outputLength),
                                               lzwStatusName(status), outputLength);
        if (inputLength > LZW_MAX_INPUT) {
            message = fillIn(tr("{1} ({2} has {3} bytes; the codec takes at most {4})"), message,
                             args[0] == "-" ? tr("standard input") : quotedText(args[0]), inputLength, LZW_MAX_INPUT);
        }
        err << prefixed(prefix, message) << "\n";
        return TOOL_EXIT_FAILED;
    }
    const bool written = writeOutputFile(args[1], output, static_cast<std::size_t>(outputLength), out, &error);
    std::free(output);
    if (!written) {
        err << prefixed(prefix, error) << "\n";
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
