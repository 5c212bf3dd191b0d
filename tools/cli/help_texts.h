// The help texts that 'trivo-make --help' and 'trivo-make COMMAND --help' print on standard output.
#pragma once

extern const char* const TOOL_HELP;
extern const char* const NEW_HELP;
extern const char* const CHECK_HELP;
extern const char* const PLAY_HELP;
extern const char* const BUILD_HELP;
extern const char* const DUMP_HELP;
extern const char* const PACK_HELP;
extern const char* const UNPACK_HELP;
extern const char* const JUDGE_HELP;
extern const char* const STUDIO_HELP;
